#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "components/discbay/drive_table.h"

class DriveView;

// One item of the play-list dialog's folder combo: a drive's root, or a folder of the chain
// the user has entered below it.
struct FolderComboItem {
    std::string path;  // folders without a trailing "/"
    uint32_t drive = 0;
    std::string root;  // the root of the drive the item belongs to
    bool isRoot = false;
    uint32_t mark = 1;  // 0 for the selected item, 1 for the others, set by CheckFolderCombo
};

struct FolderCombo {
    std::vector<FolderComboItem> items;
    std::optional<size_t> selected;
};

// What reading a folder's attributes tells about it.
enum class FolderAccess { Readable, Missing, Denied };

// What CheckFolderCombo asks of the system: a drive's type now (Unknown when nothing usable
// stands behind the letter, or the letter now stands for another root), and whether a folder
// can be read.
class FolderProbe {
public:
    virtual DriveType driveType(uint32_t drive, const std::string& root) const = 0;
    virtual FolderAccess access(const std::string& folder) const = 0;

protected:
    ~FolderProbe() = default;
};

// The drives of the table in letter order; the first CD-ROM drive selected, else the first
// fixed one, else the first item.
void FillDriveCombo(FolderCombo& combo, const DriveTable& drives);
// Drops the drives that vanished and the folders that may not be read, then marks the items.
void CheckFolderCombo(FolderCombo& combo, const FolderProbe& probe);
// Chooses an item: the folders below it and every other drive's chain go. Answers the folder
// to list, or nothing for an index out of range.
std::optional<std::string> SelectFolder(FolderCombo& combo, size_t chosen);
// Puts a folder of the file list into the chain right after the selected item and selects it.
bool EnterFolder(FolderCombo& combo, const std::string& folder);

// How deep an item is drawn: 0 for a root, else the number of "/" below its drive's root.
uint32_t FolderDepth(const FolderComboItem& item);
// Where an item's icon and text start across: a quarter of the small icon's width per level,
// then 2 pixels for the icon and 4 after it for the text. The lists draw at depth 0.
struct ItemPlaces {
    int iconX;
    int textX;
};
ItemPlaces ItemPlacesAt(int smallIconWidth, uint32_t depth);
// "label (E:)" for a drive with a label, "(E:)" without one or for a removable drive; a
// folder's last name.
std::string FolderComboLabel(const FolderComboItem& item, const DriveSlot& slot);

FolderAccess ProbeFolderAccess(const std::string& folder);

// The probe of this machine: a fresh drive table, and stat(2) on the folder.
class SystemFolderProbe : public FolderProbe {
public:
    explicit SystemFolderProbe(DriveView& drives);
    DriveType driveType(uint32_t drive, const std::string& root) const override;
    FolderAccess access(const std::string& folder) const override { return ProbeFolderAccess(folder); }

private:
    DriveTable drives_;
};
