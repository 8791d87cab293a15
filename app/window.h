#pragma once

#include <string>

#include "app/geometry.h"
#include "app/message.h"
#include "app/timers.h"

// What the logic may do with one of the player's windows.
class Window {
public:
    virtual ~Window() = default;
    // Queues the message; it is handled once the loop takes it.
    virtual void post(const Message& message) = 0;
    virtual TimerHost& timers() = 0;
    // Marks a rectangle for the next paint, without erasing; only painted windows act on it.
    virtual void invalidate(const Rect& /*area*/) {}
    // Paints what is marked now, before returning.
    virtual void repaintNow() {}
    // Marks the whole window, background included, for the next paint.
    virtual void invalidateAll() {}
    virtual void setTitle(const std::string& /*title*/) {}
    virtual void setTopmost(bool /*on*/) {}
    virtual bool minimized() const { return false; }
    // The wait cursor over the window while the player is busy.
    virtual void setBusyCursor(bool /*on*/) {}
};
