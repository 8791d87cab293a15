#pragma once

#include <vector>

#include "panel/drive_commands.h"

// The drive menu at the pointer, owned by the panel; it runs until the user chooses or
// dismisses it, and the chosen item reaches the panel as a command.
void Panel_PopupDriveMenu(const std::vector<DriveMenuItem>& items);
// The same, as playback's drive menu popup.
const DriveMenuPopup& Panel_DriveMenuPopup();
