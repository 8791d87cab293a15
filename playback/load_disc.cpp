#include "playback/load_disc.h"

#include <string>

#include "context/app_context.h"
#include "disc/play_list.h"
#include "led/led_refresh.h"
#include "playback/track_entry.h"
#include "playback/tracks.h"

void LoadDisc(uintptr_t drive, intptr_t mode)
{
    const auto driveIndex = static_cast<uint32_t>(drive & 0xFFFF);
    const uint32_t drop = mode != 0;
    PlayerState& s = app().state;

    EndTrackEntry(true);
    std::string current;
    const bool hadTrack = s.currentTrack != 0 && PlayList_GetPath(s.currentTrack - 1, current);
    if (!ScanDisc(driveIndex, drop))
        return;

    uint32_t found = 0;
    if (drop && hadTrack && PlayList_FindBackward(current, s.currentTrack - 1, found)) {
        // Playback goes on untouched; only the numbering moved.
        s.currentTrack = found + 1;
        s.trackCount = PlayList_Count();
        Led_RefreshTrackNumber(false);
        return;
    }
    PlayListCommand(false);
}
