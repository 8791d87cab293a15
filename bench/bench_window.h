#pragma once

#include <QWidget>

#include <vector>

#include "core/timers.h"
#include "core/window.h"

// A widget the engine can draw into and post to, as the player's image window is; it keeps
// what was posted and starts no timers.
class BenchWindow : public QWidget, public Window {
public:
    BenchWindow() = default;
    // Shown at that size, as the video window shows a picture.
    explicit BenchWindow(QSize size)
    {
        resize(size);
        show();
    }
    void post(const Message& message) override { posted.push_back(message); }
    TimerHost& timers() override { return timers_; }
    std::vector<Message> posted;

private:
    class NoTimers : public TimerHost {
    public:
        void start(TimerId, uint32_t) override {}
        void stop(TimerId) override {}
        bool isRunning(TimerId) const override { return false; }
        uint32_t period(TimerId) const override { return 0; }
    };
    NoTimers timers_;
};
