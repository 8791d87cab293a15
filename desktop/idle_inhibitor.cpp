#include "desktop/idle_inhibitor.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDeadlineTimer>
#include <QThread>
#include <QStringList>
#include <QVariantMap>

#include <utility>

namespace {
struct Place {
    const char* name;
    const char* path;
    const char* interface;
};

// In the order of preference.
constexpr std::array<Place, 3> kPlaces{{
    {"org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Inhibit"},
    {"org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver", "org.freedesktop.ScreenSaver"},
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager"},
}};
constexpr uint32_t kIdleFlag = 8;  // the portal's and GNOME's "idle"
constexpr int kLastAnswerMs = 1000;
const QString kReason = QStringLiteral("Playing a video");

const Place& placeOf(IdleInhibitor::Service service)
{
    return kPlaces[static_cast<size_t>(service)];
}

std::optional<IdleInhibitor::Service> serviceNamed(const QString& name)
{
    for (size_t i = 0; i < kPlaces.size(); ++i) {
        if (name == QLatin1String(kPlaces[i].name))
            return static_cast<IdleInhibitor::Service>(i);
    }
    return std::nullopt;
}

QStringList serviceNames()
{
    QStringList names;
    for (const Place& place : kPlaces)
        names << QLatin1String(place.name);
    return names;
}

QDBusMessage call(const Place& place, const char* member)
{
    return QDBusMessage::createMethodCall(QLatin1String(place.name), QLatin1String(place.path),
                                          QLatin1String(place.interface), QLatin1String(member));
}
}  // namespace

IdleInhibitor::IdleInhibitor(const QDBusConnection& bus, QString applicationId)
    : bus_(bus),
      applicationId_(std::move(applicationId)),
      watcher_(QString(), bus, QDBusServiceWatcher::WatchForOwnerChange)
{
    watcher_.setWatchedServices(serviceNames());
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this, &IdleInhibitor::ownerChanged);
    const QDBusMessage list = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ListNames"));
    auto* listed = new QDBusPendingCallWatcher(bus_.asyncCall(list), this);
    connect(listed, &QDBusPendingCallWatcher::finished, this, &IdleInhibitor::namesListed);
}

IdleInhibitor::~IdleInhibitor()
{
    // A request still on its way when the loop has ended is answered to nobody: its answer is
    // awaited here, within the last answer's time, so that what it grants is let go too. The
    // bus's own thread takes the answer in.
    if (asking_ && askingCall_) {
        const QDeadlineTimer deadline(kLastAnswerMs);
        while (!askingCall_->isFinished() && !deadline.hasExpired())
            QThread::msleep(1);
        const QDBusMessage reply = askingCall_->reply();
        if (askingCall_->isFinished() && reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            held_ = Held{*asking_, reply.arguments().front()};
    }
    release(Wait::ForTheAnswer);
}

void IdleInhibitor::setWanted(bool wanted)
{
    if (wanted == wanted_)
        return;
    wanted_ = wanted;
    update();
}

std::optional<IdleInhibitor::Service> IdleInhibitor::heldBy() const
{
    return held_ ? std::optional<Service>(held_->service) : std::nullopt;
}

void IdleInhibitor::namesListed(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    const QDBusPendingReply<QStringList> reply = *call;
    if (reply.isError())
        return;
    for (const QString& name : reply.value()) {
        if (const std::optional<Service> service = serviceNamed(name))
            present_[static_cast<size_t>(*service)] = true;
    }
    update();
}

void IdleInhibitor::ownerChanged(const QString& name, const QString& oldOwner, const QString& newOwner)
{
    const std::optional<Service> service = serviceNamed(name);
    if (!service)
        return;
    present_[static_cast<size_t>(*service)] = !newOwner.isEmpty();
    if (!oldOwner.isEmpty()) {
        // Whatever the old owner held ended with it.
        if (held_ && held_->service == *service)
            held_.reset();
        if (asking_ == *service) {
            asking_.reset();
            askingCall_ = nullptr;
            ++serial_;
        }
    }
    update();
}

void IdleInhibitor::update()
{
    if (!wanted_) {
        // An answer still on its way is let go when it comes.
        release();
        return;
    }
    if (held_ || asking_)
        return;
    for (size_t i = 0; i < kPlaces.size(); ++i) {
        if (present_[i]) {
            inhibit(static_cast<Service>(i));
            return;
        }
    }
}

void IdleInhibitor::inhibit(Service service)
{
    QDBusMessage request = call(placeOf(service), "Inhibit");
    switch (service) {
    case Service::Portal:
        request << QString() << kIdleFlag << QVariantMap{{QStringLiteral("reason"), kReason}};
        break;
    case Service::ScreenSaver:
        request << applicationId_ << kReason;
        break;
    case Service::SessionManager:
        request << applicationId_ << uint32_t{0} << kReason << kIdleFlag;
        break;
    }
    asking_ = service;
    const unsigned serial = ++serial_;
    auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(request), this);
    askingCall_ = pending;
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, service, serial](QDBusPendingCallWatcher* done) { answered(done, service, serial); });
}

void IdleInhibitor::answered(QDBusPendingCallWatcher* call, Service service, unsigned serial)
{
    call->deleteLater();
    if (serial != serial_)
        return;
    asking_.reset();
    askingCall_ = nullptr;
    const QDBusMessage reply = call->reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        // Refused: the next service present is asked, if any.
        for (size_t i = static_cast<size_t>(service) + 1; wanted_ && i < kPlaces.size(); ++i) {
            if (present_[i]) {
                inhibit(static_cast<Service>(i));
                return;
            }
        }
        return;
    }
    held_ = Held{service, reply.arguments().front()};
    if (!wanted_)
        release();
}

void IdleInhibitor::release(Wait wait)
{
    if (!held_)
        return;
    const Held held = *std::exchange(held_, std::nullopt);
    const Place& place = placeOf(held.service);
    QDBusMessage request;
    switch (held.service) {
    case Service::Portal:
        request = QDBusMessage::createMethodCall(QLatin1String(place.name), held.handle.value<QDBusObjectPath>().path(),
                                                 QStringLiteral("org.freedesktop.portal.Request"),
                                                 QStringLiteral("Close"));
        break;
    case Service::ScreenSaver:
        request = call(place, "UnInhibit");
        request << held.handle.toUInt();
        break;
    case Service::SessionManager:
        request = call(place, "Uninhibit");
        request << held.handle.toUInt();
        break;
    }
    if (wait == Wait::ForTheAnswer)
        bus_.call(request, QDBus::Block, kLastAnswerMs);
    else
        bus_.asyncCall(request);
}
