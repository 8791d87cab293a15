#pragma once

// Forwarders to AppAudio(), for the callers not yet handed the object (see audio/audio.h).
bool CycleSoundQuality();
bool CycleAudioChannel();
bool CycleSoundChannel();
bool ShowAudioProperties();
