#pragma once

#include "app/message.h"
#include "app/timers.h"

// What the logic may do with one of the player's windows.
class Window {
public:
    virtual ~Window() = default;
    // Queues the message; it is handled once the loop takes it.
    virtual void post(const Message& message) = 0;
    virtual TimerHost& timers() = 0;
};
