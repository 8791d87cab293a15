#include <array>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "core/player_settings.h"
#include "core/player_state.h"
#include "core/settings.h"
#include "core/panel_skin.h"
#include "led/led_draw.h"
#include "led/led_view.h"

namespace {

// Every pixel of these pictures differs from its neighbours and between the pictures, so a
// block copied from the wrong place or the wrong picture shows.
QImage patterned(int width, int height, uint32_t salt)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, 0xFF000000u | ((uint32_t(x) * 7 + salt) & 0xFF) << 16 |
                                     ((uint32_t(y) * 13 + salt * 3) & 0xFF) << 8 | (salt & 0xFF));
    return image;
}

bool sameBlock(const QImage& a, QPoint at, const QImage& b, QPoint from, QSize size)
{
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (a.pixel(at + QPoint(x, y)) != b.pixel(from + QPoint(x, y)))
                return false;
    return true;
}

LedElement element(int x, int y, int width, int height)
{
    LedElement led;
    led.position = {x, y};
    led.size = {width, height};
    return led;
}

class LedDraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        PanelSkin& skin = skin_;
        skin.faceNormal = patterned(200, 100, 11);
        skin.faceSelected = patterned(200, 100, 171);
        skin.faceSize = {200, 100};
        skin.trackNumbers.strip = patterned(105, 12, 99);  // five unused columns
        skin.trackNumbers.cell = {10, 12};
        skin.trackNumbers.digitPositions = {Point{30, 2}, Point{20, 2}};
        for (auto* strip : {&skin.timeNumbers, &skin.trackTimeNumbers}) {
            strip->strip = patterned(80, 9, strip == &skin.timeNumbers ? 55 : 77);
            strip->cell = {8, 9};
        }
        skin.timeNumbers.digitPositions = {Point{90, 20}, Point{82, 20}, Point{70, 20}, Point{62, 20}, Point{50, 20}};
        skin.trackTimeNumbers.digitPositions = {Point{90, 40}, Point{82, 40}, Point{70, 40}, Point{62, 40},
                                                Point{50, 40}};
    }
    PanelSkin& skin() { return skin_; }
    PlayerState& state() { return state_; }

    PanelSkin skin_;
    PlayerState state_;
    PlayerSettings settings = Settings_Defaults();

    // The panel composed as the paint does it: the face, then the LED display.
    QImage compose()
    {
        QImage target = skin().faceNormal->copy();
        QPainter painter(&target);
        Led_DrawAll(painter, skin_, state_, settings.maxVolumeLevel);
        return target;
    }

    bool showsFace(const QImage& panel, Point at, Size size)
    {
        return sameBlock(panel, {at.x, at.y}, *skin().faceNormal, {at.x, at.y}, {size.width, size.height});
    }
    bool showsSelected(const QImage& panel, const LedElement& led)
    {
        const QPoint at(led.position.x, led.position.y);
        return sameBlock(panel, at, *skin().faceSelected, at, {led.size.width, led.size.height});
    }
    template <size_t N>
    bool showsDigit(const QImage& panel, const LedDigitStrip<N>& strip, size_t slot, uint32_t digit)
    {
        const Point at = strip.digitPositions[slot];
        return sameBlock(panel, {at.x, at.y}, *strip.strip, {int(digit) * strip.cell.width, 0},
                         {strip.cell.width, strip.cell.height});
    }
    template <size_t N>
    std::string shown(const QImage& panel, const LedDigitStrip<N>& strip)
    {
        std::string text;
        for (size_t slot = N; slot-- > 0;) {
            char found = '?';
            if (strip.digitPositions[slot] == Point{})
                found = '-';
            for (uint32_t digit = 0; digit < 10 && found == '?'; ++digit)
                if (showsDigit(panel, strip, slot, digit))
                    found = char('0' + digit);
            if (found == '?' && showsFace(panel, strip.digitPositions[slot], strip.cell))
                found = ' ';
            text += found;
        }
        return text;
    }
};

TEST_F(LedDraw, TrackNumberShowsTwoDigitsWithALeadingZero)
{
    const std::vector<std::pair<uint32_t, std::string>> rows = {
        {0, "00"}, {7, "07"}, {10, "10"}, {99, "99"}, {123, "23"}, {4294967295u, "95"}};
    for (const auto& [track, text] : rows) {
        state().currentTrack = track;
        EXPECT_EQ(shown(compose(), skin().trackNumbers), text) << track;
    }
}

