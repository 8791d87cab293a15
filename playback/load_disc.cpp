#include "playback/playback.h"

#include "core/player_state.h"

#include <string>

#include "components/components.h"
#include "components/discbay/drive_view.h"
#include "disc/play_list.h"
#include "led/led_refresh.h"

void Playback::LoadDisc(uintptr_t drive, intptr_t mode)
{
    const auto driveIndex = static_cast<uint32_t>(drive & 0xFFFF);
    const uint32_t drop = mode != 0;
    PlayerState& s = state_;
    const uint16_t earlier = s.status;

    EndTrackEntry(true);
    std::string current;
    const bool hadTrack = s.currentTrack != 0 && playList_.PlayList_GetPath(s.currentTrack - 1, current);
    if (drop) {
        leavePbc(driveIndex);
        chapters_.left(driveIndex);
    }
    if (!playList_.ScanDisc(*components_.discbay, drives_, driveIndex, drop))
        return;
    if (!drop) {
        leavePbc();
        // With playback control, the disc's lists say what opens first.
        if (chapters_.arrived(driveIndex, drives_.current()) && awaitControl(driveIndex, earlier))
            return;
    }

    uint32_t found = 0;
    if (drop && hadTrack && playList_.PlayList_FindBackward(current, s.currentTrack - 1, found)) {
        // Playback goes on untouched; only the numbering moved.
        s.currentTrack = found + 1;
        s.trackCount = playList_.PlayList_Count();
        led_.RefreshTrackNumber(false);
        return;
    }
    PlayListCommand(false);
}
