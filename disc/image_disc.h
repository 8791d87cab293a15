#pragma once

#include <string>
#include <vector>

// The files of a disc image's stream folder (MpegAV, or MPEG2 on a disc without one) as
// play-list paths, "<image>/<folder>/<name>" in the disc's own spelling; empty when the image
// cannot be read or has no such folder.
std::vector<std::string> ImageDiscFiles(const std::string& image);
// The volume label recorded on a disc image; empty when it cannot be read.
std::string ImageDiscLabel(const std::string& image);
