// The default skin as it ships: read by the skin reader, painted by the LED drawers.

#include <set>
#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "core/player_settings.h"
#include "core/player_state.h"
#include "core/settings.h"
#include "components/maskcut/maskcut_regions.h"
#include "led/led_draw.h"
#include "panel/skin/panel_skin_loader.h"

namespace {

QRect rectOf(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

QRect rectOf(const LedElement& led)
{
    return QRect(led.position.x, led.position.y, led.size.width, led.size.height);
}

bool sameBlock(const QImage& a, QPoint at, const QImage& b, QPoint from, QSize size)
{
    return a.copy(QRect(at, size)) == b.copy(QRect(from, size));
}

class DefaultSkin : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.cfgPath = QUINTARA_SOURCE_DIR "/resources/Quintara.CFG";
        settings.rcDir = QUINTARA_SOURCE_DIR "/resources/skin/";
        const SkinPaths files{settings.cfgPath, settings.rcDir};
        MaskcutBitmapRegions maskcut;
        ASSERT_TRUE(PanelSkin_LoadFace(skin_, files, maskcut));
        PanelSkin_LoadLed(skin_, files);
        Settings_ReadFor(settings, SettingMoment::Panel);
        skin().buttons = PanelSkin_LoadButtons(files, "Panel\\Buttons");
    }

    PanelSkin& skin() { return skin_; }
    PlayerState& state() { return state_; }

    PlayerSettings settings = Settings_Defaults();
    PanelSkin skin_;
    PlayerState state_;

    std::vector<QRect> indicatorRects()
    {
        std::vector<QRect> rects;
        for (const LedElement* led : {&skin().mute, &skin().volume, &skin().play, &skin().pause, &skin().stop})
            rects.push_back(rectOf(*led));
        for (const auto& led : skin().repeat)
            rects.push_back(rectOf(led));
        for (const auto& led : skin().soundQuality)
            rects.push_back(rectOf(led));
        for (const auto& led : skin().audioChannel)
            rects.push_back(rectOf(led));
        for (const auto& led : skin().soundChannel)
            rects.push_back(rectOf(led));
        return rects;
    }

    std::vector<QRect> digitRects()
    {
        std::vector<QRect> rects;
        const auto add = [&](const auto& strip) {
            for (const Point& slot : strip.digitPositions)
                rects.emplace_back(slot.x, slot.y, strip.cell.width, strip.cell.height);
        };
        add(skin().trackNumbers);
        add(skin().timeNumbers);
        add(skin().trackTimeNumbers);
        return rects;
    }

    QImage compose()
    {
        QImage panel = skin().faceNormal->copy();
        QPainter painter(&panel);
        Led_DrawAll(painter, skin_, state_, settings.maxVolumeLevel);
        return panel;
    }

    // The digits a strip shows, most significant first; '?' where no cell of the strip shows.
    template <size_t N>
    std::string read(const QImage& panel, const LedDigitStrip<N>& strip)
    {
        std::string text;
        for (size_t slot = N; slot-- > 0;) {
            char found = '?';
            const QPoint at(strip.digitPositions[slot].x, strip.digitPositions[slot].y);
            const QSize cell(strip.cell.width, strip.cell.height);
            for (int digit = 0; digit < 10 && found == '?'; ++digit)
                if (sameBlock(panel, at, *strip.strip, QPoint(digit * cell.width(), 0), cell))
                    found = char('0' + digit);
            text += found;
        }
        return text;
    }

    bool lit(const QImage& panel, const LedElement& led)
    {
        const QRect r = rectOf(led);
        return sameBlock(panel, r.topLeft(), *skin().faceSelected, r.topLeft(), r.size());
    }
    bool dark(const QImage& panel, const LedElement& led)
    {
        const QRect r = rectOf(led);
        return sameBlock(panel, r.topLeft(), *skin().faceNormal, r.topLeft(), r.size());
    }
};

