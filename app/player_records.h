#pragma once

#include "audio/audio.h"
#include "components/components.h"
#include "components/discbay/drive_view.h"
#include "core/app_windows.h"
#include "core/modal_loop.h"
#include "core/player_settings.h"
#include "core/player_state.h"
#include "core/settings.h"
#include "core/state_notices.h"
#include "core/turns.h"
#include "disc/play_list.h"
#include "led/led_refresh.h"
#include "panel/keys/key_map.h"
#include "playback/playback.h"

// The player's records and the logic that owns its parts of them, made together by their one
// owner (a test makes its own). The logic comes last, so that it goes first.
struct PlayerRecords {
    PlayerState state;
    PlayerSettings settings = Settings_Defaults();
    AppWindows windows;
    Components components;
    PlayListStore playList{settings};  // the list exists while the main window does
    DriveView drives{settings.cfgPath};
    KeyMap keys;  // shared by every window, so a key may go up elsewhere
    ModalLoops modalLoops;
    StateNotices notices;  // each change of the state the display shows
    LedDisplay led{notices};
    Turns turns;  // what comes in while the engine has not answered an open
    Audio audio{components, settings, state, windows, modalLoops, led};
    Playback playback{components, settings, state, windows, drives, playList, turns, audio, led};
};
