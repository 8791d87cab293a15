#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The items of the drive menus, as the panel receives them: 41000 + drive loads the Video CD
// of that drive, 42000 + drive opens or closes its door (drive 0 is A:, 25 is Z:).
namespace drive_item {
constexpr uint32_t LoadFirst = 41000;
constexpr uint32_t EjectFirst = 42000;
constexpr uint32_t DriveCount = 26;
}  // namespace drive_item

// Where a drive's door stands, or is to stand.
enum class DoorState : uint32_t { Closed = 0, Open = 1 };

enum class DiscMenuForm { Load, Eject };

// One item of a drive menu: the command it sends to the panel and its text.
struct DriveMenuItem {
    uint32_t id = 0;
    std::string text;
};

// Shows the items at the pointer; the chosen one reaches the panel as a command. The panel
// implements it.
class DriveMenuPopup {
public:
    virtual void popup(const std::vector<DriveMenuItem>& items) const = 0;

protected:
    ~DriveMenuPopup() = default;
};

// What the panel's drive items do; playback implements it.
class DriveMenuActions {
public:
    virtual void LoadDisc(uintptr_t drive, intptr_t mode) = 0;
    virtual bool SetDoorState(uint32_t drive, DoorState door) = 0;

protected:
    ~DriveMenuActions() = default;
};