TEST_F(DefaultSkin, HasAllThreeFacesAndAShapeThatIsNoRectangle)
{
    EXPECT_EQ(skin().faceSize, (Size{720, 236}));
    ASSERT_TRUE(skin().faceSelected);
    ASSERT_TRUE(skin().faceMouseIn);
    EXPECT_EQ(skin().faceSelected->size(), skin().faceNormal->size());
    EXPECT_EQ(skin().faceMouseIn->size(), skin().faceNormal->size());
    ASSERT_TRUE(skin().region);
    QRegion outline;
    for (const Rect& r : skin().region->rects)
        outline += rectOf(r);
    EXPECT_GT(skin().region->rects.size(), 4u);
    EXPECT_FALSE(outline.contains(QPoint(0, 0)));
    EXPECT_FALSE(outline.contains(QPoint(719, 235)));
    EXPECT_FALSE(outline.contains(QPoint(600, 2))) << "the display's housing alone rises to the top";
    EXPECT_TRUE(outline.contains(QPoint(100, 2)));
    EXPECT_TRUE(QRect(0, 0, 720, 236).contains(outline.boundingRect()));
    for (const PanelButton& button : skin().buttons)
        EXPECT_TRUE(outline.contains(rectOf(button.rect).center())) << CommandNumber(button.command);
    EXPECT_EQ(settings.blinkTrackInterval, 350u);
    EXPECT_EQ(settings.blinkTrackTimes, 5u);
    EXPECT_EQ(settings.autoReturn, 1u);
}

TEST_F(DefaultSkin, CarriesEveryCommandOnceWithoutOverlaps)
{
    std::multiset<int32_t> commands;
    for (const PanelButton& button : skin().buttons)
        commands.insert(CommandNumber(button.command));
    std::vector<int32_t> wanted = {1, 2, 3, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22, 23, 30, 31, 32,
                                    33, 34, 35, 36, 40, 41, 42, 50, 51, 110, 120};
    for (int32_t digit = 100; digit <= 109; ++digit)
        wanted.push_back(digit);
    for (int32_t command : wanted)
        EXPECT_EQ(commands.count(command), 1u) << command;

    std::vector<QRect> taken = indicatorRects();
    const std::vector<QRect> digits = digitRects();
    taken.insert(taken.end(), digits.begin(), digits.end());
    for (const PanelButton& button : skin().buttons) {
        const QRect rect = rectOf(button.rect);
        EXPECT_TRUE(QRect(0, 0, 720, 236).contains(rect)) << CommandNumber(button.command);
        for (const QRect& other : taken)
            EXPECT_FALSE(rect.intersects(other)) << CommandNumber(button.command);
        taken.push_back(rect);
    }
}

TEST_F(DefaultSkin, VolumeKeysSayWhatTheyDoAndCheckKeysHaveCheckedLooks)
{
    for (const PanelButton& button : skin().buttons) {
        if (CommandNumber(button.command) == 31) {
            EXPECT_EQ(button.tip, "Volume Down") << "31 lowers the volume";
        }
        if (CommandNumber(button.command) == 32) {
            EXPECT_EQ(button.tip, "Volume Up");
        }
        const bool check = CommandNumber(button.command) == 30 || CommandNumber(button.command) == 50;
        EXPECT_EQ(button.checkable, check ? 1u : 0u) << CommandNumber(button.command);
        for (size_t state = 3; state < kButtonStateCount && check; ++state) {
            ASSERT_TRUE(button.bitmaps[state]) << CommandNumber(button.command) << state;
            EXPECT_EQ(button.bitmaps[state]->size(), rectOf(button.rect).size());
            const QImage unchecked = (state == 4 ? *skin().faceSelected : state == 5 ? *skin().faceMouseIn
                                                                                     : *skin().faceNormal)
                                         .copy(rectOf(button.rect));
            EXPECT_NE(*button.bitmaps[state], unchecked) << "the lamp shows " << CommandNumber(button.command) << state;
        }
    }
}

TEST_F(DefaultSkin, EveryIndicatorLightsVisiblyAndEveryDigitDiffers)
{
    for (const QRect& r : indicatorRects()) {
        ASSERT_FALSE(r.isEmpty());
        EXPECT_NE(skin().faceNormal->copy(r), skin().faceSelected->copy(r)) << r.x() << "," << r.y();
    }
    const std::vector<QRect> rects = indicatorRects();
    for (size_t i = 0; i < rects.size(); ++i)
        for (size_t j = i + 1; j < rects.size(); ++j)
            EXPECT_FALSE(rects[i].intersects(rects[j])) << i << " " << j;
    for (const auto* strip : {&skin().timeNumbers, &skin().trackTimeNumbers}) {
        ASSERT_TRUE(strip->strip);
        for (const Point& slot : strip->digitPositions)
            EXPECT_NE(slot, Point{});
    }
    ASSERT_TRUE(skin().trackNumbers.strip);
    const LedDigitStrip<5>& time = skin().timeNumbers;
    for (int a = 0; a < 10; ++a)
        for (int b = a + 1; b < 10; ++b)
            EXPECT_NE(time.strip->copy(a * time.cell.width, 0, time.cell.width, time.cell.height),
                      time.strip->copy(b * time.cell.width, 0, time.cell.width, time.cell.height));
}

