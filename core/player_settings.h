#pragma once

#include <cstdint>
#include <string>

// The values of Quintara.CFG. Which key fills each member, its default, its bounds and the
// moment it is read are in the one table of core/settings.cpp; the player's settings start at
// those defaults. Paths are native and never cut.
struct PlayerSettings {
    std::string exeDir;   // ends in "/"
    std::string cfgPath;  // exeDir + "Quintara.CFG"
    std::string rcDir;    // skin folder, ends in "/"

    uint32_t useActiveMovie = 0;
    uint32_t useDefaultVideoWindow = 0;

    uint32_t controlMasterVolume = 0;
    uint32_t maxVolumeLevel = 0;
    uint32_t volumeInterval = 0;
    uint32_t repeatAllOnly = 0;
    uint32_t playListDialogOnPlay = 0;
    uint32_t ejectCdRomOnly = 0;
    uint32_t playbackControl = 0;  // a Video CD with menus plays them
    uint32_t entryPointsAsChapters = 0;  // Previous and Next step through a track's entry points

    uint32_t fastForwardRate = 0;
    uint32_t slowForwardRate = 0;
    uint32_t fastBackwardRate = 0;
    uint32_t slowBackwardRate = 0;

    uint32_t seekBaseInterval = 0;
    uint32_t seekOffsetIncrement = 0;
    uint32_t seekMaxOffset = 0;

    std::string panelTitle;
    uint32_t blinkTrackInterval = 0;
    uint32_t blinkTrackTimes = 0;
    uint32_t autoReturn = 0;

    std::string videoTitle;
    std::string playFileExtensions;  // separated by ","
    std::string helpFile;            // relative to exeDir; empty: none
};
