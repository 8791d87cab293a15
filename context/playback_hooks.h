#pragma once

#include <cstdint>
#include <functional>

#include "core/command_id.h"

class Window;

enum class DiscMenuForm { Load, Eject };

// What the other parts of the player plug into playback. An empty entry is a part that is
// not built in: the commands that need it are refused (the dispatcher answers false) and the
// panel calls change nothing.
struct PlaybackHooks {
    // Volume and mute.
    std::function<bool()> toggleMute;
    std::function<bool(bool up, bool started)> stepVolume;
    // The engine's audio properties.
    std::function<bool()> cycleSoundQuality;
    std::function<bool()> cycleAudioChannel;
    std::function<bool()> cycleSoundChannel;
    std::function<bool()> showAudioProperties;
    // Drive menus and the door.
    std::function<bool(DiscMenuForm form)> showDiscMenu;
    std::function<bool()> stopOrEject;
    // The play-list dialog, owned by the given window; true when closed with OK.
    std::function<bool(Window* owner)> showPlayListDialog;
    // The panel's busy cursor and check buttons.
    std::function<bool()> panelBeginBusyCursor;
    std::function<bool()> panelEndBusyCursor;
    std::function<bool(CommandId command, bool checked)> panelSetButtonChecked;
};

PlaybackHooks& playbackHooks();

bool Panel_BeginBusyCursor();
bool Panel_EndBusyCursor();
bool Panel_SetButtonChecked(CommandId command, bool checked);
