#include "disc/dialog/dialog_folder_combo.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "components/discbay/drive_view.h"
#include "disc/image_disc.h"

namespace {
bool listedType(DriveType type)
{
    switch (type) {
    case DriveType::Removable:
    case DriveType::Fixed:
    case DriveType::Remote:
    case DriveType::CdRom:
    case DriveType::RamDisk:
        return true;
    case DriveType::Unknown:
        break;
    }
    return false;
}

bool stays(const FolderComboItem& item, const FolderProbe& probe)
{
    if (item.isRoot)
        return probe.driveType(item.drive, item.root) != DriveType::Unknown;
    // A folder that is merely gone, or on a drive without its disc, stays.
    return probe.access(item.path) != FolderAccess::Denied;
}

// The part of a path below its drive's root; the root "/" keeps the whole path.
std::string_view belowRoot(const FolderComboItem& item)
{
    std::string_view path = item.path;
    const size_t rootLength = item.root == "/" ? 0 : item.root.size();
    return rootLength <= path.size() ? path.substr(rootLength) : std::string_view{};
}
}  // namespace

void FillDriveCombo(FolderCombo& combo, const DriveTable& drives)
{
    combo = {};
    std::optional<size_t> firstFixed;
    std::optional<size_t> firstCdRom;
    for (uint32_t drive = 0; drive < kDriveCount; ++drive) {
        const DriveSlot& slot = drives.slot(drive);
        if (slot.root.empty() || !listedType(slot.type))
            continue;
        if (slot.type == DriveType::Fixed && !firstFixed)
            firstFixed = combo.items.size();
        if (slot.type == DriveType::CdRom && !firstCdRom)
            firstCdRom = combo.items.size();
        combo.items.push_back({slot.root, drive, slot.root, true, 1});
    }
    if (firstCdRom)
        combo.selected = firstCdRom;
    else if (firstFixed)
        combo.selected = firstFixed;
    else if (!combo.items.empty())
        combo.selected = 0;
}

void CheckFolderCombo(FolderCombo& combo, const FolderProbe& probe)
{
    auto& items = combo.items;
    if (items.empty())
        return;
    if (!combo.selected || *combo.selected >= items.size())
        combo.selected = 0;
    for (size_t at = 0; at < items.size();) {
        if (stays(items[at], probe)) {
            ++at;
            continue;
        }
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(at));
        if (items.empty()) {
            combo.selected.reset();
            return;
        }
        // The item that moves up into the removed one's place is examined next; the
        // selection stays on its item, or passes to the one taking its place (the last).
        if (at < *combo.selected)
            --*combo.selected;
        else if (at == *combo.selected)
            combo.selected = std::min(at, items.size() - 1);
    }
    for (size_t at = 0; at < items.size(); ++at)
        items[at].mark = at == *combo.selected ? 0 : 1;
}

std::optional<std::string> SelectFolder(FolderCombo& combo, size_t chosen)
{
    auto& items = combo.items;
    if (chosen >= items.size())
        return std::nullopt;
    const FolderComboItem picked = items[chosen];
    const uint32_t depth = FolderDepth(picked);
    // Roots stay; of the folders only those above the chosen one on its own chain: the
    // folders below it and the chain of any other drive go.
    const auto keep = [&](const FolderComboItem& item) {
        return item.isRoot || (!picked.isRoot && item.drive == picked.drive && FolderDepth(item) <= depth);
    };
    size_t kept = 0;
    size_t pickedAt = 0;
    std::vector<FolderComboItem> left;
    for (size_t at = 0; at < items.size(); ++at) {
        if (at == chosen)
            pickedAt = kept;
        if (at == chosen || keep(items[at])) {
            left.push_back(std::move(items[at]));
            ++kept;
        }
    }
    items = std::move(left);
    combo.selected = pickedAt;
    return picked.path;
}

bool EnterFolder(FolderCombo& combo, const std::string& folder)
{
    if (!combo.selected || *combo.selected >= combo.items.size() || folder.empty())
        return false;
    const FolderComboItem& parent = combo.items[*combo.selected];
    FolderComboItem item{folder, parent.drive, parent.root, false, 1};
    while (item.path.size() > 1 && item.path.back() == '/')
        item.path.pop_back();
    const size_t at = *combo.selected + 1;
    combo.items.insert(combo.items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
    combo.selected = at;
    return true;
}

uint32_t FolderDepth(const FolderComboItem& item)
{
    if (item.isRoot)
        return 0;
    const std::string_view below = belowRoot(item);
    return static_cast<uint32_t>(std::count(below.begin(), below.end(), '/'));
}

ItemPlaces ItemPlacesAt(int smallIconWidth, uint32_t depth)
{
    const int indent = (smallIconWidth / 4) * static_cast<int>(depth);
    return {indent + 2, indent + smallIconWidth + 4};
}

std::string FolderComboLabel(const FolderComboItem& item, const DriveSlot& slot)
{
    if (!item.isRoot) {
        const size_t slash = item.path.find_last_of('/');
        return slash == std::string::npos ? item.path : item.path.substr(slash + 1);
    }
    const std::string letter = "(" + std::string(1, static_cast<char>('A' + item.drive)) + ":)";
    // A removable drive is not asked for its label.
    if (slot.type == DriveType::Removable || slot.label.empty())
        return letter;
    return slot.label + " " + letter;
}

FolderAccess ProbeFolderAccess(const std::string& folder)
{
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0)
        return FolderAccess::Readable;
    // A folder inside a disc image is there when the image's reader finds it.
    if (errno == ENOTDIR) {
        const std::optional<ImagePath> image = SplitImagePath(folder);
        return image && ImageFolderEntries(*image) ? FolderAccess::Readable : FolderAccess::Missing;
    }
    return errno == EACCES ? FolderAccess::Denied : FolderAccess::Missing;
}

SystemFolderProbe::SystemFolderProbe(DriveView& drives) : drives_(drives.current()) {}

DriveType SystemFolderProbe::driveType(uint32_t drive, const std::string& root) const
{
    // Letters are handed out anew each time: one that moved to another volume no longer
    // stands for the drive the combo shows.
    const DriveSlot& slot = drives_.slot(drive);
    return slot.root.empty() || slot.root != root ? DriveType::Unknown : slot.type;
}
