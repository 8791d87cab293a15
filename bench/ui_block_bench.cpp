// How long the UI thread stands still while a disc is ejected, inserted and a track changes,
// with a stand-in disk service that answers every request after a delay. A 1 ms heartbeat
// timer runs on the UI thread; the longest gap between its beats is the longest block.
//
//   quintara_bench_ui_block [IMAGE.cue]   (the tests leave one under build/test-media/)
//
// Needs dbus-daemon. The track change opens the image's first and second tracks in the media
// engine, offscreen.
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <clocale>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_window.h"
#include "bench/heartbeat.h"
#include "bench/open_and_wait.h"
#include "components/discbay/discbay_core.h"
#include "components/discbay/kernel_drive_hardware.h"
#include "components/reelkit/mpv_engine.h"
#include "core/ini_file.h"
#include "core/message.h"

namespace {
constexpr int kAnswerDelayMs = 3000;
const QString kBlock = QStringLiteral("/org/freedesktop/UDisks2/block_devices/sr0");
const QString kDrive = QStringLiteral("/org/freedesktop/UDisks2/drives/Bench_Drive");

// Knows /dev/sr0; answers from its own thread after the delay. Unmount and Mount change
// whether the disc is mounted.
class SlowUdisks : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QThread::msleep(kAnswerDelayMs);
        const QString member = message.member();
        QDBusMessage reply = message.createReply();
        if (member == "ResolveDevice")
            reply = message.createReply(QVariant::fromValue(QList<QDBusObjectPath>{QDBusObjectPath(kBlock)}));
        else if (member == "Get")
            reply = message.createReply(QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusObjectPath(kDrive)))));
        else if (member == "Unmount")
            mounted = false;
        else if (member == "Mount")
            mounted = true;
        connection.send(reply);
        if (qEnvironmentVariableIsSet("BENCH_TRACE"))
            std::fprintf(stderr, "answered %s\n", qPrintable(member));
        return true;
    }
    std::atomic<bool> mounted = true;
};


void report(const char* what, qint64 longestMs, bool finished)
{
    std::printf("%-14s longest UI block %4lld ms%s\n", what, static_cast<long long>(longestMs),
                finished ? "" : "  (did not finish)");
}

void trackChange(Heartbeat& heart, const char* image)
{
    BenchWindow picture;
    picture.resize(352, 240);
    MpvEngine engine;
    if (!engine.init(1)) {
        std::printf("track change: no media engine\n");
        return;
    }
    const std::string first = std::string(image) + "/MPEGAV/AVSEQ01.DAT";
    const std::string second = std::string(image) + "/MPEGAV/AVSEQ02.DAT";
    bool opened = OpenAndWait(engine, &picture, first) && engine.play();
    const qint64 longest = heart.measure([&] { opened = opened && engine.close() && OpenAndWait(engine, &picture, second); },
                                         [] { return true; }, 0);
    std::printf("track change: %s\n", opened ? "opened" : "failed");
    report("track change", longest, opened);
    engine.deInit();
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    QTemporaryDir dir;
    if (daemon.isEmpty() || !dir.isValid()) {
        std::fprintf(stderr, "needs dbus-daemon and a temporary folder\n");
        return 1;
    }
    QProcess bus;
    bus.start(daemon, {"--session", "--nofork", "--print-address", "--address=unix:path=" + dir.filePath("bus")});
    while (bus.waitForReadyRead(10000) && !bus.canReadLine()) {
    }
    const QString address = QString::fromUtf8(bus.readLine()).trimmed();
    QDBusConnection service = QDBusConnection::connectToBus(address, QStringLiteral("slow-udisks"));
    SlowUdisks udisks;
    QThread serviceThread;
    service.registerVirtualObject(QStringLiteral("/org/freedesktop/UDisks2"), &udisks, QDBusConnection::SubPath);
    udisks.moveToThread(&serviceThread);
    serviceThread.start();
    service.registerService(QStringLiteral("org.freedesktop.UDisks2"));

    const std::string mountFolder = dir.filePath("cdrom").toStdString();
    QDir().mkpath(QString::fromStdString(mountFolder + "/MPEGAV"));
    BenchWindow window;
    struct StandInTable : DriveTableSource {
        const SlowUdisks& udisks;
        const std::string& mountFolder;
        StandInTable(const SlowUdisks& u, const std::string& m) : udisks(u), mountFolder(m) {}
        DriveTable current() override
        {
            std::vector<MountPoint> mounts;
            if (udisks.mounted)
                mounts.push_back({mountFolder, "iso9660", "/dev/sr0"});
            return DriveTable::build("/home/me", "me", {"/dev/sr0"}, mounts, IniFile::parse(""));
        }
    } table(udisks, mountFolder);
    DiscbayCore drives(
        std::make_unique<KernelDriveHardware>(UdisksClient(QDBusConnection::connectToBus(address, "player"), 5000)),
        table);
    drives.init(&window, msg::DiscEvent);
    std::printf("stand-in disk service answering after %d ms\n", kAnswerDelayMs);
    Heartbeat heart;
    const auto posted = [&] { return !window.posted.empty(); };

    const qint64 eject = heart.measure([&] { drives.openCDRomDoor(3, 1); }, posted, 30000);
    report("eject", eject, heart.finished);
    window.posted.clear();
    const qint64 insertion = heart.measure([&] { drives.mediumChanged({"/dev/sr0", true, "iso9660", "filesystem"}); },
                                           [&] {
                                               // The mount table's notice, as the watchers give it.
                                               if (udisks.mounted)
                                                   drives.rescan();
                                               return posted();
                                           },
                                           30000);
    report("insertion", insertion, heart.finished);
    if (argc > 1)
        trackChange(heart, argv[1]);

    drives.deInit(&window);
    serviceThread.quit();
    serviceThread.wait();
    bus.kill();
    bus.waitForFinished();
    return 0;
}
