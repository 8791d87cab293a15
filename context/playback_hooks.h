#pragma once

#include <cstdint>
#include <functional>

#include "core/command_id.h"

class Window;

enum class DiscMenuForm { Load, Eject };

// What the other parts of the player plug into playback. An empty entry is a part that is
// not built in: the commands that need it are refused (the dispatcher answers 0) and the
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
    std::function<uint32_t(DiscMenuForm form)> showDiscMenu;
    std::function<uint32_t()> stopOrEject;
    // The play-list dialog, owned by the given window; nonzero when closed with OK.
    std::function<uint32_t(Window* owner)> showPlayListDialog;
    // The panel's busy cursor and check buttons.
    std::function<uint32_t()> panelBeginBusyCursor;
    std::function<uint32_t()> panelEndBusyCursor;
    std::function<uint32_t(CommandId command, uint32_t checked)> panelSetButtonChecked;
};

PlaybackHooks& playbackHooks();

uint32_t Panel_BeginBusyCursor();
uint32_t Panel_EndBusyCursor();
uint32_t Panel_SetButtonChecked(CommandId command, uint32_t checked);
