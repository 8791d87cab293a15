#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QTimer>

#include <set>

#include "components/reelkit/audio_dialog.h"
#include "tests/test_reelkit_support.h"

namespace {

// ---- the picture ----

// How far two pictures of one size lie apart: the mean difference of a colour channel, 0..255.
double meanDifference(const QImage& a, const QImage& b)
{
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32).scaled(x.size());
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

size_t coloursIn(const QImage& image)
{
    std::set<QRgb> colours;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int row = 0; row < rgb.height(); row += 4)
        for (int column = 0; column < rgb.width(); column += 4)
            colours.insert(rgb.pixel(column, row) & 0xf0f0f0);
    return colours.size();
}

using EnginePicture = EngineTest;

TEST_F(EnginePicture, ShowsTheClipsDecodedPictureOnOpen)
{
    openClip(clips.vcd);
    ASSERT_FALSE(engine->pictureIsOpenGl());
    const QImage reference(QString::fromStdString(clips.firstPicture(clips.vcd, 320, 240)));
    ASSERT_FALSE(reference.isNull());
    const QImage shown = engine->pictureWidget()->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(320, 240));
    EXPECT_GT(coloursIn(shown), 20u) << "one flat colour";
    EXPECT_LT(meanDifference(shown, reference), 16.0);

    // Drawn into a surface with alpha, as Wayland's backing store is, it covers what lies beneath.
    QImage surface(shown.size(), QImage::Format_ARGB32_Premultiplied);
    surface.fill(Qt::transparent);
    engine->pictureWidget()->render(&surface);
    int seeThrough = 0;
    for (int row = 0; row < surface.height(); ++row)
        for (int column = 0; column < surface.width(); ++column)
            seeThrough += qAlpha(surface.pixel(column, row)) != 255;
    EXPECT_EQ(seeThrough, 0);
}

struct MovingCase {
    const char* name;
    bool hidden;
};

class EnginePictureMoves : public EngineTest, public ::testing::WithParamInterface<MovingCase> {};

// Each frame is shown at its time by the picture, not by libmpv; a hidden picture still takes
// every frame, or libmpv would hold playback on it. (The OpenGL picture needs a platform with
// OpenGL widgets, which these tests' offscreen one is not.)
TEST_P(EnginePictureMoves, WhilePlaying)
{
    openClip(clips.vcd);
    QWidget* picture = engine->pictureWidget();
    const QImage first = picture->grab().toImage();
    picture->setHidden(GetParam().hidden);
    ASSERT_TRUE(playTo(1000));
    ASSERT_TRUE(engine->pause());
    // The frame shown is taken on the event loop after the position moved.
    QImage later;
    ASSERT_TRUE(WaitUntil([&] {
        later = picture->grab().toImage();
        return meanDifference(first, later) > 1.0;
    }));
    EXPECT_GT(coloursIn(later), 20u);
}

INSTANTIATE_TEST_SUITE_P(Pictures, EnginePictureMoves,
                         ::testing::Values(MovingCase{"Shown", false}, MovingCase{"Hidden", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EnginePicture, IsFittedAgainToTheResizedWindow)
{
    openClip(clips.vcd);
    QWidget* picture = engine->pictureWidget();
    window->resize(640, 480);
    EXPECT_TRUE(engine->resetImageSize());
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 640, 480));
    const QImage reference(QString::fromStdString(clips.firstPicture(clips.vcd, 640, 480)));
    QImage shown;
    EXPECT_TRUE(WaitUntil([&] {
        shown = picture->grab().toImage();
        return shown.size() == QSize(640, 480) && meanDifference(shown, reference) < 16.0;
    })) << meanDifference(shown, reference);
}

TEST_F(EnginePicture, ResetWithoutAPictureRefuses)
{
    EXPECT_FALSE(engine->resetImageSize());
    openClip(clips.vcd, nullptr);
    EXPECT_FALSE(engine->resetImageSize());
}

TEST_F(EnginePicture, GoingBackwardShowsMovingPictures)
{
    openClip(clips.avi);
    ASSERT_TRUE(playTo(1500));
    ASSERT_TRUE(engine->setRate(-1000));
    const QImage start = engine->pictureWidget()->grab().toImage();
    QImage later;
    ASSERT_TRUE(WaitUntil([&] {
        later = engine->pictureWidget()->grab().toImage();
        return status() == 4 && position() < 1000 && meanDifference(start, later) > 1.0;
    }));
}

// ---- the audio properties ----