TEST_F(LedDraw, AnEnteredNumberBlinksAndTheFaceShowsInItsOffPhase)
{
    state().currentTrack = 12;
    state().entryActive = 1;
    state().enteredNumber = 7;
    state().entryBlinkOn = 1;
    QImage panel = compose();
    EXPECT_EQ(shown(panel, skin().trackNumbers), "07");

    state().entryBlinkOn = 0;
    QPainter painter(&panel);  // over the digits of the on phase, as a repaint does
    Led_DrawTrackNumber(painter, skin_, state_);
    painter.end();
    EXPECT_EQ(shown(panel, skin().trackNumbers), "  ");

    state().entryActive = 0;
    EXPECT_EQ(shown(compose(), skin().trackNumbers), "12") << "the blink flag counts only during an entry";
}

TEST_F(LedDraw, TimesReadHoursMinutesAndSecondsWithOneHourDigit)
{
    const std::vector<std::pair<uint32_t, std::string>> rows = {
        {0, "00000"},         {999, "00000"},        {59999, "00059"},        {60000, "00100"},
        {3599999, "05959"},   {3600000, "10000"},    {35999999, "95959"},     {36000000, "00000"},
        {4294967295u, "30247"},
    };
    for (const auto& [ms, text] : rows) {
        state().position = ms;
        state().length = 61000;
        const QImage panel = compose();
        EXPECT_EQ(shown(panel, skin().timeNumbers), text) << ms;
        EXPECT_EQ(shown(panel, skin().trackTimeNumbers), "00101") << "the length, in its own strip";
    }
}

TEST_F(LedDraw, SlotsLeftAtTheOriginAreNotDrawn)
{
    skin().timeNumbers.digitPositions[3] = {};
    skin().timeNumbers.digitPositions[4] = {};
    skin().trackNumbers.digitPositions[0] = {};
    // A cell copied to (0, 0) would cover the face there.
    state().position = 754000;  // 12:34
    state().currentTrack = 45;
    const QImage panel = compose();
    EXPECT_EQ(shown(panel, skin().timeNumbers), "--234");
    EXPECT_EQ(shown(panel, skin().trackNumbers), "4-") << "the tens still come from the tens";
    EXPECT_TRUE(showsFace(panel, {0, 0}, {10, 12}));
}

TEST_F(LedDraw, StripsWithoutPictureOrCellAreNeverDrawn)
{
    skin().trackNumbers.strip.reset();
    skin().timeNumbers.cell.width = 0;
    skin().trackTimeNumbers.cell.height = 0;
    state().currentTrack = 3;
    state().position = state().length = 5000;
    const QImage panel = compose();
    EXPECT_EQ(panel, *skin().faceNormal);
}

TEST_F(LedDraw, PlayStateLightsPlayPauseAndStop)
{
    skin().play = element(100, 60, 10, 8);
    skin().pause = element(112, 60, 10, 8);
    skin().stop = element(124, 60, 10, 8);
    skin().stop.bitmap = patterned(10, 8, 201);
    const std::vector<std::pair<uint16_t, std::array<bool, 3>>> rows = {
        {0, {false, false, true}}, {1, {true, true, false}}, {2, {true, false, false}},
        {3, {true, false, false}}, {4, {true, false, false}}, {5, {false, false, true}},
        {65535, {false, false, true}},
    };
    for (const auto& [status, lit] : rows) {
        state().status = status;
        const QImage panel = compose();
        EXPECT_EQ(showsSelected(panel, skin().play), lit[0]) << status;
        EXPECT_EQ(showsSelected(panel, skin().pause), lit[1]) << status;
        EXPECT_EQ(showsFace(panel, skin().pause.position, skin().pause.size), !lit[1]) << status;
        EXPECT_EQ(sameBlock(panel, {124, 60}, *skin().stop.bitmap, {0, 0}, {10, 8}), lit[2]) << "own picture "
                                                                                            << status;
    }
}

