#include "audio/audio_parts.h"

#include "app/main_window.h"
#include "audio/audio_properties.h"
#include "audio/volume.h"
#include "playback/playback_hooks.h"

void InstallAudioHooks(PlaybackHooks& hooks)
{
    hooks.toggleMute = ToggleMute;
    hooks.stepVolume = StepVolume;
    hooks.cycleSoundQuality = CycleSoundQuality;
    hooks.cycleAudioChannel = CycleAudioChannel;
    hooks.cycleSoundChannel = CycleSoundChannel;
    hooks.showAudioProperties = ShowAudioProperties;
}

void AddAudioParts(MainWindowParts& parts)
{
    parts.readMuteState = [](uint32_t repaint) { ReadMuteState(repaint); };
    parts.readVolumeLevel = [](uint32_t repaint) { ReadVolumeLevel(repaint); };
}
