#include "panel/drive_commands.h"

#include "context/app_context.h"
#include "context/components.h"
#include "playback/playback.h"

namespace {

void toggleDoor(uint32_t drive)
{
    const auto& setDoorState = Panel_DriveMenuHooks().setDoorState;
    if (!setDoorState)
        return;
    DoorState door = DoorState::Open;
    if (!app().settings.ejectCdRomOnly) {
        const std::optional<bool> isOpen = app().components.discbay->isCDRomDoorOpen(drive);
        if (!isOpen)
            return;
        door = *isOpen ? DoorState::Closed : DoorState::Open;
    }
    setDoorState(drive, door);
}

}  // namespace

DriveMenuHooks& Panel_DriveMenuHooks()
{
    return AppPlayback().driveMenuHooks();
}

void Panel_DriveCommand(uintptr_t wParam)
{
    const auto item = static_cast<uint32_t>(wParam & 0xFFFF);
    if (item >= drive_item::LoadFirst && item < drive_item::LoadFirst + drive_item::DriveCount) {
        if (const auto& loadDisc = Panel_DriveMenuHooks().loadDisc)
            loadDisc(item - drive_item::LoadFirst, 0);
    } else if (item >= drive_item::EjectFirst && item < drive_item::EjectFirst + drive_item::DriveCount) {
        toggleDoor(item - drive_item::EjectFirst);
    }
}
