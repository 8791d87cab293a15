#pragma once

#include <cstdint>

#include "app/timers.h"

// The timers that playback runs on the main and the panel window; a window that does not
// exist has no timers to start and none to stop.
namespace panel_timer {
constexpr TimerId EntryBlink = 1000;
constexpr TimerId EntryEnd = 1001;
}  // namespace panel_timer

void StartMainTimer(TimerId id, uint32_t periodMs);
void StopMainTimer(TimerId id);
void StartPanelTimer(TimerId id, uint32_t periodMs);
void StopPanelTimer(TimerId id);
