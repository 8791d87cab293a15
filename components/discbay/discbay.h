#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Window;
struct DeviceHeader;

// The CD-ROM drives. Drives are named by index, 0 = A:. After init the component posts
// the given message to the window for each disc event: wParam the drive, lParam 0 when a
// disc arrived, nonzero when it is gone.
class DiscbayDrives {
public:
    virtual ~DiscbayDrives() = default;
    virtual uint32_t init(Window* mainWindow, uint32_t message) = 0;
    virtual uint32_t deInit(Window* mainWindow) = 0;
    virtual uint32_t deviceChange(uint32_t event, const DeviceHeader* header) = 0;
    virtual uint32_t getTotalCDRomDrives(uint32_t* count) = 0;
    virtual uint32_t getCDRomDrive(uint32_t ordinal, uint32_t* drive) = 0;
    virtual uint32_t isCDRomDoorOpen(uint32_t drive, uint32_t* open) = 0;
    virtual uint32_t openCDRomDoor(uint32_t drive, uint32_t open) = 0;
    // The folders the drive held before each "gone" notice posted for it and not yet handled:
    // a disc that left without the player's eject has no folder in the table any more, and
    // its entries are found by these. Taking them ends their keeping.
    virtual std::vector<std::string> takeGoneRoots(uint32_t /*drive*/) { return {}; }
};
