#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

// Held to the int range: huge positions and sizes from a hostile skin stay in range instead of
// overflowing.
inline int SaturatedInt(int64_t value)
{
    return int(std::clamp<int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

inline int SaturatedSum(int a, int b)
{
    return SaturatedInt(int64_t{a} + b);
}
