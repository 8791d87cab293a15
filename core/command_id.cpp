#include "core/command_id.h"

#include <algorithm>
#include <array>

namespace {
using enum CommandId;

// Every command, in the order of its numbers.
constexpr std::array kCommands{
    Minimize, Help, Power,
    Play, Pause, PlayPause, Stop, Eject, StopEject, NextTrack, PreviousTrack,
    Backward, Forward, FastBackward, FastForward, SlowBackward, SlowForward,
    MuteUnMute, VolumeUp, VolumeDown, SoundQuality, AudioChannel, SoundChannel, AudioProperties,
    Repeat, PlayList, Disc, MenuReturn,
    VideoTopmost, VideoSize,
    Digit0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9, PlusTen,
    Return,
};
static_assert(std::ranges::is_sorted(kCommands));
}  // namespace

std::optional<CommandId> CommandIdFromNumber(int32_t number)
{
    const auto id = static_cast<CommandId>(number);
    return std::ranges::binary_search(kCommands, id) ? std::optional(id) : std::nullopt;
}

std::optional<CommandPhase> CommandPhaseFromNumber(int32_t number)
{
    switch (number) {
    case 0: return CommandPhase::Press;
    case 1:
    case 2: return CommandPhase::Release;
    case 3: return CommandPhase::Click;
    default: return std::nullopt;
    }
}
