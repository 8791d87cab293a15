#pragma once

#include <vector>

#include "panel/drive_commands.h"

class ModalLoops;
struct AppWindows;

// The drive menu at the pointer, owned by the panel (windows.panel); it runs as one of loops
// until the user chooses or dismisses it, and the chosen item reaches the panel as a command.
void Panel_PopupDriveMenu(const AppWindows& windows, ModalLoops& loops, const std::vector<DriveMenuItem>& items);

// The same, as playback's drive menu popup.
class PanelDriveMenuPopup : public DriveMenuPopup {
public:
    PanelDriveMenuPopup(const AppWindows& windows, ModalLoops& loops) : windows_(windows), loops_(loops) {}
    void popup(const std::vector<DriveMenuItem>& items) const override { Panel_PopupDriveMenu(windows_, loops_, items); }

private:
    const AppWindows& windows_;
    ModalLoops& loops_;
};
