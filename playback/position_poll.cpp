#include "playback/position_poll.h"

#include "context/app_context.h"
#include "core/player_ids.h"
#include "context/components.h"
#include "led/led_refresh.h"
#include "core/command_id.h"
#include "playback/dispatch.h"
#include "playback/tracks.h"
#include "context/window_access.h"

namespace {
PlayerState& state()
{
    return app().state;
}

void showStopped()
{
    state().status = engine_status::Stopped;
    Led_RefreshPlayState(0);
}

uint32_t trackAfterCurrent()
{
    const PlayerState& s = state();
    return s.trackCount > s.currentTrack ? s.currentTrack + 1 : 1;
}

// The time as the engine gives it; the poll ends while the track does not run.
void showPosition(uint16_t status)
{
    uint32_t position = 0;
    if (Reelkit_GetCurrentPosition(&position)) {
        state().position = position;
        Led_RefreshTime(0);
    }
    if (status == engine_status::Stopped || status == engine_status::Paused)
        StopMainTimer(main_timer::PositionPoll);
}

// What the engine says once the end of a track has been dealt with.
void showAfterEnd()
{
    uint16_t status = engine_status::Playing;
    if (Reelkit_GetStatus(&status))
        showPosition(status);
}

// Opens the track after the one that ended; each failed open drops an entry, so this ends.
void openAfterEnd(uint32_t next, const Then& done)
{
    OpenTrack(next, [next, done](uint32_t opened) {
        PlayerState& s = state();
        if (!opened && s.trackCount == 0) {
            ResetPlayback();
            StopMainTimer(main_timer::PositionPoll);
            done(0);
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
            DispatchCommand(command_id::Play, CommandPhase::Click);
        showAfterEnd();
        done(1);
    });
}

// The end of a track; false when nothing is left to play.
bool trackEnded()
{
    PlayerState& s = state();
    if (s.repeatMode == RepeatMode::Track) {
        Reelkit_Seek(0);
        Reelkit_Play();
    } else if (s.trackCount == 1) {
        Reelkit_Seek(0);
        if (s.repeatMode == RepeatMode::List)
            Reelkit_Play();
        else
            showStopped();
    } else {
        return ResultOrAsked({}, [](const Then& done) { openAfterEnd(trackAfterCurrent(), done); }) != 0;
    }
    showAfterEnd();
    return true;
}
}  // namespace

bool PollPosition()
{
    uint16_t status = engine_status::Playing;
    if (!Reelkit_GetStatus(&status))
        return true;
    if (status == engine_status::Stopped)
        return trackEnded();
    showPosition(status);
    return true;
}
