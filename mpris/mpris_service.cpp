#include "mpris/mpris_service.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "audio/audio.h"
#include "mpris/mpris_player.h"
#include "mpris/mpris_root.h"

namespace {
const QString kConnection = "quintara-mpris";
const QString kName = "org.mpris.MediaPlayer2.quintara";
const QString kPath = "/org/mpris/MediaPlayer2";
constexpr uint32_t kDoNotQueue = 4;
constexpr uint32_t kPrimaryOwner = 1;
}  // namespace

std::unique_ptr<MprisService> MprisService::start(const MprisLinks& links)
{
    // Without an address libdbus would try to launch a bus of its own.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return nullptr;
    const QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnection);
    if (!bus.isConnected()) {
        QDBusConnection::disconnectFromBus(kConnection);
        return nullptr;
    }
    std::unique_ptr<MprisService> service(new MprisService(bus, links));
    if (!service->bus_.registerObject(kPath, service.get(), QDBusConnection::ExportAdaptors))
        return nullptr;
    service->requestName(kName, true);
    return service;
}

MprisService::MprisService(const QDBusConnection& bus, const MprisLinks& links)
    : bus_(bus), links_(links)
{
    new MprisRoot(*this);
    player_ = new MprisPlayer(*this);
    volume_ = links_.audio.ReadVolumeShare().value_or(0);
    sent_ = CurrentMprisValues(links_, volume_);
    lastPosition_ = links_.state.position;
}

MprisService::~MprisService()
{
    bus_.unregisterObject(kPath);
    // Closing the connection gives the name back at once.
    QDBusConnection::disconnectFromBus(kConnection);
}

void MprisService::requestName(const QString& name, bool fallBack)
{
    QDBusMessage request = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                          "org.freedesktop.DBus", "RequestName");
    request << name << kDoNotQueue;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(request), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, fallBack](QDBusPendingCallWatcher* done) {
        done->deleteLater();
        const QDBusPendingReply<uint32_t> reply = *done;
        if (fallBack && (reply.isError() || reply.value() != kPrimaryOwner))
            requestName(kName + ".instance" + QString::number(QCoreApplication::applicationPid()), false);
    });
}

void MprisService::heard(StatePart part)
{
    volumeHeard_ = volumeHeard_ || part == StatePart::Volume;
    timeHeard_ = timeHeard_ || part == StatePart::Time;
    if (flushQueued_)
        return;
    // The logic names each part as it goes; the signal goes out once the whole change is done.
    flushQueued_ = true;
    QMetaObject::invokeMethod(this, &MprisService::flush, Qt::QueuedConnection);
}

void MprisService::flush()
{
    flushQueued_ = false;
    if (!live())
        return;
    if (volumeHeard_)
        volume_ = links_.audio.ReadVolumeShare().value_or(volume_);
    const MprisValues now = CurrentMprisValues(links_, volume_);
    const QVariantMap changed = ChangedMprisProperties(sent_, now);
    sent_ = now;
    if (!changed.isEmpty()) {
        QDBusMessage signal =
            QDBusMessage::createSignal(kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
        signal << QString("org.mpris.MediaPlayer2.Player") << changed << QStringList();
        bus_.send(signal);
    }
    if (timeHeard_)
        signalJump();
    volumeHeard_ = timeHeard_ = false;
}

void MprisService::signalJump()
{
    // Clients run the position on by themselves while playing; anything else is a jump.
    const PlayerState& state = links_.state;
    const uint32_t before = lastPosition_;
    lastPosition_ = state.position;
    const bool onItsWay = state.status == engine_status::Playing && state.seekIdle && state.position >= before;
    if (state.position != before && !onItsWay)
        emit player_->Seeked(qlonglong(state.position) * 1000);
}

void MprisService::seeked(uint32_t positionMs)
{
    lastPosition_ = positionMs;
    emit player_->Seeked(qlonglong(positionMs) * 1000);
}
