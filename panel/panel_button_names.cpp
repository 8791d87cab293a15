#include "panel/panel_button_names.h"

#include <algorithm>
#include <array>

#include "app/text.h"
#include "playback/command_id.h"

namespace {
using namespace command_id;

// "Volume Up" binds 31 and "Volume Down" 32, whatever those commands do: skins rely on it.
constexpr std::array<PanelButtonName, 41> kNames{{
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
    {"Video Topmost", VideoTopmost},
    {"Video Size", VideoSize},
    {"NumPad 0", Digit0 + 0},
    {"NumPad 1", Digit0 + 1},
    {"NumPad 2", Digit0 + 2},
    {"NumPad 3", Digit0 + 3},
    {"NumPad 4", Digit0 + 4},
    {"NumPad 5", Digit0 + 5},
    {"NumPad 6", Digit0 + 6},
    {"NumPad 7", Digit0 + 7},
    {"NumPad 8", Digit0 + 8},
    {"NumPad 9", Digit0 + 9},
    {"NumPad 10", PlusTen},
    {"Return", Return},
}};
}  // namespace

std::span<const PanelButtonName> PanelButtonNames()
{
    return kNames;
}

std::optional<uint32_t> FindPanelButtonCommand(std::string_view name)
{
    const std::span<const PanelButtonName> names = PanelButtonNames();
    const auto found = std::ranges::find_if(names, [&](const PanelButtonName& row) {
        return EqualsIgnoringCase(row.name, name);
    });
    if (found == names.end())
        return std::nullopt;
    return found->command;
}
