#pragma once

#include <cstdint>

#include "core/timers.h"

// The timers of the main window.
namespace main_timer {
constexpr TimerId VolumeRepeat = 1000;
constexpr TimerId SeekRepeat = 1001;
constexpr TimerId PositionPoll = 1002;
constexpr TimerId MixerReattach = 1003;
constexpr TimerId PbcWait = 1004;  // a Video CD list holds its picture
constexpr uint32_t MixerReattachDelay = 1000;
}  // namespace main_timer

// The timers of the panel window, numbered apart from the main window's.
namespace panel_timer {
constexpr TimerId EntryBlink = 1000;
constexpr TimerId EntryEnd = 1001;
}  // namespace panel_timer

constexpr int kOrderlyExitStatus = 18;
constexpr const char* kApplicationKey = "Halvex\\VideoPlayer";
