#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "components/discbay/vcd_control.h"

struct DriveSlot;

// A disc's control files read and parsed, and the files its play items stand for. Each call
// opens what it reads on its own and shares nothing, so it may run on any thread; on a drive
// that has to spin up it takes seconds.

struct VcdDiscSource {
    enum class Kind : uint8_t { Sectors, Folder };
    Kind kind = Kind::Sectors;
    std::string path;  // a device node or a .cue image, read by its sectors; or a folder
};

// Where a drive's disc is read: a drive's device or an image by its sectors, a bound folder as
// the folder it is.
VcdDiscSource VcdDiscSourceOf(const DriveSlot& slot);

struct VcdDiscReading {
    std::optional<VcdControl> control;  // none: the disc has no INFO that reads
    std::string problem;  // why there is none
    // Paths inside the disc as it spells them ("/MPEGAV/AVSEQ01.DAT"): the stream of each CD
    // track by the table of contents (in a folder, which has none, the AVSEQnn files in name
    // order from track 2), and the file of each item's first segment.
    std::map<uint8_t, std::string> trackFiles;
    std::map<uint16_t, std::string> segmentFiles;
};

VcdDiscReading ReadVcdDisc(const VcdDiscSource& source);

// The times of a CD track's entry points (as ENTRIES lists them, the track's start first), in
// seconds from where a player's clock reads 0 in the track; nothing for an entry whose time
// cannot be read. Reads a few sectors for the track's start and for each entry.
std::vector<std::optional<double>> ReadTrackEntryTimes(const VcdDiscSource& source, const VcdDiscReading& reading,
                                                       uint8_t cdTrack);
