#pragma once

#include <QObject>

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

// Tells whoever follows the state beyond the panel (the desktop's media controls, the screen
// saver's inhibition) each part as it changes, with or without a panel.
class StateNotices : public QObject {
    Q_OBJECT
public:
    void tell(StatePart part) { emit changed(part); }

signals:
    void changed(StatePart part);
};
