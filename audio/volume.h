#pragma once

#include <cstdint>
#include <optional>

// Mute and volume work on a line of the system mixer; the display follows the mixer's
// change notices, not these commands.

// The mixer line the player works on: 0 (the default device) or 8 (its own stream).
uint32_t MixerLine();

// Inverts every channel of the mute control; answers the write's result, false when the read
// failed.
bool ToggleMute();
// One volume step on every channel; started is false at the release, which only ends the repeat.
bool StepVolume(bool up, bool started);
// Read the mixer into PlayerState; repaint marks the LED element for the next paint.
bool ReadMuteState(bool repaint);
bool ReadVolumeLevel(bool repaint);

// The line's volume as a share of its range, 0 to 1: its loudest channel; nothing when the
// mixer cannot be read.
std::optional<double> ReadVolumeShare();
// Sets every channel of the line to the share of its range (cut to 0 to 1, not a number
// refused); answers the write's result. The display follows through the mixer's notice.
bool SetVolumeShare(double share);
