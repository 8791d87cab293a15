#include "panel/drive_commands.h"

#include "components/components.h"
#include "core/player_settings.h"

namespace {

void toggleDoor(DriveMenuActions& menus, const PlayerSettings& settings, Components& components, uint32_t drive)
{
    DoorState door = DoorState::Open;
    if (!settings.ejectCdRomOnly) {
        const std::optional<bool> isOpen = components.discbay->isCDRomDoorOpen(drive);
        if (!isOpen)
            return;
        door = *isOpen ? DoorState::Closed : DoorState::Open;
    }
    menus.SetDoorState(drive, door);
}

}  // namespace

void Panel_DriveCommand(DriveMenuActions& menus, const PlayerSettings& settings, Components& components,
                        uintptr_t wParam)
{
    const auto item = static_cast<uint32_t>(wParam & 0xFFFF);
    if (item >= drive_item::LoadFirst && item < drive_item::LoadFirst + drive_item::DriveCount) {
        menus.LoadDisc(item - drive_item::LoadFirst, 0);
    } else if (item >= drive_item::EjectFirst && item < drive_item::EjectFirst + drive_item::DriveCount) {
        toggleDoor(menus, settings, components, item - drive_item::EjectFirst);
    }
}
