#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "playback/then.h"

// Files and folders named on the command line (a file manager's "Open with") replace the
// play list and play from track 1. A file goes in as it is named; a folder gives its
// playable files in sorted order, its sub-folders left out, except that a folder named alone
// that holds a stream folder (MpegAV, else MPEG2) is a Video CD and gives that folder's files,
// as its drive would, and that a folder among others without playable files of its own gives
// its stream folder's; a disc image (.cue) becomes a drive of its own and gives the playable
// files of that folder. Names of nothing that exists are passed over; when none is left the
// list and playback stay as they were and this answers false. The result is Play's once the first
// track that opens has opened.
bool PlayFiles(const std::vector<std::string>& paths, Then then = {});
