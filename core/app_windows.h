#pragma once

#include <cstdint>
#include <string>

class Window;

// The windows of the process; a pointer is null while its window does not exist.
struct AppWindows {
    std::string instance;  // the executable's path: what the instance handle locates
    Window* main = nullptr;
    Window* panel = nullptr;
    Window* videoFrame = nullptr;
    Window* videoImage = nullptr;
    bool closing = false;  // the main window's shut-down has begun: nothing new is taken
    uint32_t registeredMessage = 0;
};
