#pragma once

#include <cstdint>
#include <functional>

#include "core/command_id.h"
#include "core/timers.h"

// Typing a track number on the digit buttons. The track number display shows the number
// being entered while an entry is active.

// Ends an entry in progress (repaint: the display at once); nothing at all when none is.
// Always answers true.
bool EndTrackEntry(bool repaint);
// A digit 0..9, or 10 for "+ 10" (which appends the value ten: 1 then "+ 10" gives 20).
bool EnterDigit(uint32_t value);
bool GoToEnteredTrack();
// The panel's timers of an entry: 1000 blinks the number, 1001 ends the entry (through the
// given dispatcher, DispatchCommand when empty). Other timers are not the entry's and change
// nothing.
void TrackEntry_PanelTimer(TimerId id, const std::function<bool(CommandId command, CommandPhase phase)>& dispatch = {});
