#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "core/timers.h"

class ManualTimers;

// Time that moves only when a test says so; ticks fire in time order across every window.
class ManualClock {
public:
    uint64_t now() const { return now_; }
    void advance(uint64_t ms);

private:
    friend class ManualTimers;
    uint64_t now_ = 0;
    std::vector<ManualTimers*> hosts_;
};

// A window's timers on a manual clock.
class ManualTimers : public TimerHost {
public:
    explicit ManualTimers(ManualClock& clock, TimerTick tick = {});
    ~ManualTimers() override;
    ManualTimers(const ManualTimers&) = delete;
    ManualTimers& operator=(const ManualTimers&) = delete;

    void setTick(TimerTick tick) { tick_ = std::move(tick); }
    void start(TimerId id, uint32_t periodMs) override;
    void stop(TimerId id) override;
    bool isRunning(TimerId id) const override;
    uint32_t period(TimerId id) const override;

    // A tick of a running timer now, without waiting for it.
    void fire(TimerId id);
    // How many ticks each timer has had.
    int ticks(TimerId id) const;

private:
    friend class ManualClock;
    struct Running {
        uint32_t period;
        uint64_t due;
    };
    void deliver(TimerId id);

    ManualClock& clock_;
    TimerTick tick_;
    std::map<TimerId, Running> running_;
    std::map<TimerId, int> ticks_;
};

// A window's message queue that tests drain by hand.
class ManualQueue {
public:
    void post(const struct Message& message);
    bool empty() const { return pending_.empty(); }
    std::vector<struct Message> take();

private:
    std::vector<struct Message> pending_;
};
