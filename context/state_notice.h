#pragma once

#include <functional>

// The parts of PlayerState the panel's display shows; the logic names each one as it changes
// it, through the display's refresh operations.
enum class StatePart {
    Mute,
    Volume,
    PlayState,
    Repeat,
    SoundQuality,
    AudioChannel,
    SoundChannel,
    TrackNumber,
    Time,
    TrackTime,
};

// Whoever follows the state beyond the panel (the desktop's media controls); one at a time.
using StateListener = std::function<void(StatePart)>;

// Tells the listener, when there is one, that the part has changed; with or without a panel.
void NotifyStateChanged(StatePart part);
