#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/play_list_records.h"

// The play list of the player lives in app().playList while the main window exists.
// Without it, counts are 0 and every other operation answers false and does nothing.
bool PlayList_Create();
void PlayList_Destroy();
uint32_t PlayList_Count();
bool PlayList_GetPath(uint32_t index, std::string& path);
// The number the entry got as it entered the list; nothing past the end.
std::optional<uint64_t> PlayList_Serial(uint32_t index);
bool PlayList_RemoveAt(uint32_t index);
bool PlayList_FindBackward(const std::string& path, uint32_t start, uint32_t& index);

// Makes destination an exact copy of source.
bool CopyList(PlayList* destination, const PlayList* source);
// Inserts an existing folder, or a file whose extension is listed, at its sorted place:
// folders first, then files, each in case-insensitive order, an equal path after the old one.
// The lists it is given are built by it alone, so a binary search finds the place a walk from
// the first entry would.
bool AddFileSorted(PlayList* list, const std::string& path);
// Adds every path as AddFileSorted would, sorting once; answers how many were added.
uint32_t AddFilesSorted(PlayList* list, const std::vector<std::string>& paths);
// The same for files known to exist where the file system cannot see them (inside a disc
// image): only their extension is checked.
uint32_t AddListedFilesSorted(PlayList* list, const std::vector<std::string>& files);
// Whether the extension of the path is one of the listed ones.
bool HasListedExtension(const std::string& path);
// Adds the playable files of a folder, sub-folders left out; false when it cannot be read.
bool AddFolderFilesSorted(PlayList* list, const std::string& folder);

// Mode 0 loads the disc of the drive (its MpegAV folder); any other mode drops its entries.
bool ScanDisc(uint32_t drive, uint32_t mode);
// The folder that holds a Video CD's tracks under a disc's root (MpegAV, in any case); empty
// when the root has none.
std::string DiscFolderOf(const std::string& root);
