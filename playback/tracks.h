#pragma once

#include <cstdint>
#include <string>

// Opening tracks of the play list and moving between them. Track numbers count from 1.
// Each answers 1 when done and 0 when refused.

// Opens track n stopped at its start, dropping from the list every entry that fails to open.
uint32_t OpenTrack(uint32_t track);
uint32_t NextTrack();
uint32_t PreviousTrack();
// The Play List command: the dialog when asked for, then track 1. Always answers 1.
uint32_t PlayListCommand(uint32_t showDialog);
// The state without any open track.
void ResetPlayback();
uint32_t CycleRepeat();
// The video frame's title: the path, or its base title when there is none.
void SetVideoTitle(const std::string* path);
