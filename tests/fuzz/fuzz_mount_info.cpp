// The text of /proc/self/mountinfo, and what the drive table makes of the mounts it lists.
#include <cstdint>

#include "components/discbay/drive_table.h"
#include "core/ini_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<MountPoint> mounts = ParseMountInfo(fuzz::Bytes(data, size));
    for (const MountPoint& mount : mounts) {
        (void)IsVolumeFolder(mount.folder, "me");
        (void)TypeOfFileSystem(mount.fileSystem);
        (void)IsDiscImageName(mount.source);
    }
    const DriveTable table = DriveTable::build("/nonexistent/home", "me", {"/dev/sr0"}, mounts, IniFile::parse(""));
    for (uint32_t drive = 0; drive < kDriveCount; ++drive)
        (void)table.isCdRomDrive(drive);
    return 0;
}
