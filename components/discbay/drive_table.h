#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class IniFile;

// What kind of drive a letter stands for; the numbers are the ones drive menus show by.
enum class DriveType : uint32_t { Unknown = 0, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

// One letter's place in the table. Roots are folders without a trailing "/", except "/".
struct DriveSlot {
    std::string root{};  // empty: the letter stands for nothing
    DriveType type = DriveType::Unknown;
    std::string label{};
    bool bound = false;  // set by the "Drives" section of the configuration
    std::string device{};  // a CD-ROM drive's device node; its root is where its disc is mounted
    bool image = false;  // the root is a disc image file that acts as a CD-ROM drive
};

constexpr uint32_t kDriveCount = 26;
constexpr uint32_t kHomeDrive = 'C' - 'A';
constexpr uint32_t kRootDrive = 'Z' - 'A';
constexpr uint32_t kFirstFreeDrive = 'D' - 'A';

// A mounted volume as the system lists it.
struct MountPoint {
    std::string folder;
    std::string fileSystem;
    std::string source{};  // the device or other thing mounted there
};

// What the table of this machine is built from, besides the system's own lists.
struct DriveSources {
    std::vector<std::string> cdRomDevices{};  // the CD-ROM drives' device nodes in device order
    const IniFile* configuration = nullptr;  // its section "Drives" binds letters
    std::vector<std::string> images{};  // disc image files opened as drives, oldest first
};

// Whether the door of a drive stands open, as the drive component keeps it.
using DoorQuery = std::function<bool(uint32_t drive)>;

// Where the letters stand: C: the home folder, Z: the root, from D: up the CD-ROM drives, the
// disc images opened as drives, then the removable, network and RAM volumes mounted under the
// usual folders; a letter bound in the configuration replaces whatever would stand there.
class DriveTable {
public:
    // The table of this machine now: the given drives and images, its mounts, the user's home,
    // the configuration's bindings.
    static DriveTable current(const DriveSources& sources);
    // The table from given facts (tests, and current() itself). cdRomDevices lists the CD-ROM
    // drives' device nodes in device order; each takes its letter, holding a disc while the
    // device is mounted. images are disc image files, each a drive after them.
    static DriveTable build(const std::string& home, const std::string& user,
                            const std::vector<std::string>& cdRomDevices, const std::vector<MountPoint>& mounts,
                            const IniFile& configuration, const std::vector<std::string>& images = {});

    const DriveSlot& slot(uint32_t drive) const { return slots_[drive % kDriveCount]; }
    // The drive whose root is the longest leading folder of the path.
    std::optional<uint32_t> driveOf(std::string_view path) const;
    // The folder of a drive while it holds something: a bound folder that exists and is not
    // empty, a disc image that exists, or any other letter's existing root. A bound CD-ROM
    // drive or an image whose door doorOpen reports open holds nothing.
    std::optional<std::string> presentRoot(uint32_t drive, const DoorQuery& doorOpen = {}) const;
    // A drive with a door: a CD-ROM device, a folder bound as a CD-ROM drive, a disc image.
    bool isCdRomDrive(uint32_t drive) const;

private:
    std::array<DriveSlot, kDriveCount> slots_;
};

// What the drive component reads the table from each time it looks.
class DriveTableSource {
public:
    virtual ~DriveTableSource() = default;
    virtual DriveTable current() = 0;
};

// Mount points listed in the text of /proc/self/mountinfo, octal escapes undone.
std::vector<MountPoint> ParseMountInfo(std::string_view text);
// Whether a folder is one the table takes volumes from (under /media, /run/media/<user>, /mnt).
bool IsVolumeFolder(std::string_view folder, std::string_view user);
// The type a volume's file system tells.
DriveType TypeOfFileSystem(std::string_view fileSystem);

// Whether a path is the folder or lies under it.
bool IsInFolder(std::string_view path, std::string_view folder);

// Whether a file's name marks a disc image (".cue", any case).
bool IsDiscImageName(std::string_view path);

// Finds a child folder's real name without regard to case; empty when there is none.
std::string FindChildFolder(const std::string& folder, std::string_view name);

// The folders a disc keeps its streams in, by preference: a Video CD's, then, on a disc
// without one, a Super Video CD's.
inline constexpr std::string_view kDiscStreamFolders[] = {"MpegAV", "MPEG2"};
// The stream folder under a disc's root, found without regard to case; empty when none.
std::string FindDiscStreamFolder(const std::string& root);
