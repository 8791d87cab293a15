#pragma once

#include <vector>

#include "core/window.h"
#include "tests/support/manual_timers.h"

// A window that keeps what it is asked to do: posted messages, marked rectangles, repaints.
class RecordingWindow : public Window {
public:
    explicit RecordingWindow(ManualClock& clock) : timers_(clock) {}

    void post(const Message& message) override { posted.push_back(message); }
    TimerHost& timers() override { return timers_; }
    ManualTimers& manualTimers() { return timers_; }
    void invalidate(const Rect& area) override { marked.push_back(area); }
    void repaintNow() override { ++repaints; }

    std::vector<Message> posted;
    std::vector<Rect> marked;
    int repaints = 0;

private:
    ManualTimers timers_;
};