TEST_F(LedDraw, GroupsLightTheMemberOfTheirValueOrNone)
{
    skin().repeat = {element(10, 70, 6, 6), element(20, 70, 6, 6), element(30, 70, 6, 6)};
    skin().soundQuality = {element(10, 80, 5, 5), element(20, 80, 5, 5), element(30, 80, 5, 5), element(40, 80, 5, 5)};
    skin().audioChannel = {element(10, 90, 4, 4), element(20, 90, 0, 4), element(30, 90, 4, 4)};
    skin().soundChannel = {element(50, 90, 4, 4), element(60, 90, 4, 4)};
    struct Row {
        uint32_t repeat, quality, audio, sound;
    };
    for (const Row& row : std::vector<Row>{{0, 0, 0, 0}, {1, 3, 2, 1}, {2, 4, 3, 2}, {3, 99, 1, 7}}) {
        state().repeatMode = static_cast<RepeatMode>(row.repeat);
        state().shownSoundQuality = row.quality;
        state().shownAudioChannel = row.audio;
        state().shownSoundChannel = row.sound;
        const QImage panel = compose();
        for (uint32_t i = 0; i < 3; ++i)
            EXPECT_EQ(showsSelected(panel, skin().repeat[i]), i == row.repeat) << row.repeat << i;
        for (uint32_t i = 0; i < 4; ++i)
            EXPECT_EQ(showsSelected(panel, skin().soundQuality[i]), i == row.quality) << row.quality << i;
        EXPECT_EQ(showsSelected(panel, skin().audioChannel[0]), row.audio == 0);
        EXPECT_TRUE(showsFace(panel, {20, 90}, {4, 4})) << "an absent member never lights";
        EXPECT_EQ(showsSelected(panel, skin().audioChannel[2]), row.audio == 2);
        for (uint32_t i = 0; i < 2; ++i)
            EXPECT_EQ(showsSelected(panel, skin().soundChannel[i]), i == row.sound) << row.sound << i;
    }
}

TEST_F(LedDraw, DarkElementsGetTheFaceBackAndWithoutAnySourceNeverLight)
{
    skin().trackNumbers.strip.reset();
    skin().timeNumbers.strip.reset();
    skin().trackTimeNumbers.strip.reset();
    skin().mute = element(150, 70, 9, 7);
    state().muted = 1;
    QImage panel = compose();
    EXPECT_TRUE(showsSelected(panel, skin().mute));

    state().muted = 0;
    QPainter painter(&panel);
    Led_DrawMute(painter, skin_, state_);
    painter.end();
    EXPECT_EQ(panel, *skin().faceNormal) << "unlit: the face again, nothing else touched";

    skin().faceSelected.reset();
    state().muted = 1;
    state().status = 1;
    skin().play = element(100, 60, 10, 8);
    skin().volume = element(0, 50, 100, 9);
    state().volumeLeft = 16;
    EXPECT_EQ(compose(), *skin().faceNormal) << "no picture and no selected face: always dark";
}

TEST_F(LedDraw, VolumeBarLightsTheUpperHalfForLeftAndTheLowerForRight)
{
    skin().volume = element(50, 60, 100, 9);
    settings.maxVolumeLevel = 16;
    state().volumeLeft = 16;
    state().volumeRight = 3;
    const QImage panel = compose();
    const QImage& lit = *skin().faceSelected;
    EXPECT_TRUE(sameBlock(panel, {50, 60}, lit, {50, 60}, {96, 4}));
    EXPECT_TRUE(showsFace(panel, {146, 60}, {4, 4}));
    EXPECT_TRUE(sameBlock(panel, {50, 64}, lit, {50, 64}, {18, 4}));
    EXPECT_TRUE(showsFace(panel, {68, 64}, {82, 4}));
    EXPECT_TRUE(showsFace(panel, {50, 68}, {100, 1})) << "the odd last row is never lit";

    // Its own picture is read from its top-left corner.
    skin().volume.bitmap = patterned(100, 9, 233);
    state().volumeLeft = 0;
    const QImage own = compose();
    EXPECT_TRUE(showsFace(own, {50, 60}, {100, 4}));
    EXPECT_TRUE(sameBlock(own, {50, 64}, *skin().volume.bitmap, {0, 4}, {18, 4}));
}

TEST_F(LedDraw, VolumeWidthIsNotClippedToTheBar)
{
    skin().volume = element(50, 60, 64, 8);
    settings.maxVolumeLevel = 0;  // counts as 16: steps of 4
    state().volumeLeft = 20;
    const QImage panel = compose();
    EXPECT_TRUE(sameBlock(panel, {50, 60}, *skin().faceSelected, {50, 60}, {80, 4}));
    EXPECT_TRUE(showsFace(panel, {130, 60}, {10, 4}));

    state().volumeLeft = 4294967295u;  // reaches past the panel: cut at its edge, no wrap
    const QImage full = compose();
    EXPECT_TRUE(sameBlock(full, {50, 60}, *skin().faceSelected, {50, 60}, {150, 4}));
}

