#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The engine's three audio properties and what each value does to the sound.
//
// Sound Quality, from full quality down (the sound is resampled to the rate, never above what
// the output needs, so every level plays at normal pitch and speed):
//   0  as decoded (full quality)
//   1  22,050 Hz
//   2  11,025 Hz
//   3   8,000 Hz
// Audio Channel: 0 stereo, 1 the left channel on both speakers, 2 the right channel on both
// speakers (the two voices of a karaoke disc). Sound Channel: 0 stereo, 1 a mono mix of both
// channels on both speakers. When Audio Channel picks one side, Sound Channel changes nothing.
// A file without sound answers the not-available values 4, 3 and 2.
struct AudioChoice {
    uint32_t soundQuality = 0;
    uint32_t audioChannel = 0;
    uint32_t soundChannel = 0;

    bool operator==(const AudioChoice&) const = default;
};

// What a change of the audio properties asks for; an empty field is left as it is.
struct AudioWish {
    std::optional<uint32_t> soundQuality = {};
    std::optional<uint32_t> audioChannel = {};
    std::optional<uint32_t> soundChannel = {};
};

constexpr uint32_t kSoundQualityLevels = 4;
constexpr uint32_t kAudioChannelChoices = 3;
constexpr uint32_t kSoundChannelChoices = 2;
constexpr AudioChoice kNoAudio{kSoundQualityLevels, kAudioChannelChoices, kSoundChannelChoices};

bool IsValidAudioChoice(const AudioChoice& choice);

// The sample rate a Sound Quality level resamples to; 0 for "as decoded".
uint32_t SampleRateOfQuality(uint32_t soundQuality);

// The value of libmpv's "af" option that gives the choice: empty when nothing is to change,
// otherwise one lavfi graph. Any channel layout is first brought to stereo, so the same graph
// serves mono and surround files.
std::string AudioFilterOption(const AudioChoice& choice);
