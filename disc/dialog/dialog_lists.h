#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "disc/play_list.h"

class PanelFeedback;

// The two lists of the play-list dialog: the folder's files on the left, the copy of the play
// list on the right. Selections are indexes in ascending order.

// Lists a folder into target: its sub-folders, then its playable files, each in
// case-insensitive order (the store's extensions deciding what is playable), under the panel's
// busy cursor when there is a panel. A folder that cannot be read leaves target empty; false
// then, and for an empty path.
bool ListDirectory(const PlayListStore& store, PanelFeedback* panel, PlayList* target, const std::string& folder);

// The selected entries Add's update deselects: the folders at the front of the selection, up
// to the first selected file. Add is enabled exactly when a selected entry is left.
std::vector<uint32_t> FoldersToDeselect(const PlayList& files, const std::vector<uint32_t>& selected);

// Appends the selected entries of from to the end of to, in list order, with their flags.
void AppendEntries(PlayList& to, const PlayList& from, const std::vector<uint32_t>& selected);
// Removes the selected entries; indexes out of range are passed over.
void RemoveEntries(PlayList& list, const std::vector<uint32_t>& selected);

// A path shortened to fit a width: the drive's root, "/..." and the path from a later "/"
// on, trying from the second "/" below the root to the last; the first that is narrower than
// width, else the last tried. root is the drive's root ("/" counts as empty); a path with a
// single "/" below its root comes back whole.
std::string ShortenPath(std::string_view path, std::string_view root, int width,
                        const std::function<int(std::string_view)>& widthOf);
