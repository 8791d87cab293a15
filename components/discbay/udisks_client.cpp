#include "components/discbay/udisks_client.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QVariantMap>

namespace {
const QString kService = QStringLiteral("org.freedesktop.UDisks2");
const QString kManager = QStringLiteral("/org/freedesktop/UDisks2/Manager");
const QString kManagerInterface = QStringLiteral("org.freedesktop.UDisks2.Manager");
const QString kBlockInterface = QStringLiteral("org.freedesktop.UDisks2.Block");
const QString kFilesystemInterface = QStringLiteral("org.freedesktop.UDisks2.Filesystem");
const QString kDriveInterface = QStringLiteral("org.freedesktop.UDisks2.Drive");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kNotMounted = QStringLiteral("org.freedesktop.UDisks2.Error.NotMounted");

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
}  // namespace

UdisksClient::UdisksClient(QDBusConnection bus, int timeoutMs) : bus_(std::move(bus)), timeoutMs_(timeoutMs) {}

QDBusMessage UdisksClient::call(const QDBusMessage& message)
{
    return bus_.call(message, QDBus::Block, timeoutMs_);
}

std::optional<QString> UdisksClient::blockObject(const std::string& device)
{
    if (!bus_.isConnected())
        return std::nullopt;
    const QVariantMap byNode{{QStringLiteral("path"), QString::fromStdString(device)}};
    const QDBusReply<QList<QDBusObjectPath>> reply =
        call(method(kManager, kManagerInterface, QStringLiteral("ResolveDevice"), {byNode, QVariantMap()}));
    if (!reply.isValid() || reply.value().isEmpty())
        return std::nullopt;
    return reply.value().front().path();
}

UdisksResult UdisksClient::unmountAndEject(const std::string& device)
{
    const std::optional<QString> block = blockObject(device);
    if (!block)
        return UdisksResult::Unavailable;
    const QDBusMessage unmounted =
        call(method(*block, kFilesystemInterface, QStringLiteral("Unmount"), {quietOptions()}));
    if (unmounted.type() == QDBusMessage::ErrorMessage && unmounted.errorName() != kNotMounted)
        return UdisksResult::Failed;
    const QDBusReply<QDBusVariant> drive =
        call(method(*block, kProperties, QStringLiteral("Get"), {kBlockInterface, QStringLiteral("Drive")}));
    if (!drive.isValid())
        return UdisksResult::Failed;
    const QString drivePath = drive.value().variant().value<QDBusObjectPath>().path();
    if (drivePath.isEmpty() || drivePath == QStringLiteral("/"))
        return UdisksResult::Failed;
    const QDBusMessage ejected = call(method(drivePath, kDriveInterface, QStringLiteral("Eject"), {quietOptions()}));
    return ejected.type() == QDBusMessage::ErrorMessage ? UdisksResult::Failed : UdisksResult::Done;
}

void UdisksClient::requestMount(const std::string& device)
{
    if (const std::optional<QString> block = blockObject(device))
        bus_.send(method(*block, kFilesystemInterface, QStringLiteral("Mount"), {quietOptions()}));
}
