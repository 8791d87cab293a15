#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/player_records.h"
#include "playback/playback.h"
#include "playback/transport.h"
#include "tests/support/playback_fixture.h"

namespace {
class PositionPollTest : public PlaybackTest {
protected:
    // A list of count tracks, track current playing with the poll running.
    void playing(uint32_t count, uint32_t current, uint32_t repeat)
    {
        loadTracks(count, current, 0);
        records.state.repeatMode = static_cast<RepeatMode>(repeat);
        ASSERT_TRUE(records.playback.Play(true));
        engine->log.clear();
        panel.refreshes.clear();
    }
    // The engine reaches the end of the track and the poll's next tick sees it.
    void playToTheEnd()
    {
        engine->reachEnd();
        clock.advance(pollPeriod());
    }
};

TEST_F(PositionPollTest, EachTickShowsThePosition)
{
    playing(2, 1, 0);
    engine->position = 4321;
    clock.advance(999);
    EXPECT_EQ(records.state.position, 0u);
    clock.advance(1);
    EXPECT_EQ(records.state.position, 4321u);
    EXPECT_EQ(panel.refreshes, std::vector<std::string>{"Time(0)"});
    EXPECT_TRUE(pollRuns());
}

TEST_F(PositionPollTest, ThePollEndsWhenTheEngineIsPausedOrTellsNothing)
{
    playing(2, 1, 0);
    engine->status = 1;  // paused from elsewhere
    engine->position = 500;
    clock.advance(1000);
    EXPECT_EQ(records.state.position, 500u);
    EXPECT_FALSE(pollRuns());

    playing(2, 1, 0);
    engine->failingCalls = {"getStatus"};
    engine->reachEnd();
    clock.advance(1000);
    EXPECT_TRUE(engine->log.empty()) << "no status, no decision";
    EXPECT_TRUE(pollRuns());
}

TEST_F(PositionPollTest, TheEndOfATrackFollowsTheRepeatMode)
{
    struct Case {
        uint32_t repeat;
        uint32_t count;
        uint32_t current;
        uint32_t next;       // the track open afterwards
        bool reopened;       // a new track was opened (rather than the same file sought to 0)
        bool plays;
    };
    const Case cases[] = {
        // Repeat the track: the same file again, whatever the list.
        {2, 1, 1, 1, false, true},
        {2, 3, 2, 2, false, true},
        {2, 3, 3, 3, false, true},
        // A list of one: back to its start, playing only when the list repeats.
        {1, 1, 1, 1, false, true},
        {0, 1, 1, 1, false, false},
        // Longer lists go on to the next track; after the last, track 1 plays only with repeat all.
        {0, 3, 1, 2, true, true},
        {0, 3, 2, 3, true, true},
        {0, 3, 3, 1, true, false},
        {1, 3, 2, 3, true, true},
        {1, 3, 3, 1, true, true},
        {0, 2, 2, 1, true, false},
        {1, 2, 2, 1, true, true},
    };
    for (const Case& c : cases) {
        playing(c.count, c.current, c.repeat);
        playToTheEnd();
        const std::string what = "repeat " + std::to_string(c.repeat) + ", " + std::to_string(c.count) +
                                 " tracks, end of " + std::to_string(c.current);
        EXPECT_EQ(records.state.currentTrack, c.next) << what;
        EXPECT_EQ(engine->openPath, track(c.next)) << what;
        EXPECT_EQ(engine->count("open(" + track(c.next) + ")"), c.reopened ? 1 : 0) << what;
        if (!c.reopened) {
            EXPECT_EQ(engine->log.front(), "seek(0)") << what;
        }
        EXPECT_EQ(engine->status, c.plays ? 2 : 0) << what;
        EXPECT_EQ(records.state.status, c.plays ? 2 : 0) << what;
        EXPECT_EQ(pollRuns(), c.plays) << what;
        EXPECT_EQ(records.state.position, 0u) << what;
    }
}

TEST_F(PositionPollTest, ADiscPlaysToItsLastTrackAndStopsOnTheFirst)
{
    playing(3, 1, 0);
    engine->failingPaths = {track(2)};
    std::vector<std::string> played{engine->openPath};
    playToTheEnd();
    played.push_back(engine->openPath);
    EXPECT_EQ(engine->status, 2) << "the corrupt track is skipped and the next one plays";
    playToTheEnd();
    played.push_back(engine->openPath);
    EXPECT_EQ(played, (std::vector<std::string>{track(1), track(3), track(1)}));
    EXPECT_EQ(listPaths(), (std::vector<std::string>{track(1), track(3)}));
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(engine->status, 0);
    EXPECT_FALSE(pollRuns());
    EXPECT_EQ(videoFrame.titles.back(), track(1));
}

TEST_F(PositionPollTest, TracksThatFailAtTheEndAreSkippedAndAnEmptyListResets)
{
    playing(4, 2, 1);
    engine->failingPaths = {track(3), track(4)};
    playToTheEnd();
    EXPECT_EQ(records.state.currentTrack, 1u) << "the list wrapped past the files that failed";
    EXPECT_EQ(engine->status, 2);
    EXPECT_EQ(listPaths(), (std::vector<std::string>{track(1), track(2)}));

    playing(3, 1, 0);
    engine->failingPaths = {track(1), track(2), track(3)};
    engine->reachEnd();
    EXPECT_FALSE(records.playback.PollPosition()) << "the tick ends without default processing";
    EXPECT_TRUE(listPaths().empty());
    EXPECT_EQ(records.state.trackCount, 0u);
    EXPECT_EQ(records.state.currentTrack, 0u);
    EXPECT_FALSE(pollRuns());
    EXPECT_FALSE(engine->isOpen);
    EXPECT_EQ(videoFrame.titles.back(), "Video Window");
}

TEST_F(PositionPollTest, RepeatTrackReplaysEndlessly)
{
    playing(2, 2, 2);
    for (int round = 0; round < 5; ++round) {
        engine->position = 59'000;
        clock.advance(1000);
        EXPECT_EQ(records.state.position, 59'000u);
        playToTheEnd();
        EXPECT_EQ(records.state.position, 0u);
    }
    EXPECT_EQ(engine->count("seek(0)"), 5);
    EXPECT_EQ(engine->openedPaths, std::vector<std::string>{track(2)}) << "never reopened";
    EXPECT_EQ(records.state.currentTrack, 2u);
    EXPECT_TRUE(pollRuns());
}
}  // namespace
