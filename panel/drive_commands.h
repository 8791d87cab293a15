#pragma once

#include <cstdint>

#include "playback/drive_menu.h"

struct Components;
struct PlayerSettings;

// A menu item (the low 16 bits of the command's wParam count) through the drive menus' items;
// anything else does nothing.
void Panel_DriveCommand(DriveMenuActions& menus, const PlayerSettings& settings, Components& components,
                        uintptr_t wParam);
