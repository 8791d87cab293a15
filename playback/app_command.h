#pragma once

#include <cstdint>

// Multimedia keys. AppCommand_Post is the WM_APPCOMMAND handler of the main window, the
// panel and the video frame: it re-posts the keys it knows (application commands 8..14) to
// the main window and answers true, or answers false for any other. AppCommand_Run is the main
// window's handler of the re-posted key: it dispatches the command at Press, Release, Click.
bool AppCommand_Post(uintptr_t wParam, intptr_t lParam);
bool AppCommand_Run(uintptr_t wParam, intptr_t lParam);

// The application command of a WM_APPCOMMAND's lParam.
constexpr uint32_t AppCommandOf(intptr_t lParam)
{
    return static_cast<uint32_t>((lParam >> 16) & 0xFFF);
}
