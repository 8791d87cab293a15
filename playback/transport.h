#pragma once

#include <cstdint>

#include "core/player_state.h"

// Play, pause, stop, the held seek and the rates. Each answers true when done and false when
// refused, and refuses at once when no track is loaded, except Play and TogglePlayPause.
// update shows the new state on the display.
bool Play(bool update);
bool Pause(bool update);
bool Stop(bool toStart, bool update);
bool TogglePlayPause();
// A held Backward or Forward: start is set for the press and each repeat, clear for the release.
bool SeekHold(bool forward, bool start);
// The track under a hold has gone (another opened, or the list ran empty): the repeats stop
// and the release does nothing, for its target belongs to the track that went.
void EndSeekHold();
bool ChangeRate(bool forward, uint32_t rate);
// A jump to the position in milliseconds (cut to the track's length), the play going on as it
// was; refused while a held seek is under way.
bool SeekTo(uint32_t position);

// Playing at some rate, as opposed to stopped or paused.
constexpr bool IsRunningStatus(uint16_t status)
{
    return status >= engine_status::Playing && status <= engine_status::Backward;
}

// The position poll's period at a rate: a tick per second of the file.
uint32_t PositionPollPeriod(int32_t rate);
