#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

// The middle, the 95th percentile and the largest of a set of durations.
struct Spread {
    size_t count = 0;
    double median = 0;
    double p95 = 0;
    double longest = 0;
};

inline Spread SpreadOf(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    // Nearest rank: the smallest value that at least that share of the set does not exceed.
    const auto rank = [&](double share) {
        const size_t at = size_t(std::ceil(share * double(values.size())));
        return values[std::clamp<size_t>(at, 1, values.size()) - 1];
    };
    return {values.size(), rank(0.5), rank(0.95), values.back()};
}
