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

// Rates the engine accepts: every slow rate the configuration allows, up to a hundred times
// normal speed. Backward play is emulated and keeps any of them; forward, libmpv goes no
// slower than a hundredth, so slower forward rates play at that.
constexpr int32_t kSlowestRate = 1;
constexpr int32_t kSlowestForwardSpeed = 10;
constexpr int32_t kFastestRate = 100000;
bool IsAcceptedRate(int32_t rate);
// The speed libmpv is given for a forward rate, in thousandths.
int32_t ForwardSpeed(int32_t rate);
