#include "playback/position_poll.h"

#include "app/app_context.h"
#include "app/main_window.h"
#include "components/reelkit.h"
#include "led/led_refresh.h"
#include "playback/command_id.h"
#include "playback/dispatch.h"
#include "playback/tracks.h"
#include "playback/window_access.h"

namespace {
enum RepeatMode : uint32_t { RepeatOff = 0, RepeatList = 1, RepeatTrack = 2 };

PlayerState& state()
{
    return app().state;
}

void showStopped()
{
    state().status = 0;
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
    if (s.repeatMode == RepeatTrack) {
        Reelkit_Seek(0);
        Reelkit_Play();
        return true;
    }
    if (s.trackCount == 1) {
        Reelkit_Seek(0);
        if (s.repeatMode == RepeatList)
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
    if (next == 1 && s.repeatMode == RepeatOff)
        showStopped();
    else
        DispatchCommand(command_id::Play, CommandPhase::Click);
    return true;
}
}  // namespace

bool PollPosition()
{
    uint16_t status = 2;
    if (!Reelkit_GetStatus(&status))
        return true;
    if (status == 0) {
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
    if (status == 0 || status == 1)
        StopMainTimer(main_timer::PositionPoll);
    return true;
}
