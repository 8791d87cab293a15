#pragma once

#include <cstdint>

class StateNotices;
class Window;
struct PanelSkin;

// The LED display's refresh. Each operation marks the panel's rectangles of one LED element
// for repaint (one pixel wider and taller than the element) and, when now is set, repaints at
// once. They answer false when there is no panel or nothing of the element to mark. Each tells
// the notices of its part first (core/state_notices.h), panel or not.
class LedDisplay {
public:
    explicit LedDisplay(StateNotices& notices) : notices_(notices) {}
    LedDisplay(const LedDisplay&) = delete;
    LedDisplay& operator=(const LedDisplay&) = delete;

    // The panel that shows the display, with its skin; both null while there is no panel.
    void showOn(Window* panel, const PanelSkin* skin);
    Window* panel() const { return panel_; }

    bool RefreshMute(bool now);
    bool RefreshVolume(bool now);
    bool RefreshPlayState(bool now);
    bool RefreshRepeat(bool now);
    bool RefreshSoundQuality(bool now);
    bool RefreshAudioChannel(bool now);
    bool RefreshSoundChannel(bool now);
    bool RefreshTrackNumber(bool now);
    bool RefreshTime(bool now);
    bool RefreshTrackTime(bool now);

private:
    StateNotices& notices_;
    Window* panel_ = nullptr;
    const PanelSkin* skin_ = nullptr;
};
