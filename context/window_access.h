#pragma once

#include <cstdint>

#include "core/player_ids.h"

// The timers that playback runs on the main and the panel window; a window that does not
// exist has no timers to start and none to stop.
void StartMainTimer(TimerId id, uint32_t periodMs);
void StopMainTimer(TimerId id);
void StartPanelTimer(TimerId id, uint32_t periodMs);
void StopPanelTimer(TimerId id);
