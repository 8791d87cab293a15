#include "mpris/mpris_player.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "components/discbay/drive_table.h"
#include "components/components.h"
#include "core/player_settings.h"
#include "core/turns.h"
#include "disc/play_list.h"
#include "core/command_id.h"
#include "core/file_drop.h"
#include "mpris/mpris_service.h"
#include "mpris/mpris_values.h"
#include "playback/playback.h"
#include "playback/transport.h"

MprisPlayer::MprisPlayer(MprisService& service) : QDBusAbstractAdaptor(&service), service_(service) {}

QString MprisPlayer::playbackStatus() const { return PlaybackStatusName(service_.links().state.status); }
QString MprisPlayer::loopStatus() const { return LoopStatusName(service_.links().state.repeatMode); }
QVariantMap MprisPlayer::metadata() const { return CurrentMprisValues(service_.links(), 0).metadata; }
double MprisPlayer::volume() const { return service_.volume(); }
bool MprisPlayer::canGoNext() const { return CurrentMprisValues(service_.links(), 0).canGoNext; }
bool MprisPlayer::canGoPrevious() const { return CurrentMprisValues(service_.links(), 0).canGoPrevious; }
bool MprisPlayer::canPlay() const { return CurrentMprisValues(service_.links(), 0).canPlay; }
bool MprisPlayer::canPause() const { return CurrentMprisValues(service_.links(), 0).canPause; }
bool MprisPlayer::canSeek() const { return CurrentMprisValues(service_.links(), 0).canSeek; }

qlonglong MprisPlayer::position() const
{
    // The engine's own is fresher than the poll's, which the display shows.
    uint32_t position = service_.links().state.position;
    if (service_.links().state.trackCount != 0)
        position = service_.links().components.reelkit->getCurrentPosition().value_or(position);
    return qlonglong(position) * 1000;
}

void MprisPlayer::inTurn(std::function<void()> work)
{
    // A call that comes while the engine opens a track runs after it, in its order with the input.
    service_.links().turns.take([self = QPointer<MprisPlayer>(this), work = std::move(work)] {
        if (self)
            work();
    });
}

void MprisPlayer::setLoopStatus(const QString& name)
{
    inTurn([this, name] { clickRepeatUntil(name); });
}

void MprisPlayer::clickRepeatUntil(const QString& name)
{
    const std::optional<RepeatMode> wanted = RepeatModeNamed(name);
    if (!wanted || !service_.live())
        return;
    const RepeatMode start = service_.links().state.repeatMode;
    for (int clicks = 0; clicks < 3 && service_.links().state.repeatMode != *wanted; ++clicks) {
        playback().DispatchCommand(CommandId::Repeat, CommandPhase::Click);
        if (service_.links().state.repeatMode == start)
            break;
    }
}

double MprisPlayer::rate() const { return MprisRate(service_.links()); }
double MprisPlayer::minimumRate() const { return MprisRateRange(service_.links().settings).first; }
double MprisPlayer::maximumRate() const { return MprisRateRange(service_.links().settings).second; }

void MprisPlayer::setRate(double rate)
{
    inTurn([this, rate] { playAtRate(rate); });
}

void MprisPlayer::playAtRate(double rate)
{
    if (!service_.live() || service_.links().state.trackCount == 0 || !IsRunningStatus(service_.links().state.status))
        return;
    const PlayerSettings& settings = service_.links().settings;
    const auto wanted = static_cast<long>(std::lround(rate * 1000));
    const auto playing = static_cast<long>(std::lround(MprisRate(service_.links()) * 1000));
    // The rate commands go back to normal play when given again: a rate in force stays.
    if (wanted == playing && service_.links().state.status != engine_status::Backward)
        return;
    if (wanted == 1000)
        playback().DispatchCommand(CommandId::Play, CommandPhase::Click);
    else if (wanted == long(settings.fastForwardRate))
        playback().DispatchCommand(CommandId::FastForward, CommandPhase::Click);
    else if (wanted == long(settings.slowForwardRate))
        playback().DispatchCommand(CommandId::SlowForward, CommandPhase::Click);
}

