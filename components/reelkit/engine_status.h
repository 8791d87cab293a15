#pragma once

#include <cstdint>

// What the engine knows about its file, reduced to the status code the player reads:
// 0 stopped (nothing open, stopped, or at the end), 1 paused, 2 playing forward at normal
// speed, 3 forward at another rate, 4 backward.
struct PlaybackFacts {
    bool open = false;
    bool stopped = false;
    bool atEnd = false;
    bool paused = false;
    int32_t rate = 1000;  // thousandths; negative while backward
};

uint16_t StatusOf(const PlaybackFacts& facts);

// Rates the engine accepts: libmpv plays forward from a hundredth to a hundred times normal
// speed; backward is held to the same range.
constexpr int32_t kSlowestRate = 10;
constexpr int32_t kFastestRate = 100000;
bool IsAcceptedRate(int32_t rate);
