#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// What goes on once an operation that may wait for the media engine has its result (1 done,
// 0 refused). Such an operation answers that result itself when it came before it returned,
// and 1 while it is still to come.
using Then = std::function<void(uint32_t result)>;

// Starts the work with a continuation that hands its result on to then.
inline uint32_t ResultOrAsked(const Then& then, const std::function<void(const Then& done)>& start)
{
    auto result = std::make_shared<std::optional<uint32_t>>();
    start([then, result](uint32_t value) {
        *result = value;
        if (then)
            then(value);
    });
    return result->value_or(1);
}

// A result known at once.
inline uint32_t Answer(const Then& then, uint32_t result)
{
    if (then)
        then(result);
    return result;
}
