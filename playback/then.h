#pragma once

#include <functional>
#include <memory>
#include <optional>

// What goes on once an operation that may wait for the media engine has its result (true
// done, false refused). Such an operation answers that result itself when it came before it
// returned, and true while it is still to come.
using Then = std::function<void(bool result)>;

// Starts the work with a continuation that hands its result on to then.
inline bool ResultOrAsked(const Then& then, const std::function<void(const Then& done)>& start)
{
    auto result = std::make_shared<std::optional<bool>>();
    start([then, result](bool value) {
        *result = value;
        if (then)
            then(value);
    });
    return result->value_or(true);
}

// A result known at once.
inline bool Answer(const Then& then, bool result)
{
    if (then)
        then(result);
    return result;
}
