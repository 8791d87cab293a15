#pragma once

#include <cstdint>

// The number of a command; it equals the string-table id of its tooltip text.
namespace command_id {
constexpr int32_t Minimize = 1;
constexpr int32_t Help = 2;
constexpr int32_t Power = 3;
constexpr int32_t Play = 10;
constexpr int32_t Pause = 11;
constexpr int32_t PlayPause = 12;
constexpr int32_t Stop = 13;
constexpr int32_t Eject = 14;
constexpr int32_t StopEject = 15;
constexpr int32_t NextTrack = 16;
constexpr int32_t PreviousTrack = 17;
constexpr int32_t Backward = 18;
constexpr int32_t Forward = 19;
constexpr int32_t FastBackward = 20;
constexpr int32_t FastForward = 21;
constexpr int32_t SlowBackward = 22;
constexpr int32_t SlowForward = 23;
constexpr int32_t MuteUnMute = 30;
constexpr int32_t VolumeUp = 31;    // lowers the volume, whatever its text says
constexpr int32_t VolumeDown = 32;  // raises it
constexpr int32_t SoundQuality = 33;
constexpr int32_t AudioChannel = 34;
constexpr int32_t SoundChannel = 35;
constexpr int32_t AudioProperties = 36;
constexpr int32_t Repeat = 40;
constexpr int32_t PlayList = 41;
constexpr int32_t Disc = 42;
constexpr int32_t VideoTopmost = 50;
constexpr int32_t VideoSize = 51;
constexpr int32_t Digit0 = 100;
constexpr int32_t Digit1 = 101;
constexpr int32_t Digit2 = 102;
constexpr int32_t Digit3 = 103;
constexpr int32_t Digit4 = 104;
constexpr int32_t Digit5 = 105;
constexpr int32_t Digit6 = 106;
constexpr int32_t Digit7 = 107;
constexpr int32_t Digit8 = 108;
constexpr int32_t Digit9 = 109;
constexpr int32_t PlusTen = 110;
constexpr int32_t Return = 120;
}  // namespace command_id
using CommandId = int32_t;

// Where a command event stands in a press. 1 is never issued and counts as Release.
enum CommandPhase : int32_t { Press = 0, Release = 2, Click = 3 };
