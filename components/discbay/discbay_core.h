#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "components/discbay/discbay.h"
#include "components/discbay/drive_hardware.h"
#include "components/discbay/drive_table.h"

// A disc coming or going as the device manager reports it for a CD-ROM device.
struct MediumNotice {
    std::string device;
    bool medium = false;     // a disc is in the drive
    std::string fileSystem;  // the file system found on it, empty for none (an audio CD)
    std::string usage;       // what that file system is for: "filesystem" for data
};

// Whatever tells the component that something may have changed; it stops when destroyed.
class DiscWatch {
public:
    virtual ~DiscWatch() = default;
};

// The CD-ROM drives: the drive table's letters with a door, in letter order. Physical drives
// are asked through the hardware layer; folders and disc images bound as drives have a door
// flag kept here (closed at start). Without a hardware layer the physical drives refuse every
// door call but their mounts are still told. Each rescan compares what every drive holds with what it
// held before and posts one message per change.
class DiscbayCore : public DiscbayDrives {
public:
    using TableSource = std::function<DriveTable()>;
    using WatchMaker = std::function<std::unique_ptr<DiscWatch>(DiscbayCore&)>;

    explicit DiscbayCore(std::unique_ptr<DriveHardware> hardware, TableSource tables,
                         WatchMaker watch = {});
    ~DiscbayCore() override;
    DiscbayCore(const DiscbayCore&) = delete;
    DiscbayCore& operator=(const DiscbayCore&) = delete;

    uint32_t init(Window* mainWindow, uint32_t message) override;
    uint32_t deInit(Window* mainWindow) override;
    uint32_t deviceChange(uint32_t event, const DeviceHeader* header) override;
    uint32_t getTotalCDRomDrives(uint32_t* count) override;
    uint32_t getCDRomDrive(uint32_t ordinal, uint32_t* drive) override;
    uint32_t isCDRomDoorOpen(uint32_t drive, uint32_t* open) override;
    uint32_t openCDRomDoor(uint32_t drive, uint32_t open) override;

    // Looks at every drive now and posts its changes; nothing before init or after deInit.
    void rescan();
    // A medium arrived in or left a device: a data disc that nothing mounts is mounted.
    void mediumChanged(const MediumNotice& notice);

private:
    // What a letter stood for and whether it held something at the last look.
    struct Seen {
        std::string identity;
        bool present = false;
    };
    // The door of a folder or image drive, for the thing it was moved on.
    struct KeptDoor {
        std::string identity;
        bool open = false;
    };

    DriveTable currentTable() const;
    bool keptDoorOpen(uint32_t drive, const std::string& identity) const;
    bool holds(const DriveTable& table, uint32_t drive) const;
    void post(uint32_t drive, bool gone);

    std::unique_ptr<DriveHardware> hardware_;
    TableSource tables_;
    WatchMaker watchMaker_;
    std::unique_ptr<DiscWatch> watch_;
    const DriveTable* scanning_ = nullptr;  // the table of the rescan under way
    Window* window_ = nullptr;
    uint32_t message_ = 0;
    std::array<std::optional<Seen>, kDriveCount> seen_{};
    std::array<KeptDoor, kDriveCount> doors_{};
};

// What names a drive across rescans: its device, or its image or folder.
std::string DriveIdentity(const DriveSlot& slot);
// Whether a medium holds a file system for data that is worth mounting.
bool HoldsDataFileSystem(const MediumNotice& notice);
