#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One entry of a list: a native absolute path and whether it names a folder.
struct PlayListEntry {
    std::string path;
    uint32_t directory = 0;
};

// An ordered list of paths; the order is the playing order (track n is entry n-1).
struct PlayList {
    std::vector<PlayListEntry> entries;
};
