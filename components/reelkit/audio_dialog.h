#pragma once

#include <QDialog>

#include "components/reelkit/audio_choice.h"

class QComboBox;

// The engine's small modal dialog of the three audio properties.
class AudioDecoderDialog : public QDialog {
    Q_OBJECT
public:
    AudioDecoderDialog(QWidget* parent, const AudioChoice& current);

    AudioChoice choice() const;
    void setChoice(const AudioChoice& choice);

    // The object names of the three lists, for whoever drives the dialog without a pointer.
    static constexpr const char* kSoundQualityName = "soundQuality";
    static constexpr const char* kAudioChannelName = "audioChannel";
    static constexpr const char* kSoundChannelName = "soundChannel";

private:
    QComboBox* soundQuality_;
    QComboBox* audioChannel_;
    QComboBox* soundChannel_;
};
