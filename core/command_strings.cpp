#include "core/command_strings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {
// The string table keeps its ids: they are the commands' numbers.
using Row = std::pair<int32_t, std::string_view>;

constexpr std::array kStrings{
    Row{1, "Minimize"},          Row{2, "Help"},           Row{3, "Power"},
    Row{10, "Play"},             Row{11, "Pause"},         Row{12, "Play/Pause"},
    Row{13, "Stop"},             Row{14, "Eject"},         Row{15, "Stop/Eject"},
    Row{16, "Next Track"},       Row{17, "Previous Track"},
    Row{18, "Backward"},         Row{19, "Forward"},
    Row{20, "Fast Backward"},    Row{21, "Fast Forward"},
    Row{22, "Slow Backward"},    Row{23, "Slow Forward"},
    Row{30, "Mute/UnMute"},      Row{31, "Volume Up"},     Row{32, "Volume Down"},
    Row{33, "Sound Quality"},    Row{34, "Audio Channel"}, Row{35, "Sound Channel"},
    Row{36, "Audio Properties"},
    Row{40, "Repeat"},           Row{41, "Play List"},     Row{42, "Disc"},
    Row{43, "Menu Return"},
    Row{50, "Video Topmost"},    Row{51, "Video Size"},
    Row{100, "0"}, Row{101, "1"}, Row{102, "2"}, Row{103, "3"}, Row{104, "4"},
    Row{105, "5"}, Row{106, "6"}, Row{107, "7"}, Row{108, "8"}, Row{109, "9"},
    Row{110, "+ 10"},            Row{120, "Return"},
};
static_assert(std::ranges::is_sorted(kStrings, {}, &Row::first));
}  // namespace

std::string_view CommandTooltip(CommandId id)
{
    const int32_t number = CommandNumber(id);
    const auto found = std::ranges::lower_bound(kStrings, number, {}, &Row::first);
    return found != kStrings.end() && found->first == number ? found->second : std::string_view();
}
