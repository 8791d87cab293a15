#include <gtest/gtest.h>

#include <limits>
#include <utility>
#include <vector>

#include "core/panel_skin.h"
#include "core/state_notices.h"
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
    ManualClock clock;
    RecordingWindow panel{clock};
    PanelSkin skin;
    StateNotices notices;
    LedDisplay led{notices};

    void SetUp() override { led.showOn(&panel, &skin); }
};

TEST_F(LedRefreshTest, WithoutAPanelNothingIsMarkedYetEachPartIsTold)
{
    led.showOn(nullptr, nullptr);
    skin.mute = element(1, 1, 4, 4);
    std::vector<StatePart> heard;
    QObject::connect(&notices, &StateNotices::changed, [&heard](StatePart part) { heard.push_back(part); });
    const std::pair<bool (LedDisplay::*)(bool), StatePart> table[] = {
        {&LedDisplay::RefreshMute, StatePart::Mute},
        {&LedDisplay::RefreshVolume, StatePart::Volume},
        {&LedDisplay::RefreshPlayState, StatePart::PlayState},
        {&LedDisplay::RefreshRepeat, StatePart::Repeat},
        {&LedDisplay::RefreshSoundQuality, StatePart::SoundQuality},
        {&LedDisplay::RefreshAudioChannel, StatePart::AudioChannel},
        {&LedDisplay::RefreshSoundChannel, StatePart::SoundChannel},
        {&LedDisplay::RefreshTrackNumber, StatePart::TrackNumber},
        {&LedDisplay::RefreshTime, StatePart::Time},
        {&LedDisplay::RefreshTrackTime, StatePart::TrackTime},
    };
    for (const auto& [refresh, part] : table) {
        heard.clear();
        EXPECT_FALSE((led.*refresh)(true));
        EXPECT_EQ(heard, std::vector<StatePart>{part});
    }
    EXPECT_TRUE(panel.marked.empty());
}

TEST_F(LedRefreshTest, MarksOnePixelMoreThanTheElementAndRepaintsOnlyWhenAsked)
{
    skin.mute = element(5, 7, 10, 20);
    EXPECT_TRUE(led.RefreshMute(false));
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{5, 7, 16, 28}}));
    EXPECT_EQ(panel.repaints, 0);
    EXPECT_TRUE(led.RefreshMute(true));
    EXPECT_EQ(panel.repaints, 1);
    EXPECT_FALSE(led.RefreshVolume(true));  // absent
    EXPECT_EQ(panel.repaints, 1);
}

TEST_F(LedRefreshTest, HugePositionsAndSizesMarkUpToTheEdgeOfTheRange)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    skin.mute = element(kMax - 5, 7, 10, kMax);
    skin.stop = element(kMax, kMax, 1, 1);
    skin.timeNumbers.strip = QImage(80, 12, QImage::Format_RGB32);
    skin.timeNumbers.cell = {8, 12};
    skin.timeNumbers.digitPositions = {Point{kMax - 3, kMax - 20}, Point{}, Point{}, Point{}, Point{}};
    EXPECT_TRUE(led.RefreshMute(false));
    EXPECT_TRUE(led.RefreshPlayState(false));
    EXPECT_TRUE(led.RefreshTime(false));
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{kMax - 5, 7, kMax, kMax}, {kMax, kMax, kMax, kMax},
                                               {kMax - 3, kMax - 20, kMax, kMax - 7}}));
}

TEST_F(LedRefreshTest, GroupsMarkEveryPresentMember)
{
    skin.soundQuality = {element(0, 0, 3, 3), element(10, 0, 3, 3), element(20, 0, 0, 3), element(30, 0, 3, 3)};
    EXPECT_TRUE(led.RefreshSoundQuality(false));
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{0, 0, 4, 4}, {10, 0, 14, 4}, {30, 0, 34, 4}}));

    panel.marked.clear();
    skin.pause = element(2, 2, 1, 1);
    EXPECT_TRUE(led.RefreshPlayState(false));  // play and stop absent: only pause
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{2, 2, 4, 4}}));

    panel.marked.clear();
    EXPECT_TRUE(led.RefreshRepeat(false));  // no member present still counts as done
    EXPECT_TRUE(panel.marked.empty());
}

TEST_F(LedRefreshTest, DigitStripsMarkOneCellPerPlacedSlot)
{
    skin.timeNumbers.cell = {8, 12};
    skin.timeNumbers.digitPositions = {Point{40, 5}, Point{32, 5}, Point{20, 5}, Point{0, 0}, Point{0, 0}};
    EXPECT_FALSE(led.RefreshTime(false));  // no strip picture: absent
    skin.timeNumbers.strip = QImage(80, 12, QImage::Format_RGB32);
    EXPECT_TRUE(led.RefreshTime(false));
    EXPECT_EQ(panel.marked, (std::vector<Rect>{{40, 5, 49, 18}, {32, 5, 41, 18}, {20, 5, 29, 18}}));

    skin.trackNumbers.strip = QImage(9, 12, QImage::Format_RGB32);
    skin.trackNumbers.cell = {0, 12};  // a strip narrower than ten digits has no cell
    EXPECT_FALSE(led.RefreshTrackNumber(false));
}
}  // namespace
