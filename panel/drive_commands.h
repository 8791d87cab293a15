#pragma once

#include <cstdint>

#include "playback/drive_menu.h"

DriveMenuHooks& Panel_DriveMenuHooks();

// A menu item (the low 16 bits of the command's wParam count); anything else does nothing.
void Panel_DriveCommand(uintptr_t wParam);
