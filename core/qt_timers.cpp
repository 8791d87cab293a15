#include "core/qt_timers.h"

QtTimers::QtTimers(TimerTick tick, QObject* parent) : QObject(parent), tick_(std::move(tick)) {}

void QtTimers::start(TimerId id, uint32_t periodMs)
{
    auto& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        // Held seeks tick every 50 ms: a coarse timer's 5 % slack would show.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer.get(), &QTimer::timeout, this, [this, id] { tick_(id); });
    }
    timer->start(static_cast<int>(std::min<uint32_t>(effectiveTimerPeriod(periodMs), INT32_MAX)));
}

void QtTimers::stop(TimerId id)
{
    if (const auto found = timers_.find(id); found != timers_.end())
        found->second->stop();
}

bool QtTimers::isRunning(TimerId id) const
{
    const auto found = timers_.find(id);
    return found != timers_.end() && found->second->isActive();
}

uint32_t QtTimers::period(TimerId id) const
{
    return isRunning(id) ? static_cast<uint32_t>(timers_.at(id)->interval()) : 0;
}
