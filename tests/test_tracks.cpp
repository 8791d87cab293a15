#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/player_records.h"
#include "playback/playback.h"
#include "playback/transport.h"
#include "core/player_ids.h"
#include "tests/support/command_numbers.h"
#include "tests/support/playback_fixture.h"

namespace {
using TracksTest = PlaybackTest;

TEST_F(TracksTest, OpenTrackShowsEverythingOfTheNewFile)
{
    loadTracks(3, 1, 2);
    engine->lengths[track(2)] = 95'000;
    records.state.wantedSoundQuality = 2;
    records.state.wantedAudioChannel = 1;
    records.state.wantedSoundChannel = 1;
    records.state.position = 777;

    EXPECT_TRUE(records.playback.OpenTrack(2));
    const PlayerState& s = records.state;
    EXPECT_EQ(s.trackCount, 3u);
    EXPECT_EQ(s.currentTrack, 2u);
    EXPECT_EQ(s.status, 0);
    EXPECT_EQ(s.position, 0u);
    EXPECT_EQ(s.length, 95'000u);
    // The previous file is stopped and closed before the new one opens.
    EXPECT_EQ(engine->log,
              (std::vector<std::string>{"stop", "close", "open(" + track(2) + ")", "setAudioProperties(2,1,1)"}));
    EXPECT_EQ(s.shownSoundQuality, 2u);
    EXPECT_EQ(s.shownAudioChannel, 1u);
    EXPECT_EQ(s.shownSoundChannel, 1u);
    EXPECT_EQ(panel.refreshes,
              (std::vector<std::string>{"PlayState(0)", "Time(0)", "PlayState(0)", "TrackNumber(0)", "Time(0)",
                                        "TrackTime(0)", "SoundQuality(0)", "AudioChannel(0)", "SoundChannel(0)"}));
    EXPECT_EQ(videoFrame.titles, std::vector<std::string>{track(2)});
    EXPECT_EQ(busyBegins, 1);
    EXPECT_EQ(busyEnds, 1);
}

// The wanted values stay for the next file.
TEST_F(TracksTest, AFileWithoutSoundShowsTheNotAvailableValues)
{
    setTracks(1);
    records.state.wantedSoundQuality = 2;
    records.state.wantedAudioChannel = 1;
    records.state.wantedSoundChannel = 1;
    engine->hasAudio = false;
    ASSERT_TRUE(records.playback.OpenTrack(1));
    EXPECT_EQ(audioValues(), (AudioValues{4, 3, 2, 2, 1, 1}));
}

TEST_F(TracksTest, OpenTrackOutsideTheListChangesNothing)
{
    setTracks(2);
    for (uint32_t n : {0u, 3u}) {
        EXPECT_FALSE(records.playback.OpenTrack(n));
        EXPECT_TRUE(engine->log.empty());
        EXPECT_EQ(busyBegins, 0);
        EXPECT_EQ(records.state.trackCount, 2u);
    }
}

TEST_F(TracksTest, EntriesThatFailToOpenAreDroppedOnTheSpot)
{
    setList({"/a.mpg", "/b.mpg", "", "/d.mpg", "/e.mpg"});
    engine->failingPaths = {"/b.mpg", "/e.mpg"};
    EXPECT_TRUE(records.playback.OpenTrack(2));
    EXPECT_EQ(listPaths(), (std::vector<std::string>{"/a.mpg", "/d.mpg", "/e.mpg"}));
    EXPECT_EQ(records.state.currentTrack, 2u);
    EXPECT_EQ(records.state.trackCount, 3u);
    EXPECT_EQ(engine->openPath, "/d.mpg");
    EXPECT_EQ(videoFrame.titles.back(), "/d.mpg");

    // Past the end: the engine has let go of the previous file and nothing is open.
    EXPECT_FALSE(records.playback.OpenTrack(3));
    EXPECT_EQ(listPaths(), (std::vector<std::string>{"/a.mpg", "/d.mpg"}));
    EXPECT_FALSE(engine->isOpen);
    EXPECT_EQ(records.state.trackCount, 2u);
    EXPECT_EQ(busyBegins, busyEnds);
}

TEST_F(TracksTest, NextAndPreviousWrapAroundTheList)
{
    struct Case {
        uint32_t count;
        uint32_t current;
        int32_t command;  // 16 next, 17 previous
        uint32_t opened;  // 0: nothing is opened
    };
    const Case cases[] = {
        {3, 1, 16, 2}, {3, 2, 16, 3}, {3, 3, 16, 1}, {1, 1, 16, 1},
        {3, 3, 17, 2}, {3, 2, 17, 1}, {3, 1, 17, 3}, {2, 1, 17, 2}, {1, 1, 17, 0},
    };
    for (const Case& c : cases) {
        loadTracks(c.count, c.current, 0);
        const bool result = c.command == 16 ? records.playback.NextTrack() : records.playback.PreviousTrack();
        EXPECT_EQ(result, c.opened != 0) << c.count << "/" << c.current << "/" << c.command;
        EXPECT_EQ(records.state.currentTrack, c.opened ? c.opened : c.current)
            << c.count << "/" << c.current << "/" << c.command;
        if (!c.opened) {
            EXPECT_TRUE(engine->log.empty());
        }
    }
}

TEST_F(TracksTest, ATrackChangeGoesOnPlayingOnlyWhenThePlayerWasRunning)
{
    struct Case {
        uint16_t status;
        bool plays;
    };
    for (const Case c : {Case{0, false}, Case{1, false}, Case{2, true}, Case{3, true}, Case{4, true}}) {
        for (const CommandId command : {CommandId::NextTrack, CommandId::PreviousTrack}) {
            loadTracks(3, 3, c.status);
            ASSERT_TRUE(records.playback.DispatchCommand(command, CommandPhase::Click));
            EXPECT_EQ(engine->status, c.plays ? 2 : 0) << c.status << " " << command;
            EXPECT_EQ(engine->count("play"), c.plays ? 1 : 0) << c.status << " " << command;
            EXPECT_EQ(pollRuns(), c.plays);
        }
    }
}

TEST_F(TracksTest, ATrackChangeGoesOnFromTheEnginesAnswerAndWhatCameMeanwhileFollows)
{
    loadTracks(3, 1, 2);
    engine->answerLater = true;
    engine->failingPaths = {track(2)};
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::NextTrack, CommandPhase::Click));
    EXPECT_EQ(engine->log, (std::vector<std::string>{"stop", "close"}));
    EXPECT_TRUE(records.turns.waiting());
    EXPECT_EQ(busyEnds, busyBegins - 1) << "busy until the answer";

