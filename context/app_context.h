#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "components/discbay/drive_view.h"
#include "context/components.h"
#include "core/app_windows.h"
#include "core/ini_file.h"
#include "core/modal_loop.h"
#include "core/play_list_records.h"
#include "core/player_settings.h"
#include "core/player_state.h"
#include "core/settings.h"
#include "core/state_notices.h"
#include "core/turns.h"
#include "led/led_refresh.h"
#include "panel/keys/key_map.h"

class Audio;
class Playback;

// The process-wide records, reached through app() alone. The key map's dispatcher is filled
// by the player's owner, which checks that it is not left empty.
struct AppContext {
    PlayerState state;
    PlayerSettings settings = Settings_Defaults();
    AppWindows windows;
    Components components;
    std::optional<PlayList> playList;  // exists while the main window does
    DriveView drives{settings.cfgPath};
    KeyMap keys;  // shared by every window, so a key may go up elsewhere
    ModalLoops modalLoops;
    StateNotices notices;  // each change of the state the display shows
    LedDisplay led{notices};
    Turns turns;  // what comes in while the engine has not answered an open
    // The logic objects, made by their owner or on first use; they go first, before the
    // records they hold.
    std::shared_ptr<Audio> audio;
    std::shared_ptr<Playback> playback;
};

AppContext& app();

// Starts over with fresh records and no components (tests do this between cases).
void resetApp();
