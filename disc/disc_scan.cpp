#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "components/discbay/drive_table.h"
#include "components/discbay/discbay.h"
#include "components/discbay/drive_view.h"
#include "core/player_settings.h"
#include "disc/image_disc.h"
#include "disc/play_list.h"

// A Video CD's (or Super Video CD's) playable files, sorted, in a list of their own; the play list is replaced only
// when the disc holds at least one.
bool PlayListStore::loadDisc(const DriveTable& drives, DiscbayDrives& discbay, uint32_t drive)
{
    const std::optional<std::string> root = drives.presentRoot(drive, DoorsOf(discbay));
    if (!root)
        return false;
    if (drives.slot(drive).image) {
        PlayList found;
        if (AddListedFilesSorted(&found, ImageDiscFiles(*root)) == 0)
            return false;
        return CopyList(&*list_, &found);
    }
    const std::string folder = DiscFolderOf(*root);
    if (folder.empty())
        return false;
    PlayList found;
    if (!AddFolderFilesSorted(&found, folder) || found.entries.empty())
        return false;
    return CopyList(&*list_, &found);
}

namespace {
// An entry is the drive's when the drive's folder now, or one it held before a "gone" notice,
// is the longest folder of the table that holds the entry's path.
bool isDrivesEntry(const DriveTable& drives, uint32_t drive, const std::vector<std::string>& goneRoots,
                   const std::string& path)
{
    const std::optional<uint32_t> owner = drives.driveOf(path);
    if (owner == drive)
        return true;
    const size_t ownerRoot = owner ? drives.slot(*owner).root.size() : 0;
    return std::any_of(goneRoots.begin(), goneRoots.end(), [&](const std::string& root) {
        return IsInFolder(path, root) && root.size() >= ownerRoot;
    });
}

bool dropDrive(std::vector<PlayListEntry>& entries, const DriveTable& drives, uint32_t drive,
               const std::vector<std::string>& goneRoots)
{
    if (entries.empty())
        return false;
    const size_t before = entries.size();
    std::erase_if(entries, [&](const PlayListEntry& entry) { return isDrivesEntry(drives, drive, goneRoots, entry.path); });
    return entries.size() != before;
}
}  // namespace

std::string DiscFolderOf(const std::string& root)
{
    return FindDiscStreamFolder(root);
}

bool PlayListStore::ScanDisc(DiscbayDrives& discbay, DriveView& drives, uint32_t drive, uint32_t mode)
{
    // Only the low 16 bits name the drive.
    const uint32_t index = drive & 0xFFFF;
    if (index >= kDriveCount)
        return false;
    // A drop handles the drive's "gone" notices: what they kept is let go even when nothing
    // is left to drop.
    const std::vector<std::string> goneRoots = mode == 0 ? std::vector<std::string>{} : discbay.takeGoneRoots(index);
    if (!list_)
        return false;
    const DriveTable table = drives.current();
    return mode == 0 ? loadDisc(table, discbay, index) : dropDrive(list_->entries, table, index, goneRoots);
}
