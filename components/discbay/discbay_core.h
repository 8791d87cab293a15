#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

// What tells the component that something may have changed; it stops when destroyed.
class DiscWatch {
public:
    virtual ~DiscWatch() = default;
    // The component has just looked at every drive; what is to be watched may have changed.
    virtual void looked() {}
};

// What makes the component look again besides rescan() and mediumChanged().
struct DiscWatching {
    bool system = false;     // the system's notices, from init to deInit
    int slowLookMs = 10000;  // the clock, while some bound drive has nothing the system can watch
};

// The CD-ROM drives: the drive table's letters with a door, in letter order. Physical drives
// are asked through the hardware layer; folders and disc images bound as drives have a door
// flag kept here (closed at start). Without a hardware layer the physical drives refuse every
// door call but their mounts are still told. Each rescan compares what every drive holds with what it
// held before and posts one message per change.
class DiscbayCore : public DiscbayDrives {
public:
    // tables is read at each look and must outlive the component.
    explicit DiscbayCore(std::unique_ptr<DriveHardware> hardware, DriveTableSource& tables, DiscWatching watching = {});
    ~DiscbayCore() override;
    DiscbayCore(const DiscbayCore&) = delete;
    DiscbayCore& operator=(const DiscbayCore&) = delete;

    bool init(Window* mainWindow, uint32_t message) override;
    bool deInit(Window* mainWindow) override;
    bool deviceChange(uint32_t event, const DeviceHeader* header) override;
    std::optional<uint32_t> getTotalCDRomDrives() override;
    std::optional<uint32_t> getCDRomDrive(uint32_t ordinal) override;
    std::optional<bool> isCDRomDoorOpen(uint32_t drive) override;
    bool openCDRomDoor(uint32_t drive, bool open) override;
    std::vector<std::string> takeGoneRoots(uint32_t drive) override;

    // Looks at every drive now and posts its changes; nothing before init or after deInit.
    void rescan();
    // A medium arrived in or left a device: a data disc that nothing mounts is mounted.
    void mediumChanged(const MediumNotice& notice);
    // The folders and images bound or opened as drives at the last look, which tell nobody
    // when they fill, empty or go.
    std::vector<std::string> boundRoots() const;

private:
    // What a letter stood for and whether it held something at the last look.
    struct Seen {
        std::string identity;
        bool present = false;
        std::string root{};  // where it held it
        bool bound = false;  // a folder or an image, not a device
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
    void keepGoneRoot(uint32_t drive, const Seen& before);
    void ejectMounted(uint32_t drive, const std::string& device);

    std::unique_ptr<DriveHardware> hardware_;
    DriveTableSource& tables_;
    const DiscWatching watching_;
    std::unique_ptr<DiscWatch> watch_;
    const DriveTable* scanning_ = nullptr;  // the table of the rescan under way
    Window* window_ = nullptr;
    uint32_t message_ = 0;
    std::array<std::optional<Seen>, kDriveCount> seen_{};
    std::array<KeptDoor, kDriveCount> doors_{};
    std::array<std::vector<std::string>, kDriveCount> goneRoots_{};
    std::array<bool, kDriveCount> ejecting_{};  // the disk service has not answered yet
};

// What names a drive across rescans: its device, or its image or folder.
std::string DriveIdentity(const DriveSlot& slot);
// Whether a medium holds a file system for data that is worth mounting.
bool HoldsDataFileSystem(const MediumNotice& notice);
