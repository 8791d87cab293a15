#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>

#include <array>
#include <optional>

class QDBusPendingCallWatcher;

// Keeps the screen awake while it is wanted, through the best inhibition service on the session
// bus: the desktop portal's, else the screen saver's, else GNOME's session manager. Nothing
// waits on the bus. An inhibition whose service leaves the bus is forgotten, and the player
// inhibits again through the best service left, or the next one to appear.
class IdleInhibitor : public QObject {
    Q_OBJECT
public:
    enum class Service { Portal, ScreenSaver, SessionManager };

    IdleInhibitor(const QDBusConnection& bus, QString applicationId);
    ~IdleInhibitor() override;
    IdleInhibitor(const IdleInhibitor&) = delete;
    IdleInhibitor& operator=(const IdleInhibitor&) = delete;

    void setWanted(bool wanted);
    // The service whose inhibition is held now, once it has answered.
    std::optional<Service> heldBy() const;

private:
    struct Held {
        Service service;
        QVariant handle;  // the portal's request object, or a cookie
    };

    void namesListed(QDBusPendingCallWatcher* call);
    void ownerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void update();
    void inhibit(Service service);
    void answered(QDBusPendingCallWatcher* call, Service service, unsigned serial);
    // At the end the answer is awaited, a second at most: the connection goes right after, and
    // a request still queued would go with it.
    enum class Wait { No, ForTheAnswer };
    void release(Wait wait = Wait::No);

    QDBusConnection bus_;
    QString applicationId_;
    QDBusServiceWatcher watcher_;
    std::array<bool, 3> present_{};
    bool wanted_ = false;
    std::optional<Held> held_;
    std::optional<Service> asking_;  // a request on its way
    QDBusPendingCallWatcher* askingCall_ = nullptr;  // its call, while it is on its way
    unsigned serial_ = 0;            // a late answer to a forgotten request is let go
};
