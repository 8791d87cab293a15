#include "components/reelkit/audio_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace {
QComboBox* makeList(QWidget* parent, const char* name, const QStringList& items)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->addItems(items);
    return list;
}
}  // namespace

AudioDecoderDialog::AudioDecoderDialog(QWidget* parent, const AudioChoice& current) : QDialog(parent)
{
    setWindowTitle(tr("MPEG Audio Decoder"));
    setModal(true);
    soundQuality_ = makeList(this, kSoundQualityName,
                             {tr("Full quality"), tr("22 kHz"), tr("11 kHz"), tr("8 kHz")});
    audioChannel_ = makeList(this, kAudioChannelName, {tr("Stereo"), tr("Left"), tr("Right")});
    soundChannel_ = makeList(this, kSoundChannelName, {tr("Stereo"), tr("Mono")});

    auto* form = new QFormLayout;
    form->addRow(tr("Sound Quality"), soundQuality_);
    form->addRow(tr("Audio Channel"), audioChannel_);
    form->addRow(tr("Sound Channel"), soundChannel_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setChoice(current);
}

AudioChoice AudioDecoderDialog::choice() const
{
    return {static_cast<uint32_t>(soundQuality_->currentIndex()), static_cast<uint32_t>(audioChannel_->currentIndex()),
            static_cast<uint32_t>(soundChannel_->currentIndex())};
}

void AudioDecoderDialog::setChoice(const AudioChoice& choice)
{
    // Values out of range (the not-available ones) show the first entry.
    auto pick = [](QComboBox* list, uint32_t value) {
        list->setCurrentIndex(value < static_cast<uint32_t>(list->count()) ? static_cast<int>(value) : 0);
    };
    pick(soundQuality_, choice.soundQuality);
    pick(audioChannel_, choice.audioChannel);
    pick(soundChannel_, choice.soundChannel);
}
