#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/file_drop.h"
#include "video/picture_areas.h"

class QKeyEvent;
class QWidget;
class VideoFrame;
class Window;
struct AppWindows;
struct Components;
struct PlayerSettings;
struct PlayerState;

// What the video windows are handed when they are made: the records they read, the components
// they call, and their neighbours.
struct VideoLinks {
    const PlayerState& state;
    PlayerSettings& settings;
    Components& components;
    AppWindows& windows;  // the record of the windows that exist: the frame enters itself, and
                          // finds the panel there, which may not exist
    Window* main = nullptr;  // where a close goes; none in a test without a main window
};

// What the keyboard does in the two windows: the panel's keyboard map, which the owner plugs in.
class VideoKeys {
public:
    virtual ~VideoKeys() = default;
    // Key presses and releases in the frame or the image window (target). Answers true when it
    // took the key.
    virtual bool key(Window& target, QKeyEvent& event) = 0;
    // Tried first with every key, for the multimedia keys; the image window hands them on to
    // the frame, so frame is always the frame. Answers true when it took the key.
    virtual bool appCommand(Window& frame, QKeyEvent& event) = 0;
};

// What the owner plugs into the two windows: their keys, and where dropped files go (they play
// as the command line's do).
struct VideoHooks {
    VideoKeys* keys = nullptr;  // none: the windows take no key
    // Where files dropped on the frame or the image window go; the frame takes no drop without.
    FileDropTarget* drops = nullptr;
    // What a click on the picture chooses; none: the picture has no areas.
    PictureAreas* areas = nullptr;
};

// The skinned video window: a frameless frame drawn from eight border pictures, and inside it
// the image window that the media engine shows the picture in.

// Makes the frame and its image window into the holder from section "Video" of the
// configuration, places it from the per-user store and shows it; enters it and its image window
// in links.windows. False, with one line in why naming the missing key or file, when the skin
// lacks a border picture or the holder holds a frame.
bool VideoWnd_Create(std::unique_ptr<VideoFrame>& frame, const VideoLinks& links, const VideoHooks& hooks,
                     std::string& why);

// Stores the last restored placement through Nestwell, then destroys both windows and takes
// them out of the windows' record. Nothing happens when there is no frame.
void VideoWnd_Destroy(std::unique_ptr<VideoFrame>& frame);

// Messages the image window takes through Window::post.
namespace video_msg {
constexpr uint32_t RButtonUp = 0x0205;
}  // namespace video_msg

// Adds or removes a window's always-on-top flag in place: changing a shown widget's flags the
// usual way would hide and re-create its window.
void SetStaysOnTop(QWidget& window, bool on);
