#pragma once

#include <string>

#include "core/geometry.h"
#include "core/message.h"
#include "core/timers.h"

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
    // Minimises the window once the loop takes the request.
    virtual void minimize() {}
    // The picture's Video Size: full screen, or back to the restored size, once the loop
    // takes the request. Only the image window acts on it.
    virtual void toggleVideoSize() {}
    // The wait cursor over the window while the player is busy.
    virtual void setBusyCursor(bool /*on*/) {}
};
