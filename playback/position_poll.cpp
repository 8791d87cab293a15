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

// The end of a track; false when nothing is left to play.
bool trackEnded()
{
    PlayerState& s = state();
    if (s.repeatMode == RepeatMode::Track) {
        Reelkit_Seek(0);
        Reelkit_Play();
        return true;
    }
    if (s.trackCount == 1) {
        Reelkit_Seek(0);
        if (s.repeatMode == RepeatMode::List)
            Reelkit_Play();
        else
            showStopped();
        return true;
    }
    uint32_t next = trackAfterCurrent();
    // Each failed open drops an entry, so this ends.
    while (!OpenTrack(next)) {
        if (s.trackCount == 0) {
            ResetPlayback();
            StopMainTimer(main_timer::PositionPoll);
            return false;
        }
        next = trackAfterCurrent();
    }
    // After the last track the list stands on its first, opened but not playing.
    if (next == 1 && s.repeatMode == RepeatMode::Off)
        showStopped();
    else
        DispatchCommand(command_id::Play, CommandPhase::Click);
    return true;
}
}  // namespace

bool PollPosition()
{
    uint16_t status = engine_status::Playing;
    if (!Reelkit_GetStatus(&status))
        return true;
    if (status == engine_status::Stopped) {
        if (!trackEnded())
            return false;
        if (!Reelkit_GetStatus(&status))
            return true;
    }
    uint32_t position = 0;
    if (Reelkit_GetCurrentPosition(&position)) {
        state().position = position;
        Led_RefreshTime(0);
    }
    if (status == engine_status::Stopped || status == engine_status::Paused)
        StopMainTimer(main_timer::PositionPoll);
    return true;
}
