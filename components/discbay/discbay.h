#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "components/discbay/drive_table.h"

class Window;
struct DeviceHeader;

// The CD-ROM drives. Drives are named by index, 0 = A:. After init the component posts
// the given message to the window for each disc event: wParam the drive, lParam 0 when a
// disc arrived, nonzero when it is gone.
class DiscbayDrives {
public:
    virtual ~DiscbayDrives() = default;
    virtual bool init(Window* mainWindow, uint32_t message) = 0;
    virtual bool deInit(Window* mainWindow) = 0;
    virtual bool deviceChange(uint32_t event, const DeviceHeader* header) = 0;
    virtual std::optional<uint32_t> getTotalCDRomDrives() = 0;
    // The drive of the ordinal-th CD-ROM drive, counted from 1.
    virtual std::optional<uint32_t> getCDRomDrive(uint32_t ordinal) = 0;
    virtual std::optional<bool> isCDRomDoorOpen(uint32_t drive) = 0;
    virtual bool openCDRomDoor(uint32_t drive, bool open) = 0;
    // The folders the drive held before each "gone" notice posted for it and not yet handled:
    // a disc that left without the player's eject has no folder in the table any more, and
    // its entries are found by these. Taking them ends their keeping.
    virtual std::vector<std::string> takeGoneRoots(uint32_t /*drive*/) { return {}; }
};

// No drives: every call is refused.
class NoDrives : public DiscbayDrives {
public:
    bool init(Window*, uint32_t) override { return false; }
    bool deInit(Window*) override { return false; }
    bool deviceChange(uint32_t, const DeviceHeader*) override { return false; }
    std::optional<uint32_t> getTotalCDRomDrives() override { return {}; }
    std::optional<uint32_t> getCDRomDrive(uint32_t) override { return {}; }
    std::optional<bool> isCDRomDoorOpen(uint32_t) override { return {}; }
    bool openCDRomDoor(uint32_t, bool) override { return false; }
};

// The doors as the drives tell them; a door that cannot be told counts as closed.
inline DoorQuery DoorsOf(DiscbayDrives& drives)
{
    return [&drives](uint32_t drive) { return drives.isCDRomDoorOpen(drive).value_or(false); };
}
