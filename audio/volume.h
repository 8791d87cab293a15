#pragma once

#include <cstdint>
#include <optional>

// Mute and volume work on a line of the system mixer; the display follows the mixer's
// change notices, not these commands.

// The mixer line the player works on: 0 (the default device) or 8 (its own stream).
uint32_t MixerLine();

// Inverts every channel of the mute control; answers the write's result, 0 when the read failed.
uint32_t ToggleMute();
// One volume step on every channel; started is false at the release, which only ends the repeat.
uint32_t StepVolume(bool up, bool started);
// Read the mixer into PlayerState; repaint marks the LED element for the next paint.
uint32_t ReadMuteState(uint32_t repaint);
uint32_t ReadVolumeLevel(uint32_t repaint);

// The line's volume as a share of its range, 0 to 1: its loudest channel; nothing when the
// mixer cannot be read.
std::optional<double> ReadVolumeShare();
// Sets every channel of the line to the share of its range (cut to 0 to 1, not a number
// refused); answers the write's result. The display follows through the mixer's notice.
uint32_t SetVolumeShare(double share);