    // Stop by the media key, Play from a second start, a poll tick: none runs yet.
    mainWindow->handle({msg::MultimediaKey, 0, 13 << 16});
    mainWindow->handle({msg::SecondStart, second_start::Play, 0});
    mainWindow->timerTick(main_timer::PositionPoll);
    EXPECT_EQ(engine->log.size(), 2u);

    // Track 2 is refused and leaves the list; track 3 is asked for and answers in turn.
    engine->answerOpen();
    EXPECT_EQ(listPaths(), (std::vector<std::string>{track(1), track(3)}));
    EXPECT_TRUE(records.turns.waiting());
    EXPECT_TRUE(engine->openAwaited());
    engine->answerOpen();
    EXPECT_FALSE(records.turns.waiting());
    EXPECT_EQ(records.state.currentTrack, 2u);
    EXPECT_EQ(busyEnds, busyBegins);
    const std::vector<std::string> after(engine->log.begin() + 2, engine->log.end());
    EXPECT_EQ(after, (std::vector<std::string>{"open(" + track(2) + ")", "stop", "close", "open(" + track(3) + ")",
                                               "setAudioProperties(0,0,0)", "play", "stopAndSeekToStart", "play"}));
}

TEST_F(TracksTest, NextWrapsWhenTheTracksAfterTheCurrentOneFail)
{
    loadTracks(4, 2, 2);
    engine->failingPaths = {track(3), track(4)};
    EXPECT_TRUE(records.playback.NextTrack());
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(listPaths(), (std::vector<std::string>{track(1), track(2)}));
    EXPECT_EQ(engine->status, 2);
}

TEST_F(TracksTest, PreviousFromTheFirstSkipsLastTracksThatFail)
{
    loadTracks(4, 1, 0);
    engine->failingPaths = {track(4), track(3)};
    EXPECT_TRUE(records.playback.PreviousTrack());
    EXPECT_EQ(records.state.currentTrack, 2u);
    EXPECT_EQ(engine->openPath, track(2));
    EXPECT_EQ(listPaths(), (std::vector<std::string>{track(1), track(2)}));
}

