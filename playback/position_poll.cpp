#include "playback/playback.h"

#include "core/app_windows.h"
#include "core/player_state.h"

#include <optional>

#include "core/player_ids.h"
#include "components/components.h"
#include "led/led_refresh.h"
#include "core/command_id.h"

void Playback::showStopped()
{
    state_.status = engine_status::Stopped;
    led_.RefreshPlayState(false);
}

uint32_t Playback::trackAfterCurrent() const
{
    const PlayerState& s = state_;
    return s.trackCount > s.currentTrack ? s.currentTrack + 1 : 1;
}

// The time as the engine gives it; the poll ends while the track does not run.
void Playback::showPosition(uint16_t status)
{
    if (const std::optional<uint32_t> position = engine().getCurrentPosition()) {
        state_.position = *position;
        led_.RefreshTime(false);
    }
    if (status == engine_status::Stopped || status == engine_status::Paused)
        mainTimers_.stop(main_timer::PositionPoll);
}

// What the engine says once the end of a track has been dealt with.
void Playback::showAfterEnd()
{
    if (const std::optional<uint16_t> status = engine().getStatus())
        showPosition(*status);
}

// Opens the track after the one that ended; each failed open drops an entry, so this ends.
void Playback::openAfterEnd(uint32_t next, const Then& done)
{
    OpenTrack(next, [this, next, done](bool opened) {
        PlayerState& s = state_;
        if (!opened && s.trackCount == 0) {
            ResetPlayback();
            mainTimers_.stop(main_timer::PositionPoll);
            done(false);
            return;
        }
        if (!opened) {
            openAfterEnd(trackAfterCurrent(), done);
            return;
        }
        // After the last track the list stands on its first, opened but not playing.
        if (next == 1 && s.repeatMode == RepeatMode::Off)
            showStopped();
        else
            DispatchCommand(CommandId::Play, CommandPhase::Click);
        showAfterEnd();
        done(true);
    });
}

// The end of a track; false when nothing is left to play.
bool Playback::trackEnded()
{
    PlayerState& s = state_;
    if (s.repeatMode == RepeatMode::Track) {
        engine().seek(0);
        engine().play();
    } else if (s.trackCount == 1) {
        engine().seek(0);
        if (s.repeatMode == RepeatMode::List)
            engine().play();
        else
            showStopped();
    } else {
        return ResultOrAsked({}, [this](const Then& done) { openAfterEnd(trackAfterCurrent(), done); });
    }
    showAfterEnd();
    return true;
}

bool Playback::PollPosition()
{
    if (pbc_)
        return pollPbc();
    const std::optional<uint16_t> status = engine().getStatus();
    if (!status)
        return true;
    if (*status == engine_status::Stopped)
        return trackEnded();
    showPosition(*status);
    return true;
}
