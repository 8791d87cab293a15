#pragma once

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

#include "core/timers.h"

// A window's timers by id on Qt's event loop.
class QtTimers : public QObject, public TimerHost {
    Q_OBJECT
public:
    explicit QtTimers(TimerTick tick, QObject* parent = nullptr);

    void start(TimerId id, uint32_t periodMs) override;
    void stop(TimerId id) override;
    bool isRunning(TimerId id) const override;
    uint32_t period(TimerId id) const override;

private:
    TimerTick tick_;
    std::map<TimerId, std::unique_ptr<QTimer>> timers_;
};
