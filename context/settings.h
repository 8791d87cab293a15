#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Room for a configuration text value, its terminator included (255 characters).
inline constexpr size_t kConfigTextBuffer = 256;

// Builds the paths of PlayerSettings from the executable (app().windows.instance, or this
// process's own executable when that is empty), reads every start-up key of Quintara.CFG with
// its bounds and defaults, and clears the playback fields of PlayerState.
void LoadSettings();

// Read app().settings.cfgPath afresh at each call, for the keys read at their own moments.
uint32_t ReadConfigInt(std::string_view section, std::string_view key, uint32_t fallback);
std::string ReadConfigText(std::string_view section, std::string_view key, size_t bufferSize);

// The real path of the running executable; empty when the system does not tell.
std::string ExecutablePath();
