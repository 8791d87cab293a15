#include "panel/drive_commands.h"

#include "app/app_context.h"
#include "components/discbay.h"
#include "disc/load_disc.h"

namespace {

void toggleDoor(uint32_t drive)
{
    const auto& setDoorState = Panel_DriveMenuHooks().setDoorState;
    if (!setDoorState)
        return;
    uint32_t open = 1;
    if (!app().settings.ejectCdRomOnly) {
        uint32_t isOpen = 0;
        if (!Discbay_IsCDRomDoorOpen(drive, &isOpen))
            return;
        open = isOpen ? 0 : 1;
    }
    setDoorState(drive, open);
}

}  // namespace

DriveMenuHooks& Panel_DriveMenuHooks()
{
    return app().driveMenuHooks;
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
