#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/play_list_records.h"

struct PlayerSettings;
class DiscbayDrives;
class DriveTable;
class DriveView;

// Makes destination an exact copy of source.
bool CopyList(PlayList* destination, const PlayList* source);

// The player's play list, which exists while the main window does, and the play-file
// extensions that decide what enters a list. Without the list, counts are 0 and every other
// operation on it answers false and does nothing.
class PlayListStore {
public:
    explicit PlayListStore(PlayerSettings& settings) : settings_(settings) {}
    PlayListStore(const PlayListStore&) = delete;
    PlayListStore& operator=(const PlayListStore&) = delete;

    // Reads the play list's settings afresh, and makes an empty, numbered list.
    bool PlayList_Create();
    void PlayList_Destroy();
    uint32_t PlayList_Count() const;
    bool PlayList_GetPath(uint32_t index, std::string& path) const;
    // The number the entry got as it entered the list; nothing past the end.
    std::optional<uint64_t> PlayList_Serial(uint32_t index) const;
    bool PlayList_RemoveAt(uint32_t index);
    bool PlayList_FindBackward(const std::string& path, uint32_t start, uint32_t& index) const;
    // The list itself, for those that copy it whole or fill it.
    std::optional<PlayList>& list() { return list_; }
    const std::optional<PlayList>& list() const { return list_; }

    // Whether the extension of the path is one of the listed ones.
    bool HasListedExtension(const std::string& path) const;
    // Inserts an existing folder, or a file whose extension is listed, at its sorted place:
    // folders first, then files, each in case-insensitive order, an equal path after the old
    // one. The lists it is given are built by it alone, so a binary search finds the place a
    // walk from the first entry would.
    bool AddFileSorted(PlayList* list, const std::string& path) const;
    // Adds every path as AddFileSorted would, sorting once; answers how many were added.
    uint32_t AddFilesSorted(PlayList* list, const std::vector<std::string>& paths) const;
    // The same for files known to exist where the file system cannot see them (inside a disc
    // image): only their extension is checked.
    uint32_t AddListedFilesSorted(PlayList* list, const std::vector<std::string>& files) const;
    // Entries of a disc image's folder (see image_disc.h): every folder, and the files whose
    // extension is listed.
    uint32_t AddListedEntriesSorted(PlayList* list, const std::vector<PlayListEntry>& entries) const;
    // Adds the playable files of a folder, sub-folders left out; false when it cannot be read.
    bool AddFolderFilesSorted(PlayList* list, const std::string& folder) const;

    // Mode 0 loads the disc of the drive (its MpegAV folder) into the list; any other mode
    // drops the drive's entries, letting go what its "gone" notices kept.
    bool ScanDisc(DiscbayDrives& discbay, DriveView& drives, uint32_t drive, uint32_t mode);

private:
    bool loadDisc(const DriveTable& drives, DiscbayDrives& discbay, uint32_t drive);

    PlayerSettings& settings_;
    std::optional<PlayList> list_;
};

// The folder that holds a Video CD's tracks under a disc's root (MpegAV, in any case); empty
// when the root has none.
std::string DiscFolderOf(const std::string& root);
