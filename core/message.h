#pragma once

#include <cstdint>

// A window message. The numbers stay those of the boundaries they cross:
// the component notifications, the second start, the multimedia keys.
struct Message {
    uint32_t id = 0;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;

    bool operator==(const Message&) const = default;
};

namespace msg {
constexpr uint32_t Close = 0x0010;
constexpr uint32_t EndSession = 0x0016;
constexpr uint32_t Command = 0x0111;
constexpr uint32_t SysCommand = 0x0112;
constexpr uint32_t Timer = 0x0113;
constexpr uint32_t DeviceChange = 0x0219;
constexpr uint32_t AppCommand = 0x0319;
constexpr uint32_t MixerControlChange = 0x03D1;
constexpr uint32_t User = 0x0400;
constexpr uint32_t MultimediaKey = User;      // a multimedia key re-posted to the main window
constexpr uint32_t DiscEvent = User + 100;    // from the CD-ROM component
constexpr uint32_t SecondStart = User + 101;  // from a second start
}  // namespace msg

// WM_USER + 101: what the second start asks for.
namespace second_start {
constexpr uintptr_t Play = 0;
constexpr uintptr_t LoadDrive = 1;
}  // namespace second_start
