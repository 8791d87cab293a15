#include "components/reelkit/engine_status.h"

uint16_t StatusOf(const PlaybackFacts& facts)
{
    if (!facts.open || facts.stopped || facts.atEnd)
        return 0;
    if (facts.paused)
        return 1;
    if (facts.rate < 0)
        return 4;
    return facts.rate == 1000 ? 2 : 3;
}

bool IsAcceptedRate(int32_t rate)
{
    const int64_t magnitude = rate < 0 ? -static_cast<int64_t>(rate) : rate;
    return magnitude >= kSlowestRate && magnitude <= kFastestRate;
}

int32_t ForwardSpeed(int32_t rate)
{
    return rate < kSlowestForwardSpeed ? kSlowestForwardSpeed : rate;
}
