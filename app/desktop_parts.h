#pragma once

#include "app/main_window.h"

// Puts the Linux implementations of the outside components in place.
void InstallDesktopComponents();

// The parts of the player that the main window creates and routes to on this desktop.
MainWindowParts DesktopParts();
