#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

#include "context/app_context.h"
#include "led/led_refresh.h"
#include "tests/support/recording_window.h"

namespace {
LedElement element(int x, int y, int width, int height)
{
    LedElement led;
    led.position = {x, y};
    led.size = {width, height};
    return led;
}

class LedRefreshTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetApp();
        app().windows.panel = &panel;
    }
    void TearDown() override { resetApp(); }

    ManualClock clock;
    RecordingWindow panel{clock};
};

TEST_F(LedRefreshTest, WithoutAPanelNothingIsMarkedYetEachPartIsTold)
{
    app().windows.panel = nullptr;
    app().panelSkin.mute = element(1, 1, 4, 4);
    std::vector<StatePart> heard;
    QObject::connect(&app().notices, &StateNotices::changed, [&heard](StatePart part) { heard.push_back(part); });
    const std::pair<bool (*)(bool), StatePart> table[] = {
        {Led_RefreshMute, StatePart::Mute},
        {Led_RefreshVolume, StatePart::Volume},
        {Led_RefreshPlayState, StatePart::PlayState},
        {Led_RefreshRepeat, StatePart::Repeat},
        {Led_RefreshSoundQuality, StatePart::SoundQuality},
        {Led_RefreshAudioChannel, StatePart::AudioChannel},
        {Led_RefreshSoundChannel, StatePart::SoundChannel},
        {Led_RefreshTrackNumber, StatePart::TrackNumber},
        {Led_RefreshTime, StatePart::Time},
        {Led_RefreshTrackTime, StatePart::TrackTime},
    };
    for (const auto& [refresh, part] : table) {
        heard.clear();
        EXPECT_FALSE(refresh(true));
        EXPECT_EQ(heard, std::vector<StatePart>{part});
    }
    EXPECT_TRUE(panel.marked.empty());
}

TEST_F(LedRefreshTest, MarksOnePixelMoreThanTheElementAndRepaintsOnlyWhenAsked)
{
    app().panelSkin.mute = element(5, 7, 10, 20);
    EXPECT_TRUE(Led_RefreshMute(false));
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{5, 7, 16, 28}}));
    EXPECT_EQ(panel.repaints, 0);
    EXPECT_TRUE(Led_RefreshMute(true));
    EXPECT_EQ(panel.repaints, 1);
    EXPECT_FALSE(Led_RefreshVolume(true));  // absent
    EXPECT_EQ(panel.repaints, 1);
}

TEST_F(LedRefreshTest, HugePositionsAndSizesMarkUpToTheEdgeOfTheRange)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    PanelSkin& skin = app().panelSkin;
    skin.mute = element(kMax - 5, 7, 10, kMax);
    skin.stop = element(kMax, kMax, 1, 1);
    skin.timeNumbers.strip = QImage(80, 12, QImage::Format_RGB32);
    skin.timeNumbers.cell = {8, 12};
    skin.timeNumbers.digitPositions = {Point{kMax - 3, kMax - 20}, Point{}, Point{}, Point{}, Point{}};
    EXPECT_TRUE(Led_RefreshMute(false));
    EXPECT_TRUE(Led_RefreshPlayState(false));
    EXPECT_TRUE(Led_RefreshTime(false));
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{kMax - 5, 7, kMax, kMax}, {kMax, kMax, kMax, kMax},
                                               {kMax - 3, kMax - 20, kMax, kMax - 7}}));
}

TEST_F(LedRefreshTest, GroupsMarkEveryPresentMember)
{
    PanelSkin& skin = app().panelSkin;
    skin.soundQuality = {element(0, 0, 3, 3), element(10, 0, 3, 3), element(20, 0, 0, 3), element(30, 0, 3, 3)};
    EXPECT_TRUE(Led_RefreshSoundQuality(false));
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{0, 0, 4, 4}, {10, 0, 14, 4}, {30, 0, 34, 4}}));

    panel.marked.clear();
    skin.pause = element(2, 2, 1, 1);
    EXPECT_TRUE(Led_RefreshPlayState(false));  // play and stop absent: only pause
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{2, 2, 4, 4}}));

    panel.marked.clear();
    EXPECT_TRUE(Led_RefreshRepeat(false));  // no member present still counts as done
    EXPECT_TRUE(panel.marked.empty());
}

TEST_F(LedRefreshTest, DigitStripsMarkOneCellPerPlacedSlot)
{
    PanelSkin& skin = app().panelSkin;
    skin.timeNumbers.cell = {8, 12};
    skin.timeNumbers.digitPositions = {Point{40, 5}, Point{32, 5}, Point{20, 5}, Point{0, 0}, Point{0, 0}};
    EXPECT_FALSE(Led_RefreshTime(false));  // no strip picture: absent
    skin.timeNumbers.strip = QImage(80, 12, QImage::Format_RGB32);
    EXPECT_TRUE(Led_RefreshTime(false));
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{40, 5, 49, 18}, {32, 5, 41, 18}, {20, 5, 29, 18}}));

    skin.trackNumbers.strip = QImage(9, 12, QImage::Format_RGB32);
    skin.trackNumbers.cell = {0, 12};  // a strip narrower than ten digits has no cell
    EXPECT_FALSE(Led_RefreshTrackNumber(false));
}
}  // namespace
