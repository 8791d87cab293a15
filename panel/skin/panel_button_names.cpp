#include "panel/skin/panel_button_names.h"

#include <algorithm>
#include <array>

#include "core/text.h"
#include "core/command_id.h"

namespace {
using enum CommandId;

// "Volume Up" binds 31 and "Volume Down" 32, whatever those commands do: skins rely on it.
constexpr std::array<PanelButtonName, 42> kNames{{
    {"Panel Minimize", Minimize},
    {"Help", Help},
    {"Power", Power},
    {"Play", Play},
    {"Pause", Pause},
    {"Play/Pause", PlayPause},
    {"Stop", Stop},
    {"Eject", Eject},
    {"Stop/Eject", StopEject},
    {"Next Track", NextTrack},
    {"Previous Track", PreviousTrack},
    {"Backward", Backward},
    {"Forward", Forward},
    {"Fast Backward", FastBackward},
    {"Fast Forward", FastForward},
    {"Slow Backward", SlowBackward},
    {"Slow Forward", SlowForward},
    {"Mute", MuteUnMute},
    {"Volume Up", VolumeUp},
    {"Volume Down", VolumeDown},
    {"Sound Quality", SoundQuality},
    {"Audio Channel", AudioChannel},
    {"Sound Channel", SoundChannel},
    {"Audio Properties", AudioProperties},
    {"Repeat", Repeat},
    {"Play List", PlayList},
    {"Disc", Disc},
    {"Menu Return", MenuReturn},
    {"Video Topmost", VideoTopmost},
    {"Video Size", VideoSize},
    {"NumPad 0", Digit0},
    {"NumPad 1", Digit1},
    {"NumPad 2", Digit2},
    {"NumPad 3", Digit3},
    {"NumPad 4", Digit4},
    {"NumPad 5", Digit5},
    {"NumPad 6", Digit6},
    {"NumPad 7", Digit7},
    {"NumPad 8", Digit8},
    {"NumPad 9", Digit9},
    {"NumPad 10", PlusTen},
    {"Return", Return},
}};
}  // namespace

std::span<const PanelButtonName> PanelButtonNames()
{
    return kNames;
}

std::optional<CommandId> FindPanelButtonCommand(std::string_view name)
{
    const std::span<const PanelButtonName> names = PanelButtonNames();
    const auto found = std::ranges::find_if(names, [&](const PanelButtonName& row) {
        return EqualsIgnoringCase(row.name, name);
    });
    if (found == names.end())
        return std::nullopt;
    return found->command;
}
