#pragma once

#include <cstdint>

class Window;

// The system commands the skinned windows take (the wParam of msg::SysCommand).
namespace sys_command {
constexpr uint32_t Size = 0xF000;
constexpr uint32_t Move = 0xF010;
constexpr uint32_t Minimize = 0xF020;
constexpr uint32_t Maximize = 0xF030;
constexpr uint32_t Close = 0xF060;
constexpr uint32_t Restore = 0xF120;
}  // namespace sys_command

// Closing a skinned window closes the player: Close is posted to the main window (null once it
// is gone) as msg::Close (0, 0) and answers true, meaning no default processing. Any other
// command answers false and gets default processing.
bool SysCommand_CloseToMain(Window* main, uint32_t command);