TEST_F(DefaultSkin, DigitsShowTrackPositionAndLength)
{
    struct Row {
        uint32_t track, position, length;
        std::string shownTrack, shownTime, shownLength;
    };
    const std::vector<Row> rows = {
        {0, 0, 0, "00", "00000", "00000"},
        {7, 3599999, 36000000, "07", "05959", "00000"},
        {123, 3600000, 35999999, "23", "10000", "95959"},
        {45, 59999, 754000, "45", "00059", "01234"},
    };
    for (const Row& row : rows) {
        state().currentTrack = row.track;
        state().position = row.position;
        state().length = row.length;
        const QImage panel = compose();
        EXPECT_EQ(read(panel, skin().trackNumbers), row.shownTrack) << row.track;
        EXPECT_EQ(read(panel, skin().timeNumbers), row.shownTime) << row.position;
        EXPECT_EQ(read(panel, skin().trackTimeNumbers), row.shownLength) << row.length;
    }
}

TEST_F(DefaultSkin, IndicatorsFollowTheState)
{
    state().status = 1;
    state().repeatMode = RepeatMode::Off;
    state().muted = 1;
    state().shownSoundQuality = 4;
    state().shownAudioChannel = 1;
    state().shownSoundChannel = 2;
    QImage panel = compose();
    EXPECT_TRUE(lit(panel, skin().play));
    EXPECT_TRUE(lit(panel, skin().pause));
    EXPECT_TRUE(dark(panel, skin().stop));
    EXPECT_TRUE(lit(panel, skin().repeat[0])) << "repeat off lights OFF";
    EXPECT_TRUE(dark(panel, skin().repeat[1]));
    EXPECT_TRUE(lit(panel, skin().mute));
    for (const LedElement& led : skin().soundQuality)
        EXPECT_TRUE(dark(panel, led));
    EXPECT_TRUE(lit(panel, skin().audioChannel[1]));
    EXPECT_TRUE(dark(panel, skin().audioChannel[0]));
    EXPECT_TRUE(dark(panel, skin().soundChannel[0]) && dark(panel, skin().soundChannel[1]));

    state().status = 0;
    state().muted = 0;
    panel = compose();
    EXPECT_TRUE(dark(panel, skin().play));
    EXPECT_TRUE(dark(panel, skin().pause));
    EXPECT_TRUE(lit(panel, skin().stop));
    EXPECT_TRUE(dark(panel, skin().mute));
}

TEST_F(DefaultSkin, VolumeBarLightsStepsOfItsWidth)
{
    const LedElement& bar = skin().volume;
    const int step = bar.size.width / 16, half = bar.size.height / 2;
    ASSERT_GT(step, 0);
    const QPoint at(bar.position.x, bar.position.y);
    for (uint32_t level : {0u, 1u, 10u, 16u}) {
        state().volumeLeft = level;
        state().volumeRight = 16 - level;
        const QImage panel = compose();
        const int left = step * int(level), right = step * int(16 - level);
        EXPECT_TRUE(sameBlock(panel, at, *skin().faceSelected, at, QSize(left, half))) << level;
        EXPECT_TRUE(sameBlock(panel, at + QPoint(left, 0), *skin().faceNormal, at + QPoint(left, 0),
                              QSize(bar.size.width - left, half)))
            << level;
        const QPoint lower = at + QPoint(0, half);
        EXPECT_TRUE(sameBlock(panel, lower, *skin().faceSelected, lower, QSize(right, half))) << level;
        EXPECT_TRUE(sameBlock(panel, lower + QPoint(right, 0), *skin().faceNormal, lower + QPoint(right, 0),
                              QSize(bar.size.width - right, half)))
            << level;
    }
}

}  // namespace
