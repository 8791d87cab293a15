#pragma once

#include <cstdint>

// The one playback record; read and written on the GUI thread only.
struct PlayerState {
    uint32_t trackCount = 0;
    uint32_t currentTrack = 0;
    uint16_t status = 0;
    uint32_t position = 0;
    uint32_t length = 0;
    uint32_t repeatMode = 0;

    uint32_t entryActive = 0;
    uint32_t enteredNumber = 0;
    uint32_t entryBlinkOn = 1;

    uint32_t seekIdle = 1;
    uint32_t seekTarget = 0;
    uint32_t seekStep = 0;
    uint32_t seekInterval = 0;
    uint16_t seekSavedStatus = 0;
    uint32_t seekHeldForward = 0;
    uint32_t volumeHeldUp = 0;

    uint32_t muted = 0;
    uint32_t volumeLeft = 0;
    uint32_t volumeRight = 0;

    uint32_t wantedSoundQuality = 0;
    uint32_t wantedAudioChannel = 0;
    uint32_t wantedSoundChannel = 0;
    uint32_t shownSoundQuality = 0;
    uint32_t shownAudioChannel = 0;
    uint32_t shownSoundChannel = 0;

    uint32_t videoTopmost = 0;
};
