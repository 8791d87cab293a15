#pragma once

#include <vector>

#include "panel/drive_commands.h"

class ModalLoops;
struct AppWindows;

// The drive menu at the pointer, owned by the panel (windows.panel); it runs as one of loops
// until the user chooses or dismisses it, and the chosen item reaches the panel as a command.
void Panel_PopupDriveMenu(const AppWindows& windows, ModalLoops& loops, const std::vector<DriveMenuItem>& items);
