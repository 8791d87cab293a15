#pragma once

#include <cstdint>
#include <optional>

class Audio;

// The player's Audio, made on first use from the process-wide records.
Audio& AppAudio();

// Forwarders to AppAudio(), for the callers not yet handed the object (see audio/audio.h).
uint32_t MixerLine();
bool ToggleMute();
bool StepVolume(bool up, bool started);
bool ReadMuteState(bool repaint);
bool ReadVolumeLevel(bool repaint);
std::optional<double> ReadVolumeShare();
bool SetVolumeShare(double share);
