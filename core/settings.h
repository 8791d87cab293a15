#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/player_settings.h"

// Room for a configuration text value, its terminator included (255 characters).
inline constexpr size_t kConfigTextBuffer = 256;

// When the keys of Quintara.CFG are read. Each moment reads the file as it is then, so an edit
// shows at the next one, and a key missing by then gives its default again.
enum class SettingMoment : uint8_t {
    StartUp,      // LoadSettings, as the main window is made
    Panel,        // the control panel is made
    VideoWindow,  // the video window is made
    PlayList,     // the play-list store is made
    Help,         // each Help command
};

// Builds the paths of the settings from the executable (instance, or this process's own
// executable when that is empty), then reads the start-up keys.
void LoadSettings(PlayerSettings& settings, const std::string& instance);

// Fills the members that the keys of moment name, from settings.cfgPath.
void Settings_ReadFor(PlayerSettings& settings, SettingMoment moment);

// Every member at its key's default, as before any read.
PlayerSettings Settings_Defaults();

// The real path of the running executable; empty when the system does not tell.
std::string ExecutablePath();
