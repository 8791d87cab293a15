#pragma once

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>
#include <set>

#include "core/timers.h"

class Turns;

// A window's timers by id on Qt's event loop. With turns, a tick that comes while an answer is
// awaited waits its turn, once however often the timer ran out meanwhile, and is passed over
// when the timer was stopped before that turn came.
class QtTimers : public QObject, public TimerHost {
    Q_OBJECT
public:
    explicit QtTimers(TimerTick tick, Turns* turns = nullptr, QObject* parent = nullptr);

    void start(TimerId id, uint32_t periodMs) override;
    void stop(TimerId id) override;
    bool isRunning(TimerId id) const override;
    uint32_t period(TimerId id) const override;

private:
    void ranOut(TimerId id);

    TimerTick tick_;
    Turns* turns_;
    std::map<TimerId, std::unique_ptr<QTimer>> timers_;
    std::set<TimerId> waiting_;
};
