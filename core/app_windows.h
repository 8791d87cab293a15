#pragma once

#include <cstdint>
#include <string>

class Window;
struct Cursor;  // defined by the desktop layer

// The windows of the process; a pointer is null while its window does not exist.
struct AppWindows {
    std::string instance;  // the executable's path: what the instance handle locates
    Window* main = nullptr;
    Window* panel = nullptr;
    Window* videoFrame = nullptr;
    Window* videoImage = nullptr;
    uint32_t registeredMessage = 0;
    Cursor* buttonCursor = nullptr;  // pointing hand (104), over buttons
    Cursor* panelCursor = nullptr;   // open hand (103), over the panel body
};
