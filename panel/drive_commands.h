#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The items of the drive menus, as the panel receives them: 41000 + drive loads the Video CD
// of that drive, 42000 + drive opens or closes its door (drive 0 is A:, 25 is Z:).
namespace drive_item {
constexpr uint32_t LoadFirst = 41000;
constexpr uint32_t EjectFirst = 42000;
constexpr uint32_t DriveCount = 26;
}  // namespace drive_item

// One item of a drive menu: the command it sends to the panel and its text.
struct DriveMenuItem {
    uint32_t id = 0;
    std::string text;
};

// What the items do; an empty entry is a part not built in, and its items change nothing.
struct DriveMenuHooks {
    std::function<void(uintptr_t drive, intptr_t mode)> loadDisc{};
    std::function<uint32_t(uint32_t drive, uint32_t open)> setDoorState{};
    // Shows the items at the pointer; the chosen one reaches the panel as a command.
    std::function<void(const std::vector<DriveMenuItem>& items)> popup{};
};
DriveMenuHooks& Panel_DriveMenuHooks();

// A menu item (the low 16 bits of the command's wParam count); anything else does nothing.
void Panel_DriveCommand(uintptr_t wParam);
