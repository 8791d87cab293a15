// The disk-service side of the drive layer against a stand-in service on a private message bus:
// the same requests udisks2 answers, answered from a thread of the test.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QProcess>
#include <QSemaphore>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/discbay/udisks_client.h"
#include "tests/support/temp_dir.h"

namespace {

const QString kBlock = QStringLiteral("/org/freedesktop/UDisks2/block_devices/sr0");
const QString kDrive = QStringLiteral("/org/freedesktop/UDisks2/drives/Scripted_Drive");

// Knows one device, /dev/sr0; notes each request as "member path" and whether it asked for
// no password prompt.
class StandInUdisks : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }

    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QString member = message.member();
        // A held service takes each request, then answers only when the test lets it.
        if (held)
            gate_.acquire();
        {
            QMutexLocker lock(&mutex_);
            calls_.push_back((member + " " + message.path()).toStdString());
            if (member == "Unmount" || member == "Eject" || member == "Mount")
                quiet_.push_back(qdbus_cast<QVariantMap>(message.arguments().value(0))
                                     .value(QStringLiteral("auth.no_user_interaction"))
                                     .toBool());
        }
        QDBusMessage reply;
        if (member == "ResolveDevice") {
            const QString device = qdbus_cast<QVariantMap>(message.arguments().value(0)).value("path").toString();
            QList<QDBusObjectPath> found;
            if (device == QStringLiteral("/dev/sr0"))
                found.push_back(QDBusObjectPath(kBlock));
            reply = message.createReply(QVariant::fromValue(found));
        } else if (member == "Get") {
            reply = message.createReply(QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusObjectPath(kDrive)))));
        } else if (member == "Unmount" && !unmountError.isEmpty()) {
            reply = message.createErrorReply(unmountError, QStringLiteral("refused"));
        } else if (member == "Eject" && ejectRefused) {
            reply = message.createErrorReply(QStringLiteral("org.freedesktop.UDisks2.Error.Failed"), QStringLiteral("stuck"));
        } else {
            reply = message.createReply();
        }
        connection.send(reply);
        if (member == "Mount")
            mounted_.release();
        return true;
    }

    std::vector<std::string> calls()
    {
        QMutexLocker lock(&mutex_);
        return calls_;
    }
    std::vector<bool> quiet()
    {
        QMutexLocker lock(&mutex_);
        return quiet_;
    }
    bool waitForMount() { return mounted_.tryAcquire(1, 10000); }
    void letAnswer(int requests) { gate_.release(requests); }

    // Set before a request only.
    QString unmountError;
    bool ejectRefused = false;
    std::atomic<bool> held = false;

private:
    QMutex mutex_;
    std::vector<std::string> calls_;
    std::vector<bool> quiet_;
    QSemaphore mounted_;
    QSemaphore gate_;
};

class UdisksOnAPrivateBus : public testing::Test {
protected:
    void SetUp() override
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            GTEST_SKIP() << "no dbus-daemon to run a private bus";
        bus_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address"),
                            QStringLiteral("--address=unix:path=") + QString::fromStdString(dir_.file("bus"))});
        ASSERT_TRUE(bus_.waitForStarted(10000));
        while (!bus_.canReadLine())
            ASSERT_TRUE(bus_.waitForReadyRead(10000)) << "the bus did not start";
        address_ = QString::fromUtf8(bus_.readLine()).trimmed();

        const QDBusConnection service = QDBusConnection::connectToBus(address_, QStringLiteral("stand-in-udisks"));
        ASSERT_TRUE(service.isConnected());
        QDBusConnection registering = service;
        ASSERT_TRUE(registering.registerVirtualObject(QStringLiteral("/org/freedesktop/UDisks2"), &udisks_,
                                                      QDBusConnection::SubPath));
        // The player's calls wait for their answers, so the service answers from a thread of its own.
        udisks_.moveToThread(&thread_);
        thread_.start();
        ASSERT_TRUE(registering.registerService(QStringLiteral("org.freedesktop.UDisks2")));
        client_ = std::make_unique<UdisksClient>(QDBusConnection::connectToBus(address_, QStringLiteral("player")), 5000);
    }

    void TearDown() override
    {
        client_.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("player"));
        QDBusConnection::disconnectFromBus(QStringLiteral("stand-in-udisks"));
        thread_.quit();
        thread_.wait();
        if (bus_.state() != QProcess::NotRunning) {
            bus_.kill();
            bus_.waitForFinished(10000);
        }
    }

    // Asks for the eject and lets the answer come; nothing when it does not come in 10 s.
    std::optional<UdisksResult> eject(const std::string& device)
    {
        std::optional<UdisksResult> result;
        client_->unmountAndEject(device, [&](UdisksResult answer) { result = answer; });
        for (QDeadlineTimer deadline(10000); !result && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return result;
    }

    TempDir dir_;
    QProcess bus_;
    QString address_;
    QThread thread_;
    StandInUdisks udisks_;
    std::unique_ptr<UdisksClient> client_;
};

