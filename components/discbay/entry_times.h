#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class VcdFile;

// A Video CD entry point is a sector of a track, but a player seeks by time, and a sector's
// place says little about time on a variable-rate Super Video CD. An entry's time is read from
// the timestamps of a few sectors: when the key picture of the group of pictures starting at
// the entry is shown, less the track's start (its earliest audio or video timestamp, where a
// player's clock reads 0). Lacking a group with a timestamp, the entry's first video timestamp
// stands in.
//
// Each call only reads the file it is given: run it on any thread that owns that file (a
// VcdFile with the disc it came from).

// Seconds from the track's start for each entry, given as sectors from the track file's first
// sector; nullopt for an entry whose sectors hold no video timestamp, and for every entry when
// the track's start cannot be read.
std::vector<std::optional<double>> ReadEntryTimes(VcdFile& track, std::span<const uint32_t> entrySectors);
std::optional<double> ReadEntryTime(VcdFile& track, uint32_t entrySector);

// The same for a track kept as a file of a folder: its program stream as the disc's sectors
// carry it (2,324 bytes each), or the disc's whole sectors behind a RIFF "CDXA" header, as a
// copy of the disc's file comes.
std::vector<std::optional<double>> ReadEntryTimes(const std::string& trackPath, std::span<const uint32_t> entrySectors);
