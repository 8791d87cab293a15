#include "components/discbay/udisks_client.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>
#include <QVariantMap>

#include <utility>

namespace {
const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kManager = QStringLiteral("/org/freedesktop/UDisks2/Manager");
const QString kManagerInterface = QStringLiteral("org.freedesktop.UDisks2.Manager");
const QString kBlockInterface = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystemInterface = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kDriveInterface = QStringLiteral("org.freedesktop.UDisks2.Drive");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kNotMounted = QStringLiteral("org.freedesktop.UDisks2.Error.NotMounted");

using Link = UdisksClient::Link;
using Answer = std::function<void(const QDBusMessage&)>;
using Done = std::function<void(UdisksResult)>;

// No password prompt from a player: a request the session may not make simply fails.
QVariantMap quietOptions()
{
    return {{QStringLiteral("auth.no_user_interaction"), true}};
}

QDBusMessage method(const QString& object, const QString& interface, const QString& name, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, object, interface, name);
    message.setArguments(arguments);
    return message;
}

// Sends a request; its answer (or the error that stands for none) comes on the event loop.
void ask(const Link& link, const QDBusMessage& message, Answer answer)
{
    auto* watcher = new QDBusPendingCallWatcher(link.bus.asyncCall(message, link.timeoutMs), link.context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, link.context,
                     [watcher, answer = std::move(answer)] {
                         watcher->deleteLater();
                         answer(watcher->reply());
                     });
}

// The service's object for the block device; nothing when there is no service or it does not
// know the device.
void resolve(const Link& link, const std::string& device, std::function<void(std::optional<QString>)> then)
{
    if (!link.bus.isConnected()) {
        QMetaObject::invokeMethod(link.context, [then = std::move(then)] { then(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    const QVariantMap byNode{{QStringLiteral("path"), QString::fromStdString(device)}};
    ask(link, method(kManager, kManagerInterface, QStringLiteral("ResolveDevice"), {byNode, QVariantMap()}),
        [then = std::move(then)](const QDBusMessage& answer) {
            const QDBusReply<QList<QDBusObjectPath>> reply(answer);
            if (!reply.isValid() || reply.value().isEmpty())
                then(std::nullopt);
            else
                then(reply.value().front().path());
        });
}

void ejectDrive(const Link& link, const QString& block, Done done)
{
    ask(link, method(block, kProperties, QStringLiteral("Get"), {kBlockInterface, QStringLiteral("Drive")}),
        [link, done = std::move(done)](const QDBusMessage& answer) {
            const QDBusReply<QDBusVariant> drive(answer);
            const QString path = drive.isValid() ? drive.value().variant().value<QDBusObjectPath>().path() : QString();
            if (path.isEmpty() || path == QStringLiteral("/"))
                return done(UdisksResult::Failed);
            ask(link, method(path, kDriveInterface, QStringLiteral("Eject"), {quietOptions()}),
                [done](const QDBusMessage& ejected) {
                    done(ejected.type() == QDBusMessage::ErrorMessage ? UdisksResult::Failed : UdisksResult::Done);
                });
        });
}
}  // namespace

UdisksClient::UdisksClient(QDBusConnection bus, int timeoutMs)
    : context_(std::make_unique<QObject>()), link_(std::make_unique<Link>(Link{std::move(bus), timeoutMs, nullptr}))
{
    link_->context = context_.get();
}

UdisksClient::~UdisksClient() = default;
UdisksClient::UdisksClient(UdisksClient&&) noexcept = default;
UdisksClient& UdisksClient::operator=(UdisksClient&&) noexcept = default;

void UdisksClient::unmountAndEject(const std::string& device, std::function<void(UdisksResult)> done)
{
    const Link link = *link_;
    resolve(link, device, [link, done = std::move(done)](std::optional<QString> block) {
        if (!block)
            return done(UdisksResult::Unavailable);
        ask(link, method(*block, kFilesystemInterface, QStringLiteral("Unmount"), {quietOptions()}),
            [link, block = *block, done](const QDBusMessage& unmounted) {
                if (unmounted.type() == QDBusMessage::ErrorMessage && unmounted.errorName() != kNotMounted)
                    return done(UdisksResult::Failed);
                ejectDrive(link, block, done);
            });
    });
}

void UdisksClient::requestMount(const std::string& device)
{
    const Link link = *link_;
    resolve(link, device, [link](std::optional<QString> block) {
        if (block)
            link.bus.send(method(*block, kFilesystemInterface, QStringLiteral("Mount"), {quietOptions()}));
    });
}
