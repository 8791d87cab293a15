#pragma once

#include <cstdint>

// What the media engine reports of itself, as its 16-bit status.
namespace engine_status {
enum Value : uint16_t {
    Stopped = 0,    // nothing open, stopped, or at the end of the file
    Paused = 1,
    Playing = 2,    // forward at normal speed
    OtherRate = 3,  // forward at another rate
    Backward = 4,
};
}  // namespace engine_status

// What happens at the end of a track: the list stops at its end, wraps, or the track repeats.
enum class RepeatMode : uint32_t { Off = 0, List = 1, Track = 2 };

// The one playback record; read and written on the GUI thread only.
struct PlayerState {
    uint32_t trackCount = 0;
    uint32_t currentTrack = 0;
    uint16_t status = engine_status::Stopped;
    uint32_t position = 0;
    uint32_t length = 0;
    RepeatMode repeatMode = RepeatMode::Off;

    bool entryActive = false;
    uint32_t enteredNumber = 0;
    bool entryBlinkOn = true;
    // A Video CD's picture item has no track number to show.
    bool trackNumberHidden = false;

    bool seekIdle = true;
    uint32_t seekTarget = 0;
    uint32_t seekStep = 0;
    uint32_t seekInterval = 0;
    uint16_t seekSavedStatus = 0;
    bool seekHeldForward = false;
    bool volumeHeldUp = false;

    bool muted = false;
    uint32_t volumeLeft = 0;
    uint32_t volumeRight = 0;

    uint32_t wantedSoundQuality = 0;
    uint32_t wantedAudioChannel = 0;
    uint32_t wantedSoundChannel = 0;
    uint32_t shownSoundQuality = 0;
    uint32_t shownAudioChannel = 0;
    uint32_t shownSoundChannel = 0;

    bool videoTopmost = false;
};
