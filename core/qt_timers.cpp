#include "core/qt_timers.h"

#include <QPointer>

#include "core/turns.h"

QtTimers::QtTimers(TimerTick tick, Turns* turns, QObject* parent)
    : QObject(parent), tick_(std::move(tick)), turns_(turns)
{
}

void QtTimers::start(TimerId id, uint32_t periodMs)
{
    auto& timer = timers_[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        // Held seeks tick every 50 ms: a coarse timer's 5 % slack would show.
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer.get(), &QTimer::timeout, this, [this, id] { ranOut(id); });
    }
    timer->start(static_cast<int>(std::min<uint32_t>(effectiveTimerPeriod(periodMs), INT32_MAX)));
}

void QtTimers::ranOut(TimerId id)
{
    if (!turns_) {
        tick_(id);
        return;
    }
    if (!waiting_.insert(id).second)
        return;
    turns_->take([self = QPointer<QtTimers>(this), id] {
        if (!self)
            return;
        self->waiting_.erase(id);
        if (self->isRunning(id))
            self->tick_(id);
    });
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
