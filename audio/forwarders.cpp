#include <memory>

#include "audio/audio.h"
#include "audio/audio_properties.h"
#include "audio/volume.h"
#include "context/app_context.h"

Audio& AppAudio()
{
    AppContext& context = app();
    if (!context.audio)
        context.audio = std::make_shared<Audio>(context.components, context.settings, context.state, context.windows,
                                                context.modalLoops);
    return *context.audio;
}

uint32_t MixerLine() { return AppAudio().MixerLine(); }
bool ToggleMute() { return AppAudio().ToggleMute(); }
bool StepVolume(bool up, bool started) { return AppAudio().StepVolume(up, started); }
bool ReadMuteState(bool repaint) { return AppAudio().ReadMuteState(repaint); }
bool ReadVolumeLevel(bool repaint) { return AppAudio().ReadVolumeLevel(repaint); }
std::optional<double> ReadVolumeShare() { return AppAudio().ReadVolumeShare(); }
bool SetVolumeShare(double share) { return AppAudio().SetVolumeShare(share); }
bool CycleSoundQuality() { return AppAudio().CycleSoundQuality(); }
bool CycleAudioChannel() { return AppAudio().CycleAudioChannel(); }
bool CycleSoundChannel() { return AppAudio().CycleSoundChannel(); }
bool ShowAudioProperties() { return AppAudio().ShowAudioProperties(); }
