#pragma once

#include <cstdint>

#include "core/timers.h"
#include "core/window.h"

// The timers of one of the player's windows, through the slot that holds the window while it
// exists: a window that does not exist has no timers to start and none to stop.
class WindowTimers {
public:
    explicit WindowTimers(Window* const& window) : window_(window) {}

    void start(TimerId id, uint32_t periodMs) const
    {
        if (window_)
            window_->timers().start(id, periodMs);
    }
    void stop(TimerId id) const
    {
        if (window_)
            window_->timers().stop(id);
    }

private:
    Window* const& window_;
};
