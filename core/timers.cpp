#include "core/timers.h"

#include <algorithm>

uint32_t effectiveTimerPeriod(uint32_t periodMs)
{
    return std::max(periodMs, kMinimumTimerPeriod);
}