void MprisPlayer::setVolume(double share)
{
    inTurn([this, share] {
        if (service_.live())
            service_.links().audio.SetVolumeShare(share);
    });
}

void MprisPlayer::command(CommandId id, bool needsTrack)
{
    // Without a track Play would ask for the play-list dialog, which a remote call must not
    // leave waiting on the screen.
    inTurn([this, id, needsTrack] {
        if (service_.live() && (!needsTrack || service_.links().state.trackCount != 0))
            playback().DispatchCommand(id, CommandPhase::Click);
    });
}

void MprisPlayer::Next() { command(CommandId::NextTrack, false); }
void MprisPlayer::Previous() { command(CommandId::PreviousTrack, false); }
void MprisPlayer::Pause() { command(CommandId::Pause, true); }
void MprisPlayer::PlayPause() { command(CommandId::PlayPause, true); }
void MprisPlayer::Stop() { command(CommandId::Stop, true); }
void MprisPlayer::Play() { command(CommandId::Play, true); }

void MprisPlayer::jumpTo(qlonglong positionUs)
{
    const auto target = static_cast<uint32_t>(positionUs / 1000);
    if (playback().SeekTo(target))
        service_.seeked(service_.links().state.position);
}

void MprisPlayer::Seek(qlonglong offset)
{
    inTurn([this, offset] { seekBy(offset); });
}

void MprisPlayer::seekBy(qlonglong offset)
{
    if (!service_.live() || !canSeek())
        return;
    const qlonglong target = position() + offset;
    // Past the end is where the next track begins.
    if (target > qlonglong(service_.links().state.length) * 1000)
        playback().DispatchCommand(CommandId::NextTrack, CommandPhase::Click);
    else
        jumpTo(std::max<qlonglong>(target, 0));
}

void MprisPlayer::SetPosition(const QDBusObjectPath& trackId, qlonglong position)
{
    inTurn([this, trackId, position] {
        // A position meant for another track, or outside this one, is passed over.
        if (!service_.live() || !canSeek() || trackId != MprisTrackId(service_.links().playList, service_.links().state.currentTrack) || position < 0 ||
            position > qlonglong(service_.links().state.length) * 1000)
            return;
        jumpTo(position);
    });
}

void MprisPlayer::OpenUri(const QString& uri, const QDBusMessage& call)
{
    const QString path = LocalPathOf(QUrl(uri, QUrl::StrictMode));
    if (path.isEmpty())
        return refuse(call, QDBusError::NotSupported, "only file:// addresses of this machine are played");
    const QFileInfo file(path);
    if (!file.exists())
        return refuse(call, QDBusError::InvalidArgs, "no such file: " + path);
    const std::string native = QFile::encodeName(path).toStdString();
    // Only what SupportedMimeTypes names: the configured extensions, disc images, folders.
    if (!file.isDir() && !service_.links().playList.HasListedExtension(native) && !IsDiscImageName(native))
        return refuse(call, QDBusError::NotSupported, "not a kind of file the player plays: " + path);
    // Answered once the files have been tried, which may wait for the engine.
    call.setDelayedReply(true);
    inTurn([this, path, call] {
        const auto answer = [this, path, call](uint32_t played) {
            if (played)
                service_.bus().send(call.createReply());
            else
                refuse(call, QDBusError::Failed, "nothing to play in " + path);
        };
        if (!service_.live())
            answer(0);
        else
            playback().PlayFiles({QFile::encodeName(path).toStdString()}, answer);
    });
}

Playback& MprisPlayer::playback() const
{
    return service_.links().playback;
}

void MprisPlayer::refuse(const QDBusMessage& call, QDBusError::ErrorType error, const QString& why)
{
    call.setDelayedReply(true);
    service_.bus().send(call.createErrorReply(error, why));
}
