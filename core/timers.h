#pragma once

#include <cstdint>
#include <functional>

using TimerId = int;
using TimerTick = std::function<void(TimerId)>;

// A window's timers by id. Starting a running timer restarts it with the new period.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual void start(TimerId id, uint32_t periodMs) = 0;
    virtual void stop(TimerId id) = 0;
    virtual bool isRunning(TimerId id) const = 0;
    // The period the timer runs with; 0 when it does not run.
    virtual uint32_t period(TimerId id) const = 0;
};

// The shortest period a timer runs with; shorter ones are raised to it, as the desktop's timers do.
constexpr uint32_t kMinimumTimerPeriod = 10;
uint32_t effectiveTimerPeriod(uint32_t periodMs);