TEST_F(LedDraw, NegativeSizesAndPicturesSmallerThanTheElementDrawOnlyWhatExists)
{
    skin().mute = element(10, 10, -5, 4);
    skin().play = element(150, 60, 12, 12);
    skin().play.bitmap = patterned(4, 4, 5);
    state().muted = 1;
    state().status = 2;
    const QImage panel = compose();
    EXPECT_TRUE(showsFace(panel, {0, 5}, {20, 10}));
    EXPECT_TRUE(sameBlock(panel, {150, 60}, *skin().play.bitmap, {0, 0}, {4, 4}));
    EXPECT_TRUE(showsFace(panel, {154, 60}, {8, 12}));
    EXPECT_TRUE(showsFace(panel, {150, 64}, {4, 8}));
}

TEST(LedView, PureValues)
{
    EXPECT_EQ(Led_PlayStateLights(1), (PlayStateLights{true, true, false}));
    EXPECT_EQ(Led_LitMember(2, 3), std::optional<size_t>(2));
    EXPECT_EQ(Led_LitMember(3, 3), std::nullopt);
    EXPECT_EQ(Led_VolumeBarView({100, 9}, 16, 16, 3), (VolumeBarView{96, 18, 4}));
    EXPECT_EQ(Led_VolumeBarView({100, 9}, 0, 1, 0), (VolumeBarView{6, 0, 4}));
    EXPECT_EQ(Led_TimeDigits(3599999), (std::array<uint32_t, 5>{9, 5, 9, 5, 0}));
    PlayerState state;
    state.currentTrack = 123;
    EXPECT_EQ(Led_TrackNumberView(state).digits, (std::array<uint32_t, 2>{3, 2}));
    state.trackNumberHidden = true;
    EXPECT_FALSE(Led_TrackNumberView(state).shown);
    state.entryActive = true;
    EXPECT_TRUE(Led_TrackNumberView(state).shown) << "a selection typed over a picture blinks as any entry";
}

// What a screen reader reads of the display: the same values the lights and digits show.
TEST(LedView, TextReadsWhatTheDisplayShows)
{
    const struct {
        PlayerState state;
        uint32_t steps;
        const char* text;
    } cases[] = {
        {{}, 16, "Track 00, 0:00:00 of 0:00:00, stopped, volume 0 of 16"},
        {{.trackCount = 12, .currentTrack = 7, .status = engine_status::Playing, .position = 83999, .length = 3725000,
          .volumeLeft = 8, .volumeRight = 8},
         16, "Track 07, 0:01:23 of 1:02:05, playing, volume 8 of 16"},
        {{.currentTrack = 123, .status = engine_status::Paused, .repeatMode = RepeatMode::List, .muted = true,
          .volumeLeft = 3, .volumeRight = 5},
         0, "Track 23, 0:00:00 of 0:00:00, paused, volume 3 left and 5 right of 16, muted, repeat list"},
        // Fast, slow and backward play light Play alone; a status past them reads as stopped.
        {{.status = engine_status::Backward, .repeatMode = RepeatMode::Track}, 10,
         "Track 00, 0:00:00 of 0:00:00, playing, volume 0 of 10, repeat track"},
        {{.status = 9, .position = 36000000 + 61000}, 16, "Track 00, 0:01:01 of 0:00:00, stopped, volume 0 of 16"},
        // An entry reads the entered number, in its blink's off phase too.
        {{.currentTrack = 4, .entryActive = true, .enteredNumber = 15, .entryBlinkOn = false}, 16,
         "Track 15, 0:00:00 of 0:00:00, stopped, volume 0 of 16"},
        // A Video CD's picture has no number; a selection typed over it has one.
        {{.currentTrack = 2, .trackNumberHidden = true}, 16, "Picture, 0:00:00 of 0:00:00, stopped, volume 0 of 16"},
        {{.currentTrack = 2, .entryActive = true, .enteredNumber = 3, .trackNumberHidden = true}, 16,
         "Track 03, 0:00:00 of 0:00:00, stopped, volume 0 of 16"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Led_Text(c.state, c.steps), c.text);
}

}  // namespace
