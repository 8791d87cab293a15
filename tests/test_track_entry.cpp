#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/player_records.h"
#include "playback/playback.h"
#include "tests/support/command_numbers.h"
#include "tests/support/playback_fixture.h"

namespace {
class TrackEntryTest : public PlaybackTest {
protected:
    // Presses the digit buttons: 0..9, 10 for "+ 10", 'R' for Return.
    void press(const std::vector<int>& keys)
    {
        for (int key : keys)
            DispatchNumbers(records.playback, key == 'R' ? 120 : 100 + key, 3);
    }
    bool entryTimersRun() const
    {
        return panel.manualTimers().isRunning(panel_timer::EntryBlink) &&
               panel.manualTimers().isRunning(panel_timer::EntryEnd);
    }
    const PlayerState& state() const { return records.state; }
};

TEST_F(TrackEntryTest, DigitsThatCanOnlyMeanOneTrackGoThereAtOnce)
{
    struct Case {
        uint32_t tracks;
        std::vector<int> keys;
        uint32_t opened;  // the track open afterwards
        bool entryGoesOn;
        uint32_t entered;  // the number shown while the entry goes on
    };
    const Case cases[] = {
        {25, {2, 5}, 25, false, 0},
        {25, {3}, 3, false, 0},
        {25, {0}, 7, false, 0},        // a leading zero is ignored
        {25, {2, 6}, 7, true, 2},      // 26 is beyond the list: the 6 is ignored
        {25, {0, 2}, 7, true, 2},
        {25, {2}, 7, true, 2},
        {25, {10}, 10, false, 0},      // "+ 10" from nothing gives 10
        {200, {10}, 7, true, 10},
        {200, {10, 5}, 105, false, 0},
        {25, {2, 'R'}, 2, false, 0},
        {100, {1, 0, 0}, 100, false, 0},
        {100, {1, 0}, 7, true, 10},
        {100, {1, 0, 1}, 7, true, 10},
        {200, {10, 10}, 110, false, 0},  // 110, not 20
        {200, {1, 10}, 7, true, 20},
        {200, {2, 0, 0}, 200, false, 0},
        {200, {2, 0, 1}, 7, true, 20},
        {200, {3}, 7, true, 3},
        {25, {3, 'R'}, 3, false, 0},
        {9, {9}, 9, false, 0},
        {10, {1}, 7, true, 1},
        {10, {1, 0}, 10, false, 0},
    };
    for (const Case& c : cases) {
        loadTracks(c.tracks, 7, 0);
        press(c.keys);
        EXPECT_EQ(state().currentTrack, c.opened) << c.tracks << " tracks, " << testing::PrintToString(c.keys);
        EXPECT_EQ(state().entryActive, c.entryGoesOn ? 1u : 0u) << testing::PrintToString(c.keys);
        EXPECT_EQ(state().enteredNumber, c.entered) << testing::PrintToString(c.keys);
        EXPECT_EQ(entryTimersRun(), c.entryGoesOn) << testing::PrintToString(c.keys);
        EXPECT_EQ(engine->openPath, track(c.opened)) << testing::PrintToString(c.keys);
        records.playback.EndTrackEntry(false);
    }
}

TEST_F(TrackEntryTest, AJumpAtTheFirstDigitLeavesNothingBehindForTheNextEntry)
{
    loadTracks(25, 1, 0);
    press({3});
    ASSERT_EQ(state().currentTrack, 3u);
    press({2, 5});
    EXPECT_EQ(state().currentTrack, 25u);
    press({1});
    EXPECT_EQ(state().enteredNumber, 1u);
    EXPECT_TRUE(state().entryActive);
}

TEST_F(TrackEntryTest, TheEntryEndsByItselfAfterTheBlinks)
{
    struct Case {
        uint32_t autoReturn;
        uint32_t track;  // where the player stands afterwards
    };
    for (const Case c : {Case{1, 10}, Case{0, 7}}) {
        records.settings.autoReturn = c.autoReturn;
        loadTracks(100, 7, 2);
        press({1, 0});
        ASSERT_TRUE(state().entryActive);
        // (2 × 5 − 1) × 350 ms after the last digit.
        EXPECT_EQ(panel.manualTimers().period(panel_timer::EntryEnd), 3150u);
        clock.advance(3149);
        EXPECT_TRUE(state().entryActive) << c.autoReturn;
        clock.advance(1);
        EXPECT_FALSE(state().entryActive) << c.autoReturn;
        EXPECT_EQ(state().enteredNumber, 0u);
        EXPECT_TRUE(state().entryBlinkOn);
        EXPECT_FALSE(entryTimersRun());
        EXPECT_EQ(state().currentTrack, c.track) << c.autoReturn;
        EXPECT_EQ(engine->status, 2) << "a running player goes on running";
        if (!c.autoReturn) {
            EXPECT_EQ(panel.refreshes.back(), "TrackNumber(1)");
        }
    }
}

TEST_F(TrackEntryTest, TheSkinSetsTheBlinkAndTheEndOfTheEntry)
{
    records.settings.blinkTrackInterval = 100;
    records.settings.blinkTrackTimes = 2;
    loadTracks(50, 1, 0);
    press({4});
    EXPECT_EQ(panel.manualTimers().period(panel_timer::EntryBlink), 100u);
    EXPECT_EQ(panel.manualTimers().period(panel_timer::EntryEnd), 300u);
    clock.advance(300);
    EXPECT_EQ(state().currentTrack, 4u);
}

TEST_F(TrackEntryTest, TheFirstDigitShowsWithTheBlinkAndLaterOnesAtOnce)
{
    loadTracks(200, 7, 0);
    press({1});
    EXPECT_TRUE(panel.refreshes.empty()) << "the first digit asks for no repaint of its own";
    clock.advance(350);
    EXPECT_FALSE(state().entryBlinkOn);
    EXPECT_EQ(panel.refreshes, std::vector<std::string>{"TrackNumber(1)"});
    clock.advance(350);
    EXPECT_TRUE(state().entryBlinkOn);
    EXPECT_EQ(panel.refreshes, (std::vector<std::string>{"TrackNumber(1)", "TrackNumber(1)"}));

    clock.advance(350);  // hidden again
    panel.refreshes.clear();
    press({2});
    EXPECT_EQ(panel.refreshes, std::vector<std::string>{"TrackNumber(0)"});
    EXPECT_EQ(state().enteredNumber, 12u);
    EXPECT_TRUE(state().entryBlinkOn) << "a new digit shows at once";
    // The blink and the end of the entry start over from the new digit.
    clock.advance(3149);
    EXPECT_TRUE(state().entryActive);
    clock.advance(1);
    EXPECT_EQ(state().currentTrack, 12u);
}

TEST_F(TrackEntryTest, EnteringTheCurrentTrackLeavesItPlaying)
{
    loadTracks(25, 12, 2);
    press({1, 2, 'R'});
    EXPECT_EQ(state().currentTrack, 12u);
    EXPECT_TRUE(engine->log.empty()) << "the file is neither reopened nor restarted";
    EXPECT_EQ(panel.refreshes.back(), "TrackNumber(1)");
    EXPECT_FALSE(state().entryActive);
}

TEST_F(TrackEntryTest, GoingToTrackOneOrTheLastOpensIt)
{
    for (const auto& [keys, expected] : {std::pair{std::vector<int>{1, 'R'}, 1u}, std::pair{std::vector<int>{2, 5}, 25u}}) {
        loadTracks(25, 12, 0);
        press(keys);
        EXPECT_EQ(state().currentTrack, expected);
        EXPECT_EQ(engine->openPath, track(expected));
    }
}

TEST_F(TrackEntryTest, ReturnWithoutAnEntryAndDigitsWithoutAListAreRefused)
{
    loadTracks(5, 2, 0);
    EXPECT_FALSE(records.playback.GoToEnteredTrack());
    EXPECT_TRUE(engine->log.empty());
    records.state.trackCount = 0;
    for (uint32_t digit = 0; digit <= 10; ++digit)
        EXPECT_FALSE(records.playback.EnterDigit(digit));
    EXPECT_FALSE(state().entryActive);
}

TEST_F(TrackEntryTest, OtherPanelTimersAreNotTheEntrys)
{
    loadTracks(100, 7, 0);
    press({5});
    records.playback.TrackEntry_PanelTimer(1002);
    EXPECT_TRUE(state().entryActive);
    EXPECT_TRUE(state().entryBlinkOn);
    EXPECT_TRUE(panel.refreshes.empty());
}
}  // namespace
