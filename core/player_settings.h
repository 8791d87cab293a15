#pragma once

#include <cstdint>
#include <string>

// Values read from Quintara.CFG at start. Paths are native and never cut.
struct PlayerSettings {
    std::string exeDir;   // ends in "/"
    std::string cfgPath;  // exeDir + "Quintara.CFG"
    std::string rcDir;    // skin folder, ends in "/"

    uint32_t controlMasterVolume = 0;
    uint32_t maxVolumeLevel = 16;
    uint32_t volumeInterval = 100;
    uint32_t repeatAllOnly = 0;
    uint32_t playListDialogOnPlay = 1;
    uint32_t ejectCdRomOnly = 0;

    uint32_t fastForwardRate = 3000;
    uint32_t slowForwardRate = 500;
    uint32_t fastBackwardRate = 3000;
    uint32_t slowBackwardRate = 500;

    uint32_t seekBaseInterval = 500;
    uint32_t seekOffsetIncrement = 500;
    uint32_t seekMaxOffset = 7000;

    // "SelectTrack Settings" of the panel skin, read when the panel is made.
    uint32_t blinkTrackInterval = 350;
    uint32_t blinkTrackTimes = 5;
    uint32_t autoReturn = 1;
};
