#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One entry of a list: a native absolute path and whether it names a folder. The player's
// list numbers each entry as it enters (0 until then); the number stays when the list is
// renumbered around it, so the desktop can tell an entry from the one that took its place.
struct PlayListEntry {
    std::string path;
    uint32_t directory = 0;
    uint64_t serial = 0;
};

// An ordered list of paths; the order is the playing order (track n is entry n-1).
struct PlayList {
    std::vector<PlayListEntry> entries;
    bool numbered = false;  // the player's own list, which numbers what enters it
    uint64_t lastSerial = 0;
};
