#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app_windows.h"
#include "app/player_settings.h"
#include "app/player_state.h"
#include "components/components.h"
#include "disc/disc_menu.h"
#include "disc/play_list.h"
#include "disc/load_disc.h"
#include "panel/drive_commands.h"
#include "panel/keyboard.h"
#include "panel/panel_skin.h"
#include "playback/dispatch.h"
#include "playback/playback_hooks.h"

// The process-wide records, reached through app() alone.
struct AppContext {
    PlayerState state;
    PlayerSettings settings;
    AppWindows windows;
    Components components;
    PanelSkin panelSkin;
    std::optional<PlayList> playList;  // exists while the main window does
    ExtensionList extensions;
    PlaybackHooks playbackHooks;  // what later parts plug into playback
    KeyMap keys{DispatchCommand};  // shared by every window, so a key may go up elsewhere
    DriveMenuHooks driveMenuHooks{.loadDisc = LoadDisc, .setDoorState = SetDoorState};
    // The CD-ROM drives' device nodes in device order; empty where the system has none.
    std::function<std::vector<std::string>()> listCdRomDevices;
    std::vector<std::string> discImages;  // disc image files opened as drives, oldest first
};

AppContext& app();

// Starts over with fresh records and no components (tests do this between cases).
void resetApp();
