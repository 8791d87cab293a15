#include "tests/support/manual_timers.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/message.h"

void ManualClock::advance(uint64_t ms)
{
    const uint64_t target = now_ + ms;
    for (;;) {
        ManualTimers* nextHost = nullptr;
        TimerId nextId = 0;
        uint64_t nextDue = std::numeric_limits<uint64_t>::max();
        for (ManualTimers* host : hosts_) {
            for (const auto& [id, timer] : host->running_) {
                if (timer.due < nextDue) {
                    nextDue = timer.due;
                    nextHost = host;
                    nextId = id;
                }
            }
        }
        if (!nextHost || nextDue > target)
            break;
        now_ = nextDue;
        auto& timer = nextHost->running_.at(nextId);
        timer.due += timer.period;
        nextHost->deliver(nextId);
    }
    now_ = target;
}

ManualTimers::ManualTimers(ManualClock& clock, TimerTick tick) : clock_(clock), tick_(std::move(tick))
{
    clock_.hosts_.push_back(this);
}

ManualTimers::~ManualTimers()
{
    std::erase(clock_.hosts_, this);
}

void ManualTimers::start(TimerId id, uint32_t periodMs)
{
    const uint32_t period = effectiveTimerPeriod(periodMs);
    running_[id] = Running{period, clock_.now() + period};
}

void ManualTimers::stop(TimerId id)
{
    running_.erase(id);
}

bool ManualTimers::isRunning(TimerId id) const
{
    return running_.contains(id);
}

uint32_t ManualTimers::period(TimerId id) const
{
    const auto found = running_.find(id);
    return found == running_.end() ? 0 : found->second.period;
}

void ManualTimers::fire(TimerId id)
{
    if (isRunning(id))
        deliver(id);
}

int ManualTimers::ticks(TimerId id) const
{
    const auto found = ticks_.find(id);
    return found == ticks_.end() ? 0 : found->second;
}

void ManualTimers::deliver(TimerId id)
{
    ++ticks_[id];
    if (tick_)
        tick_(id);
}

void ManualQueue::post(const Message& message)
{
    pending_.push_back(message);
}

std::vector<Message> ManualQueue::take()
{
    return std::exchange(pending_, {});
}
