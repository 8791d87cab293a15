#pragma once

#include <cstdint>
#include <optional>

// A command of the player. Its number is the string-table id of its tooltip text; skins name
// the commands by words, and only the string table and the dispatcher's tests see the numbers.
enum class CommandId : int32_t {
    Minimize = 1,
    Help = 2,
    Power = 3,
    Play = 10,
    Pause = 11,
    PlayPause = 12,
    Stop = 13,
    Eject = 14,
    StopEject = 15,
    NextTrack = 16,
    PreviousTrack = 17,
    Backward = 18,
    Forward = 19,
    FastBackward = 20,
    FastForward = 21,
    SlowBackward = 22,
    SlowForward = 23,
    MuteUnMute = 30,
    VolumeUp = 31,    // lowers the volume, whatever its text says
    VolumeDown = 32,  // raises it
    SoundQuality = 33,
    AudioChannel = 34,
    SoundChannel = 35,
    AudioProperties = 36,
    Repeat = 40,
    PlayList = 41,
    Disc = 42,
    MenuReturn = 43,  // a Video CD menu's RETURN
    VideoTopmost = 50,
    VideoSize = 51,
    Digit0 = 100,
    Digit1 = 101,
    Digit2 = 102,
    Digit3 = 103,
    Digit4 = 104,
    Digit5 = 105,
    Digit6 = 106,
    Digit7 = 107,
    Digit8 = 108,
    Digit9 = 109,
    PlusTen = 110,
    Return = 120,
};

// Where a command event stands in a press.
enum class CommandPhase : int32_t { Press = 0, Release = 2, Click = 3 };

// The command of a number, nothing for a number that names none.
std::optional<CommandId> CommandIdFromNumber(int32_t number);
constexpr int32_t CommandNumber(CommandId id)
{
    return static_cast<int32_t>(id);
}

// The phase of a number: 1 is never issued and counts as Release; other numbers name none.
std::optional<CommandPhase> CommandPhaseFromNumber(int32_t number);
constexpr int32_t CommandPhaseNumber(CommandPhase phase)
{
    return static_cast<int32_t>(phase);
}
