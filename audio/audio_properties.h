#pragma once

#include <cstdint>

// The engine's three audio settings. Each cycle asks for the next value and then shows, and
// keeps as wanted, what the engine reports back. Each answers the engine's answer to the set.
bool CycleSoundQuality();
bool CycleAudioChannel();
bool CycleSoundChannel();
// The engine's own decoder dialog; when the user confirms, its three values are taken over.
bool ShowAudioProperties();