TEST_F(UdisksOnAPrivateBus, AMountedDiscIsUnmountedThenItsDriveEjected)
{
    EXPECT_EQ(eject("/dev/sr0"), UdisksResult::Done);
    EXPECT_EQ(udisks_.calls(), (std::vector<std::string>{
                                   "ResolveDevice /org/freedesktop/UDisks2/Manager",
                                   "Unmount " + kBlock.toStdString(),
                                   "Get " + kBlock.toStdString(),
                                   "Eject " + kDrive.toStdString(),
                               }));
    EXPECT_EQ(udisks_.quiet(), (std::vector<bool>{true, true})) << "no password prompt";
}

TEST_F(UdisksOnAPrivateBus, WhatTheServiceRefusesFailsAndADeviceItDoesNotKnowIsTheKernels)
{
    struct Case {
        const char* device;
        QString unmountError;
        bool ejectRefused;
        UdisksResult result;
        size_t calls;
    };
    const Case cases[] = {
        {"/dev/sr0", QStringLiteral("org.freedesktop.UDisks2.Error.DeviceBusy"), false, UdisksResult::Failed, 2},
        {"/dev/sr0", QStringLiteral("org.freedesktop.UDisks2.Error.NotMounted"), false, UdisksResult::Done, 4},
        {"/dev/sr0", QString(), true, UdisksResult::Failed, 4},
        {"/dev/sr5", QString(), false, UdisksResult::Unavailable, 1},
    };
    size_t before = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.device + (" " + c.unmountError.toStdString()));
        udisks_.unmountError = c.unmountError;
        udisks_.ejectRefused = c.ejectRefused;
        EXPECT_EQ(eject(c.device), c.result);
        EXPECT_EQ(udisks_.calls().size() - before, c.calls);
        before = udisks_.calls().size();
    }
}

TEST_F(UdisksOnAPrivateBus, NothingWaitsForTheServiceAndItsLateAnswerEndsWithTheClient)
{
    udisks_.held = true;
    std::optional<UdisksResult> result;
    client_->unmountAndEject("/dev/sr0", [&](UdisksResult answer) { result = answer; });
    EXPECT_FALSE(result);
    // Each request of the eject is answered in turn, the next asked only then.
    udisks_.letAnswer(4);
    for (QDeadlineTimer deadline(10000); !result && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(result, UdisksResult::Done);
    EXPECT_EQ(udisks_.calls().size(), 4u);

    // A client gone before the answer hears nothing of it.
    result.reset();
    client_->unmountAndEject("/dev/sr0", [&](UdisksResult answer) { result = answer; });
    client_.reset();
    udisks_.letAnswer(1);
    for (QDeadlineTimer deadline(10000); udisks_.calls().size() < 5 && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(udisks_.calls().size(), 5u);
    for (int turn = 0; turn < 100; ++turn)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    EXPECT_FALSE(result);
}

TEST_F(UdisksOnAPrivateBus, AMountIsAskedForWithoutWaiting)
{
    client_->requestMount("/dev/sr0");
    for (QDeadlineTimer deadline(10000); udisks_.calls().size() < 2 && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(udisks_.waitForMount());
    EXPECT_EQ(udisks_.calls().back(), "Mount " + kBlock.toStdString());
    EXPECT_EQ(udisks_.quiet(), std::vector<bool>{true});
    // A device the service does not know is only looked up.
    client_->requestMount("/dev/sr5");
    client_->requestMount("/dev/sr0");
    for (QDeadlineTimer deadline(10000); udisks_.calls().size() < 5 && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_TRUE(udisks_.waitForMount());
    EXPECT_EQ(udisks_.calls(), (std::vector<std::string>{
                                   "ResolveDevice /org/freedesktop/UDisks2/Manager",
                                   "Mount " + kBlock.toStdString(),
                                   "ResolveDevice /org/freedesktop/UDisks2/Manager",
                                   "ResolveDevice /org/freedesktop/UDisks2/Manager",
                                   "Mount " + kBlock.toStdString(),
                               }));
}

}  // namespace