TEST_F(TracksTest, AListWhoseFilesAllFailEndsWithNoTrack)
{
    for (const CommandId command : {CommandId::NextTrack, CommandId::PreviousTrack, CommandId::PlayList}) {
        engine->failingPaths.clear();
        loadTracks(3, 2, 2);
        records.state.shownSoundQuality = 1;
        choosePlayList([](Window*) { return true; });
        engine->failingPaths = {track(1), track(2), track(3)};
        videoFrame.titles.clear();
        const int invalidations = videoImage.wholeInvalidations;

        records.playback.DispatchCommand(command, CommandPhase::Click);
        const PlayerState& s = records.state;
        EXPECT_TRUE(listPaths().empty()) << command;
        EXPECT_EQ(s.trackCount, 0u);
        EXPECT_EQ(s.currentTrack, 0u);
        EXPECT_EQ(s.status, 0);
        EXPECT_EQ(s.position, 0u);
        EXPECT_EQ(s.length, 0u);
        EXPECT_EQ(s.shownAudioChannel, 3u);
        EXPECT_EQ(s.shownSoundChannel, 2u);
        EXPECT_EQ(s.shownSoundQuality, 1u) << "sound quality keeps what it showed";
        EXPECT_FALSE(engine->isOpen);
        EXPECT_FALSE(pollRuns());
        EXPECT_EQ(videoFrame.titles.back(), "Video Window") << command;
        EXPECT_EQ(videoImage.wholeInvalidations, invalidations + 1);
        EXPECT_EQ(busyBegins, busyEnds);
    }
}

TEST_F(TracksTest, ResetPlaybackRefreshesEveryElementOfATrack)
{
    loadTracks(2, 1, 0);
    records.playback.ResetPlayback();
    EXPECT_EQ(panel.refreshes,
              (std::vector<std::string>{"PlayState(0)", "TrackNumber(0)", "Time(0)", "TrackTime(0)", "SoundQuality(0)",
                                        "AudioChannel(0)", "SoundChannel(0)"}));
    // Without the skinned video window there is no title and no picture to touch.
    records.windows.videoFrame = nullptr;
    records.windows.videoImage = nullptr;
    records.playback.ResetPlayback();
    EXPECT_EQ(videoFrame.titles, std::vector<std::string>{"Video Window"});
}

TEST_F(TracksTest, PlayListCommand)
{
    // Cancelled: nothing changes.
    loadTracks(2, 2, 2);
    choosePlayList([](Window*) { return false; });
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::PlayList, CommandPhase::Click));
    EXPECT_TRUE(engine->log.empty());
    EXPECT_EQ(records.state.currentTrack, 2u);

    // Accepted: track 1, playing only when the player was.
    struct Case {
        uint16_t status;
        bool plays;
    };
    for (const Case c : {Case{2, true}, Case{1, false}, Case{0, false}}) {
        loadTracks(2, 2, c.status);
        choosePlayList([this](Window* owner) {
            EXPECT_EQ(owner, &panel);
            setList({"/new/one.avi", "/new/two.avi"});
            return true;
        });
        EXPECT_TRUE(records.playback.PlayListCommand(true));
        EXPECT_EQ(records.state.currentTrack, 1u);
        EXPECT_EQ(engine->openPath, "/new/one.avi");
        EXPECT_EQ(engine->status, c.plays ? 2 : 0) << c.status;
    }
}

TEST_F(TracksTest, RepeatCyclesThroughItsModes)
{
    struct Case {
        uint32_t allOnly;
        std::vector<uint32_t> modes;
    };
    for (const Case& c : {Case{0, {1, 2, 0, 1}}, Case{1, {1, 0, 1, 0}}}) {
        records.settings.repeatAllOnly = c.allOnly;
        records.state.repeatMode = RepeatMode::Off;
        for (uint32_t expected : c.modes) {
            EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Repeat, CommandPhase::Click));
            EXPECT_EQ(static_cast<uint32_t>(records.state.repeatMode), expected) << "all only " << c.allOnly;
            EXPECT_EQ(panel.refreshes.back(), "Repeat(0)");
        }
    }
    // Repeat-all only from the track mode goes to the list mode.
    records.state.repeatMode = RepeatMode::Track;
    records.playback.CycleRepeat();
    EXPECT_EQ(records.state.repeatMode, RepeatMode::List);
}

TEST_F(TracksTest, TheVideoTitleIsThePathUncutOrTheBaseTitle)
{
    const std::string longPath = "/" + std::string(300, 'x') + "/clip.mpg";
    records.playback.SetVideoTitle(&longPath);
    const std::string empty;
    records.playback.SetVideoTitle(&empty);
    records.playback.SetVideoTitle(nullptr);
    EXPECT_EQ(videoFrame.titles, (std::vector<std::string>{longPath, "Video Window", "Video Window"}));
    records.windows.videoFrame = nullptr;
    records.playback.SetVideoTitle(&longPath);
    EXPECT_EQ(videoFrame.titles.size(), 3u);
}
}  // namespace
