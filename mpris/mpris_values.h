#pragma once

#include <QDBusObjectPath>
#include <QString>
#include <QVariantMap>

#include <cstdint>
#include <optional>
#include <utility>

#include "core/player_state.h"

class Audio;
class Playback;
class PlayListStore;
class Turns;
struct AppWindows;
struct Components;
struct PlayerSettings;

// What the media controls are handed when they start: the records they read, the components
// they ask, the turns their calls wait in, the windows as they come and go, and the playback
// and audio logic their methods call.
struct MprisLinks {
    const PlayerState& state;
    const PlayerSettings& settings;
    Components& components;
    Turns& turns;
    const AppWindows& windows;
    const PlayListStore& playList;
    Playback& playback;
    Audio& audio;
};

// What the desktop's media controls see of the player, taken from PlayerState and the play
// list: the properties of org.mpris.MediaPlayer2.Player that are signalled when they change.
struct MprisValues {
    QString playbackStatus;
    QString loopStatus;
    QVariantMap metadata;
    double volume = 0;
    double rate = 1.0;
    bool canGoNext = false;
    bool canGoPrevious = false;
    bool canPlay = false;
    bool canPause = false;
    bool canSeek = false;
};

// The values now; the volume is the mixer's share, which the caller keeps.
MprisValues CurrentMprisValues(const MprisLinks& links, double volume);
// The properties that differ between the two, by name, with their values in after.
QVariantMap ChangedMprisProperties(const MprisValues& before, const MprisValues& after);

QString PlaybackStatusName(uint16_t status);
QString LoopStatusName(RepeatMode mode);
// The repeat mode a loop status names; nothing for a name that is none of them.
std::optional<RepeatMode> RepeatModeNamed(const QString& name);
// The object path of track n of the list, by the number its entry got as it entered the list;
// the "no track" path when n is 0 or past the end.
QDBusObjectPath MprisTrackId(const PlayListStore& playList, uint32_t track);
// The forward rate played now, normal speed 1.
double MprisRate(const MprisLinks& links);
// The slowest and the fastest rate the configuration offers, normal speed among them.
std::pair<double, double> MprisRateRange(const PlayerSettings& settings);
