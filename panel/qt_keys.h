#pragma once

#include <cstdint>
#include <vector>

#include "video/video_window.h"

class KeyMap;
class Playback;
class QKeyEvent;
class Window;

// Qt's key events in the terms of the keyboard map: virtual-key codes, characters, and the
// application commands of the multimedia keys.

// The virtual-key code of the event's key; 0 for a key the map has no code for.
uint32_t QtKey_VirtualKey(const QKeyEvent& event);
// The characters the key produced, as the platform's translation gives them (Enter gives 13).
std::vector<uint32_t> QtKey_Characters(const QKeyEvent& event);
// The application command (8..14) of a multimedia key; 0 for any other key.
uint32_t QtKey_AppCommand(const QKeyEvent& event);

// A multimedia key of the window goes to the multimedia-key handling, as WM_APPCOMMAND with
// the command in bits 16..27 of lParam. Answers true when the event was a multimedia key.
bool QtKey_RouteAppCommand(Playback& playback, Window& window, const QKeyEvent& event);

// A key press becomes the key-down and the characters it produced, a release the key-up;
// the keyboard's own repeats come as presses only, as they do where each repeat is one more
// key-down; all on the windows' shared map. Answers true: the window's key handling is the map's.
bool QtKey_Route(KeyMap& keys, Window& window, const QKeyEvent& event);

// The video frame and its image window take their keys as the panel does: the multimedia keys
// first, then the shared map.
class PanelVideoKeys : public VideoKeys {
public:
    PanelVideoKeys(KeyMap& keys, Playback& playback) : keys_(keys), playback_(playback) {}
    bool key(Window& target, QKeyEvent& event) override { return QtKey_Route(keys_, target, event); }
    bool appCommand(Window& frame, QKeyEvent& event) override { return QtKey_RouteAppCommand(playback_, frame, event); }

private:
    KeyMap& keys_;
    Playback& playback_;
};
