#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "audio/panel_feedback.h"

class LedDisplay;
struct AppWindows;
struct Components;
struct PlayerSettings;
struct PlayerState;
class ModalLoops;

// Volume and mute on a line of the system mixer, and the engine's three audio properties.
// The display follows the mixer's change notices, not the volume and mute commands.
class Audio {
public:
    // The components are reached at each call: an absent one is a do-nothing object.
    Audio(Components& components, const PlayerSettings& settings, PlayerState& state, const AppWindows& windows,
          ModalLoops& modalLoops, LedDisplay& led);
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;

    // The panel while it exists; null without one.
    void setPanel(PanelFeedback* panel) { panel_ = panel; }

    // The mixer line the player works on: 0 (the default device) or 8 (its own stream).
    uint32_t MixerLine() const;
    // Inverts every channel of the mute control; answers the write's result, false when the
    // read failed.
    bool ToggleMute();
    // One volume step on every channel; started is false at the release, which only ends the
    // repeat.
    bool StepVolume(bool up, bool started);
    // Read the mixer into the state; repaint marks the LED element for the next paint.
    bool ReadMuteState(bool repaint);
    bool ReadVolumeLevel(bool repaint);
    // The line's volume as a share of its range, 0 to 1: its loudest channel; nothing when the
    // mixer cannot be read.
    std::optional<double> ReadVolumeShare();
    // Sets every channel of the line to the share of its range (cut to 0 to 1, not a number
    // refused); answers the write's result. The display follows through the mixer's notice.
    bool SetVolumeShare(double share);

    // Each cycle asks for the next value and then shows, and keeps as wanted, what the engine
    // reports back. Each answers the engine's answer to the set.
    bool CycleSoundQuality();
    bool CycleAudioChannel();
    bool CycleSoundChannel();
    // The engine's own decoder dialog; when the user confirms, its three values are taken over.
    bool ShowAudioProperties();
    // Until a file tells them, no audio property is lit: each shown value is one past its last.
    void ShowNoProperties();
    // A file the engine has just opened takes the user's last audio choices; the display shows
    // what the engine reports back.
    void ApplyToOpenedFile();

private:
    struct Values;
    struct Range;

    bool readRange(Range& range);
    // The properties by their place: sound quality, audio channel, sound channel.
    bool cycle(size_t slot);
    void adopt(size_t slot);

    Components& components_;
    const PlayerSettings& settings_;
    PlayerState& state_;
    const AppWindows& windows_;
    ModalLoops& modalLoops_;
    LedDisplay& led_;
    PanelFeedback* panel_ = nullptr;
};
