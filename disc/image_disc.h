#pragma once

#include <optional>
#include <string>
#include <vector>

#include "disc/play_list.h"

// A path that is a disc image or lies inside one, split there.
struct ImagePath {
    std::string image;
    std::string inside;  // "/" for the image itself, else "/FOLDER/..."
};
// The image a path is or lies in: the longest leading part that is an existing regular file
// named *.cue; nothing for any other path.
std::optional<ImagePath> SplitImagePath(const std::string& path);
// The folders and files of a folder of an image (the image itself for its root), as play-list
// entries "<image>/<path inside>" flagged as folders or files, in the disc's order; nothing
// when the image cannot be read or holds no such folder.
std::optional<std::vector<PlayListEntry>> ImageFolderEntries(const ImagePath& folder);

// The files of a disc image's stream folder (MpegAV, or MPEG2 on a disc without one) as
// play-list paths, "<image>/<folder>/<name>" in the disc's own spelling; empty when the image
// cannot be read or has no such folder.
std::vector<std::string> ImageDiscFiles(const std::string& image);
// The volume label recorded on a disc image; empty when it cannot be read.
std::string ImageDiscLabel(const std::string& image);
