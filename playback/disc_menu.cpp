#include "playback/disc_menu.h"

#include <vector>

#include "context/app_context.h"
#include "core/window.h"
#include "context/components.h"
#include "components/discbay/drive_table.h"
#include "disc/image_disc.h"
#include "playback/load_disc.h"
#include "context/drive_menu_hooks.h"
#include "playback/track_entry.h"
#include "playback/transport.h"

namespace {
uint32_t baseOf(DiscMenuForm form)
{
    return form == DiscMenuForm::Load ? drive_item::LoadFirst : drive_item::EjectFirst;
}

// The label of what the drive holds now; a drive with nothing in it has none to read.
std::string labelOf(const DriveTable& drives, uint32_t drive)
{
    if (!drives.presentRoot(drive, DoorsOf(*app().components.discbay)))
        return {};
    const DriveSlot& slot = drives.slot(drive);
    return slot.image ? ImageDiscLabel(slot.root) : slot.label;
}
}  // namespace

std::string DiscMenuItemText(uint32_t drive, const std::string& label)
{
    std::string text = "<";
    text += static_cast<char>('A' + drive % kDriveCount);
    text += ":>";
    if (!label.empty())
        text += " " + label;
    return text;
}

bool ShowDiscMenu(DiscMenuForm form)
{
    Window* panel = app().windows.panel;
    if (!panel)
        return false;
    DiscbayDrives& discbay = *app().components.discbay;
    const uint32_t count = discbay.getTotalCDRomDrives().value_or(0) & 0xFFFF;
    if (count == 0)
        return false;
    const uint32_t base = baseOf(form);
    if (count == 1) {
        const std::optional<uint32_t> drive = discbay.getCDRomDrive(1);
        if (!drive)
            return false;
        panel->post({msg::Command, base + (*drive & 0xFFFF), 0});
        return true;
    }

    const auto& popup = app().driveMenuHooks.popup;
    if (!popup)
        return false;
    const DriveTable drives = app().drives.current();
    std::vector<DriveMenuItem> items;
    for (uint32_t ordinal = 1; ordinal <= count; ++ordinal) {
        const std::optional<uint32_t> ordinalDrive = discbay.getCDRomDrive(ordinal);
        if (!ordinalDrive)
            return false;
        const uint32_t drive = *ordinalDrive & 0xFFFF;
        items.push_back({base + drive, DiscMenuItemText(drive, labelOf(drives, drive))});
    }
    popup(items);
    return true;
}

bool StopOrEject()
{
    if (app().state.trackCount == 0 ||
        app().components.reelkit->getStatus().value_or(engine_status::Stopped) == engine_status::Stopped)
        return ShowDiscMenu(DiscMenuForm::Eject);
    return Stop(true, true);
}

bool SetDoorState(uint32_t drive, DoorState door)
{
    DiscbayDrives& discbay = *app().components.discbay;
    const std::optional<bool> isOpen = discbay.isCDRomDoorOpen(drive);
    if (!isOpen)
        return false;
    const bool open = door == DoorState::Open;
    if (*isOpen == open)
        return true;
    EndTrackEntry(true);
    if (open)
        LoadDisc(drive, 1);
    return discbay.openCDRomDoor(drive, open);
}
