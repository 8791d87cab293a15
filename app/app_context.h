#pragma once

#include "app/app_windows.h"
#include "app/player_settings.h"
#include "app/player_state.h"
#include "components/components.h"
#include "panel/panel_skin.h"

// The process-wide records, reached through app() alone.
struct AppContext {
    PlayerState state;
    PlayerSettings settings;
    AppWindows windows;
    Components components;
    PanelSkin panelSkin;
};

AppContext& app();

// Starts over with fresh records and no components (tests do this between cases).
void resetApp();
