#include <optional>

#include "app/app_context.h"
#include "disc/drive_table.h"
#include "disc/image_disc.h"
#include "disc/play_list.h"

namespace {
// A Video CD's (or Super Video CD's) playable files, sorted, in a list of their own; the play list is replaced only
// when the disc holds at least one.
bool loadDisc(const DriveTable& drives, uint32_t drive)
{
    const std::optional<std::string> root = drives.presentRoot(drive);
    if (!root)
        return false;
    if (drives.slot(drive).image) {
        PlayList found;
        if (AddListedFilesSorted(&found, ImageDiscFiles(*root)) == 0)
            return false;
        return CopyList(&*app().playList, &found);
    }
    const std::string folder = FindDiscStreamFolder(*root);
    if (folder.empty())
        return false;
    PlayList found;
    if (!AddFolderFilesSorted(&found, folder) || found.entries.empty())
        return false;
    return CopyList(&*app().playList, &found);
}

bool dropDrive(const DriveTable& drives, uint32_t drive)
{
    auto& entries = app().playList->entries;
    if (entries.empty())
        return false;
    const size_t before = entries.size();
    std::erase_if(entries, [&](const PlayListEntry& entry) { return drives.driveOf(entry.path) == drive; });
    return entries.size() != before;
}
}  // namespace

bool ScanDisc(uint32_t drive, uint32_t mode)
{
    if (!app().playList)
        return false;
    // Only the low 16 bits name the drive.
    const uint32_t index = drive & 0xFFFF;
    if (index >= kDriveCount)
        return false;
    const DriveTable drives = DriveTable::current();
    return mode == 0 ? loadDisc(drives, index) : dropDrive(drives, index);
}
