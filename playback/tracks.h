#pragma once

#include <cstdint>
#include <string>

#include "playback/then.h"


// Opening tracks of the play list and moving between them. Track numbers count from 1.
// Each answers true when done and false when refused; those that open a file go on from the engine's
// answer, and what comes in meanwhile waits its turn (see then.h for what they answer).

// Opens track n stopped at its start, dropping from the list every entry that fails to open.
bool OpenTrack(uint32_t track, Then then = {});
bool NextTrack(Then then = {});
bool PreviousTrack(Then then = {});
// The Play List command: the dialog when asked for, then track 1. Always answers true.
bool PlayListCommand(bool showDialog, Then then = {});
// The state without any open track.
void ResetPlayback();
bool CycleRepeat();
// The video frame's title: the path, or its base title when there is none.
void SetVideoTitle(const std::string* path);
