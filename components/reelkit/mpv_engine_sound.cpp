// The engine's sound: the channels and quality asked for, as libmpv's audio filters, and the
// sound server's return.
#include "components/reelkit/mpv_engine.h"

#include <QWidget>

#include <mpv/client.h>

#include "core/window.h"
#include "components/reelkit/audio_dialog.h"
#include "components/reelkit/mpv_properties.h"

bool MpvEngine::setAudioProperties(Window*, const AudioWish& wish)
{
    if (!handle_)
        return false;
    const AudioChoice wanted{wish.soundQuality.value_or(audio_.soundQuality),
                             wish.audioChannel.value_or(audio_.audioChannel),
                             wish.soundChannel.value_or(audio_.soundChannel)};
    return IsValidAudioChoice(wanted) && applyAudio(wanted);
}

bool MpvEngine::applyAudio(const AudioChoice& wanted)
{
    if (wanted == audio_)
        return true;
    // Kept for the files to come even while nothing with sound is open.
    if (open_ && hasAudio_) {
        if (mpv_set_property_string(handle_.get(), mpvname::AudioFilters, AudioFilterOption(wanted).c_str()) < 0)
            return false;
        // libmpv hands a new filter chain only what is decoded after it: once the file's sound
        // is decoded to its end (all of a short file, the last seconds of any), a second change
        // leaves a chain that never hears the end, and the sound, which paces the picture,
        // stalls. Decoding again from where the picture stands feeds the chain in force.
        if (!eof_)
            issueSeek(positionMs());
    }
    audio_ = wanted;
    return true;
}

std::optional<AudioChoice> MpvEngine::getAudioProperties(Window*)
{
    if (!handle_)
        return {};
    return open_ && hasAudio_ ? audio_ : kNoAudio;
}

bool MpvEngine::mpegAudioDecoderConfig(Window* owner)
{
    if (!handle_)
        return false;
    AudioDecoderDialog dialog(dynamic_cast<QWidget*>(owner), audio_);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return applyAudio(dialog.choice());
}

std::string MpvEngine::audioFilterInForce() const
{
    return propertyText(mpvname::AudioFilters);
}

int MpvEngine::audioOutputRate() const
{
    int64_t rate = 0;
    if (handle_ && mpv_get_property(handle_.get(), mpvname::AudioOutRate, MPV_FORMAT_INT64, &rate) < 0)
        return 0;
    return static_cast<int>(rate);
}

void MpvEngine::soundServerBack()
{
    // libmpv falls back to no output when its server goes and never looks for it again.
    if (!handle_ || !open_ || !hasAudio_)
        return;
    const char* command[] = {"ao-reload", nullptr};
    mpv_command_async(handle_.get(), 0, command);
}