struct Audio {
    uint32_t quality = 99, audioChannel = 99, soundChannel = 99;
    bool operator==(const Audio&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Audio& a)
{
    return out << a.quality << "/" << a.audioChannel << "/" << a.soundChannel;
}

using EngineAudio = EngineTest;

Audio audioOf(MpvEngine& engine)
{
    const AudioChoice shown = engine.getAudioProperties(nullptr).value_or(AudioChoice{99, 99, 99});
    return {shown.soundQuality, shown.audioChannel, shown.soundChannel};
}

TEST_F(EngineAudio, NotAvailableWithoutSoundOrWithoutAFile)
{
    EXPECT_EQ(audioOf(*engine), (Audio{4, 3, 2}));
    openClip(clips.vcdSilent);
    EXPECT_EQ(audioOf(*engine), (Audio{4, 3, 2}));
    openClip(clips.vcd);
    EXPECT_EQ(audioOf(*engine), (Audio{0, 0, 0}));
    engine->close();
    EXPECT_EQ(audioOf(*engine), (Audio{4, 3, 2}));
}

TEST_F(EngineAudio, EachGivenValueIsTakenAndReachesTheSound)
{
    openClip(clips.vcd);
    ASSERT_TRUE(engine->setAudioProperties(nullptr, {.soundQuality = 2}));
    EXPECT_EQ(audioOf(*engine), (Audio{2, 0, 0}));
    EXPECT_NE(engine->audioFilterInForce().find("aresample=11025"), std::string::npos)
        << engine->audioFilterInForce();

    ASSERT_TRUE(engine->setAudioProperties(nullptr, {.audioChannel = 2}));
    EXPECT_EQ(audioOf(*engine), (Audio{2, 2, 0}));
    EXPECT_NE(engine->audioFilterInForce().find("c0=c1|c1=c1"), std::string::npos) << engine->audioFilterInForce();

    // Plays with the filters in place, the sound going out.
    EXPECT_TRUE(playTo(500));
    EXPECT_TRUE(WaitUntil([&] { return engine->audioOutputRate() > 0; }));

    ASSERT_TRUE(engine->setAudioProperties(nullptr, {.soundQuality = 0, .audioChannel = 0}));
    EXPECT_EQ(engine->audioFilterInForce(), "");
}

struct RefusedAudio {
    const char* name;
    uint32_t quality, audioChannel, soundChannel;
};

class EngineAudioRefused : public EngineTest, public ::testing::WithParamInterface<RefusedAudio> {};

TEST_P(EngineAudioRefused, LeavesTheEnginesValues)
{
    openClip(clips.vcd);
    ASSERT_TRUE(engine->setAudioProperties(nullptr, {1, 1, 1}));
    const std::string filter = engine->audioFilterInForce();
    const RefusedAudio& bad = GetParam();
    EXPECT_FALSE(engine->setAudioProperties(nullptr, {bad.quality, bad.audioChannel, bad.soundChannel}));
    EXPECT_EQ(audioOf(*engine), (Audio{1, 1, 1}));
    EXPECT_EQ(engine->audioFilterInForce(), filter);
}

INSTANTIATE_TEST_SUITE_P(Values, EngineAudioRefused,
                         ::testing::Values(RefusedAudio{"Quality", 4, 0, 0}, RefusedAudio{"AudioChannel", 0, 3, 0},
                                           RefusedAudio{"SoundChannel", 0, 0, 2},
                                           RefusedAudio{"OneBadAmongGood", 2, 2, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineAudio, ValuesLastAcrossFiles)
{
    openClip(clips.vcdSilent);
    EXPECT_TRUE(engine->setAudioProperties(nullptr, {.soundQuality = 3, .soundChannel = 1}));
    EXPECT_EQ(audioOf(*engine), (Audio{4, 3, 2}));
    openClip(clips.vcd);
    EXPECT_EQ(audioOf(*engine), (Audio{3, 0, 1}));
    EXPECT_NE(engine->audioFilterInForce().find("aresample=8000"), std::string::npos);
}

// The dialog is driven as a user would, once it runs modally.
void whenTheDialogShows(const std::function<void(AudioDecoderDialog&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<AudioDecoderDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "no modal audio dialog";
            return;
        }
        act(*dialog);
    });
}

void choose(AudioDecoderDialog& dialog, const char* list, int index)
{
    auto* box = dialog.findChild<QComboBox*>(list);
    ASSERT_NE(box, nullptr) << list;
    box->setCurrentIndex(index);
}

TEST_F(EngineAudio, DialogOkAppliesTheThreeSettings)
{
    openClip(clips.vcd);
    whenTheDialogShows([](AudioDecoderDialog& dialog) {
        choose(dialog, AudioDecoderDialog::kSoundQualityName, 1);
        choose(dialog, AudioDecoderDialog::kAudioChannelName, 2);
        choose(dialog, AudioDecoderDialog::kSoundChannelName, 1);
        dialog.accept();
    });
    EXPECT_TRUE(engine->mpegAudioDecoderConfig(window.get()));
    EXPECT_EQ(audioOf(*engine), (Audio{1, 2, 1}));
    EXPECT_NE(engine->audioFilterInForce().find("aresample=22050"), std::string::npos);
}

TEST_F(EngineAudio, DialogCancelChangesNothing)
{
    openClip(clips.vcd);
    ASSERT_TRUE(engine->setAudioProperties(nullptr, {.soundQuality = 3}));
    whenTheDialogShows([](AudioDecoderDialog& dialog) {
        // Shows what the engine has.
        EXPECT_EQ(dialog.choice(), (AudioChoice{3, 0, 0}));
        choose(dialog, AudioDecoderDialog::kSoundQualityName, 0);
        choose(dialog, AudioDecoderDialog::kAudioChannelName, 1);
        dialog.reject();
    });
    EXPECT_FALSE(engine->mpegAudioDecoderConfig(window.get()));
    EXPECT_EQ(audioOf(*engine), (Audio{3, 0, 0}));
}

}  // namespace
