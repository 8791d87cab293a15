#include "playback/disc_menu.h"

#include <vector>

#include "core/window.h"
#include "components/components.h"
#include "components/discbay/drive_table.h"
#include "disc/image_disc.h"
#include "playback/playback.h"
#include "core/app_windows.h"
#include "core/player_state.h"
#include "components/discbay/drive_view.h"

namespace {
uint32_t baseOf(DiscMenuForm form)
{
    return form == DiscMenuForm::Load ? drive_item::LoadFirst : drive_item::EjectFirst;
}
}  // namespace

// The label of what the drive holds now; a drive with nothing in it has none to read.
std::string Playback::labelOf(const DriveTable& drives, uint32_t drive) const
{
    if (!drives.presentRoot(drive, DoorsOf(*components_.discbay)))
        return {};
    const DriveSlot& slot = drives.slot(drive);
    return slot.image ? ImageDiscLabel(slot.root) : slot.label;
}

std::string DiscMenuItemText(uint32_t drive, const std::string& label)
{
    std::string text = "<";
    text += static_cast<char>('A' + drive % kDriveCount);
    text += ":>";
    if (!label.empty())
        text += " " + label;
    return text;
}

bool Playback::ShowDiscMenu(DiscMenuForm form)
{
    Window* panel = windows_.panel;
    if (!panel)
        return false;
    DiscbayDrives& discbay = *components_.discbay;
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

    if (!popup_)
        return false;
    const DriveTable drives = drives_.current();
    std::vector<DriveMenuItem> items;
    for (uint32_t ordinal = 1; ordinal <= count; ++ordinal) {
        const std::optional<uint32_t> ordinalDrive = discbay.getCDRomDrive(ordinal);
        if (!ordinalDrive)
            return false;
        const uint32_t drive = *ordinalDrive & 0xFFFF;
        items.push_back({base + drive, DiscMenuItemText(drive, labelOf(drives, drive))});
    }
    popup_->popup(items);
    return true;
}

bool Playback::StopOrEject()
{
    if (state_.trackCount == 0 ||
        engine().getStatus().value_or(engine_status::Stopped) == engine_status::Stopped)
        return ShowDiscMenu(DiscMenuForm::Eject);
    return Stop(true, true);
}

bool Playback::SetDoorState(uint32_t drive, DoorState door)
{
    DiscbayDrives& discbay = *components_.discbay;
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
