#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>

#include "core/app_windows.h"
#include "core/state_notices.h"
#include "mpris/mpris_values.h"

class MprisPlayer;

// The player on the session bus as org.mpris.MediaPlayer2.quintara (or, when another player
// holds that name, org.mpris.MediaPlayer2.quintara.instance<pid>): the object
// /org/mpris/MediaPlayer2 with its two interfaces. It hears each change of the state from the
// logic and signals the properties that changed once the change is done, never by polling.
// Nothing here waits on the bus.
class MprisService : public QObject {
    Q_OBJECT
public:
    // On the session bus when there is one; null without one, and the player runs as before.
    static std::unique_ptr<MprisService> start(const MprisLinks& links);
    ~MprisService() override;

    // Whether the player still takes calls: false once its shut-down has begun.
    bool live() const { return links_.windows.main && !links_.windows.closing; }
    const MprisLinks& links() const { return links_; }
    // The mixer line's volume as last heard.
    double volume() const { return volume_; }
    const QDBusConnection& bus() const { return bus_; }
    // A jump the service made itself, signalled at once.
    void seeked(uint32_t positionMs);

    // A part of the state has changed.
    void heard(StatePart part);

private:
    MprisService(const QDBusConnection& bus, const MprisLinks& links);
    void flush();
    void signalJump();
    void requestName(const QString& name, bool fallBack);

    QDBusConnection bus_;
    MprisLinks links_;
    MprisPlayer* player_ = nullptr;  // a child
    MprisValues sent_;
    double volume_ = 0;
    uint32_t lastPosition_ = 0;
    bool flushQueued_ = false;
    bool volumeHeard_ = false;
    bool timeHeard_ = false;
};
