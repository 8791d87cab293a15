#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/player_records.h"
#include "playback/playback.h"
#include "playback/transport.h"
#include "tests/support/command_numbers.h"
#include "tests/support/playback_fixture.h"

namespace {
using TransportTest = PlaybackTest;

// The hold's period and step at each event with the default seek settings, worked out by
// hand: the period loses a tenth (rounded down) until it first drops to 50 or below; the
// step grows by 500 up to 7000.
const std::vector<uint32_t> kPeriods{500, 450, 405, 365, 329, 297, 268, 242, 218, 197, 178, 161, 145,
                                     131, 118, 107, 97,  88,  80,  72,  65,  59,  54,  49,  49,  49};
const std::vector<uint32_t> kSteps{1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000, 5500, 6000, 6500, 7000,
                                   7000, 7000, 7000, 7000, 7000, 7000, 7000, 7000, 7000, 7000, 7000, 7000, 7000};

TEST_F(TransportTest, AHeldForwardAcceleratesOnTheTimeDisplayAlone)
{
    loadTracks(2, 1, 2);
    engine->length = 3'600'000;
    records.state.length = 3'600'000;
    engine->position = 100'000;
    ASSERT_TRUE(records.playback.Play(true));
    engine->log.clear();

    uint32_t expected = 100'000;
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Forward, CommandPhase::Press));
    for (size_t event = 0; event < kPeriods.size(); ++event) {
        expected += kSteps[event];
        EXPECT_EQ(records.state.position, expected) << "event " << event;
        EXPECT_EQ(mainTimers.period(main_timer::SeekRepeat), kPeriods[event]) << "event " << event;
        // The next repeat comes from the main window's timer, one period later.
        clock.advance(kPeriods[event] - 1);
        EXPECT_EQ(records.state.position, expected) << "too early at event " << event;
        clock.advance(1);
    }
    EXPECT_EQ(engine->log, (std::vector<std::string>{"pause"})) << "only the display moves while held";
    EXPECT_EQ(engine->status, 1);
    EXPECT_FALSE(pollRuns());
    EXPECT_EQ(panel.count("Time(0)"), static_cast<int>(kPeriods.size()) + 1);
}

TEST_F(TransportTest, ReleaseSeeksToTheTargetAndResumesOnlyWhatWasRunning)
{
    struct Case {
        uint16_t status;
        bool resumes;
    };
    for (const Case c : {Case{2, true}, Case{3, true}, Case{4, true}, Case{1, false}, Case{0, false}}) {
        loadTracks(1, 1, c.status);
        engine->position = 20'000;
        ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Backward, CommandPhase::Press));
        clock.advance(500);  // one repeat
        ASSERT_EQ(records.state.position, 20'000u - 1000 - 1500);
        ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Backward, CommandPhase::Release));
        EXPECT_EQ(engine->position, 17'500u) << c.status;
        EXPECT_EQ(engine->count("seek(17500)"), 1) << c.status;
        EXPECT_EQ(engine->count("play"), c.resumes ? 1 : 0) << c.status;
        EXPECT_EQ(pollRuns(), c.resumes) << c.status;
        EXPECT_TRUE(records.state.seekIdle);
        EXPECT_FALSE(mainTimers.isRunning(main_timer::SeekRepeat));
        mainTimers.stop(main_timer::PositionPoll);
    }
}

TEST_F(TransportTest, TheTargetStopsAtBothEnds)
{
    // 400 ms before the end: the press itself reaches the length, repeats change nothing.
    loadTracks(1, 1, 2);
    engine->position = 59'600;
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Forward, CommandPhase::Press));
    EXPECT_EQ(records.state.position, 60'000u);
    EXPECT_EQ(panel.count("Time(0)"), 1);
    clock.advance(500 + 450 + 405);
    EXPECT_EQ(records.state.seekTarget, 60'000u);
    EXPECT_EQ(panel.count("Time(0)"), 1);
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Forward, CommandPhase::Release));
    EXPECT_EQ(engine->count("seek(60000)"), 1);

    // From the start backward nothing moves; release seeks to 0 and resumes.
    loadTracks(1, 1, 2);
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Backward, CommandPhase::Press));
    clock.advance(500 + 450);
    EXPECT_EQ(records.state.seekTarget, 0u);
    EXPECT_EQ(panel.count("Time(0)"), 0);
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Backward, CommandPhase::Release));
    EXPECT_EQ(engine->log, (std::vector<std::string>{"pause", "seek(0)", "play"}));

    // Less than a step from the start: the target stops at 0.
    loadTracks(1, 1, 2);
    engine->position = 700;
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Backward, CommandPhase::Press));
    EXPECT_EQ(records.state.position, 0u);
    records.playback.DispatchCommand(CommandId::Backward, CommandPhase::Release);

    // A jump goes as far as the end and no further, and waits while a hold is under way.
    loadTracks(1, 1, 2);
    ASSERT_TRUE(records.playback.SeekTo(90'000));
    EXPECT_EQ(engine->log, (std::vector<std::string>{"seek(60000)"}));
    EXPECT_EQ(records.state.position, 60'000u);
    EXPECT_EQ(panel.count("Time(0)"), 1);
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Backward, CommandPhase::Press));
    EXPECT_FALSE(records.playback.SeekTo(1'000));
    records.playback.DispatchCommand(CommandId::Backward, CommandPhase::Release);
    EXPECT_EQ(engine->count("seek(1000)"), 0);
}

// Released at the very end of a running track, the hold ends the track there and the poll
// goes on as at the end of any track; it never starts the same track again.
TEST_F(TransportTest, AReleaseAtTheEndGoesOnAsTheEndOfATrack)
{
    struct Case {
        uint32_t tracks;
        RepeatMode repeatMode;
        uint32_t trackAfter;
        uint16_t statusAfter;
    };
    for (const Case c :
         {Case{2, RepeatMode::Off, 2, 2}, Case{1, RepeatMode::Off, 1, 0}, Case{1, RepeatMode::Track, 1, 2}}) {
        records.state.repeatMode = c.repeatMode;
        loadTracks(c.tracks, 1, 2);
        ASSERT_TRUE(records.playback.Play(true));
        engine->position = 59'600;
        ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Forward, CommandPhase::Press));
        ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Forward, CommandPhase::Release));
        EXPECT_EQ(engine->count("play"), 1) << "only the Play before the hold; tracks " << c.tracks;
        EXPECT_EQ(engine->status, 0) << "stopped at the end";
        EXPECT_EQ(engine->position, 60'000u);
        ASSERT_TRUE(pollRuns());
        clock.advance(pollPeriod());
        EXPECT_EQ(records.state.currentTrack, c.trackAfter) << c.tracks << " repeat " << static_cast<uint32_t>(c.repeatMode);
        EXPECT_EQ(engine->openPath, track(c.trackAfter));
        EXPECT_EQ(engine->status, c.statusAfter) << c.tracks << " repeat " << static_cast<uint32_t>(c.repeatMode);
        EXPECT_EQ(records.state.status, c.statusAfter) << c.tracks << " repeat " << static_cast<uint32_t>(c.repeatMode);
        EXPECT_EQ(engine->position, 0u);
        mainTimers.stop(main_timer::PositionPoll);
    }
}

// A disc that leaves during a hold takes the hold with its track: no repeats go on, and the
// next disc's release seeks nowhere.
TEST_F(TransportTest, AHoldEndsWithTheTrackItHolds)
{
    struct Case {
        const char* name;
        std::vector<std::string> left;  // the list after the disc has gone
    };
    for (const Case& c : {Case{"the list empties", {}}, Case{"another track stays", {"/other/clip.mpg"}}}) {
        loadTracks(2, 1, 2);
        engine->position = 20'000;
        ASSERT_TRUE(records.playback.DispatchCommand(CommandId::Forward, CommandPhase::Press));
        clock.advance(500);
        ASSERT_EQ(records.state.seekTarget, 22'500u);

        // What a disc's leaving does once its entries are dropped.
        setList(c.left);
        records.playback.PlayListCommand(false);
        EXPECT_FALSE(mainTimers.isRunning(main_timer::SeekRepeat)) << c.name;
        EXPECT_EQ(records.state.seekIdle, 1u) << c.name;
        EXPECT_EQ(records.state.trackCount, c.left.size()) << c.name;

        loadTracks(1, 1, 2);
        engine->position = 1'000;
        clock.advance(10'000);
        EXPECT_EQ(records.state.seekTarget, 22'500u) << c.name << ": no repeat moved it";
        records.playback.DispatchCommand(CommandId::Forward, CommandPhase::Release);
        EXPECT_TRUE(engine->log.empty()) << c.name << ": the release seeks nowhere";
        EXPECT_EQ(engine->position, 1'000u) << c.name;
    }
}

TEST_F(TransportTest, AHoldThatCannotBeginRefuses)
{
    // Release without a press.
    loadTracks(1, 1, 2);
    EXPECT_FALSE(records.playback.SeekHold(true, false));
    EXPECT_TRUE(engine->log.empty());

    // Nothing loaded.
    records.state.trackCount = 0;
    EXPECT_FALSE(records.playback.SeekHold(true, true));
    EXPECT_TRUE(records.state.seekIdle);

    // The status cannot be read: no hold begins.
    loadTracks(1, 1, 2);
    engine->failingCalls = {"getStatus"};
    EXPECT_FALSE(records.playback.SeekHold(true, true));
    EXPECT_TRUE(records.state.seekIdle);
    EXPECT_FALSE(mainTimers.isRunning(main_timer::SeekRepeat));

    // The position cannot be read: playback goes on as it was.
    engine->failingCalls = {"getCurrentPosition"};
    EXPECT_FALSE(records.playback.SeekHold(true, true));
    EXPECT_EQ(engine->log, (std::vector<std::string>{"pause", "play"}));
    EXPECT_TRUE(records.state.seekIdle);
    EXPECT_TRUE(pollRuns());
    EXPECT_FALSE(mainTimers.isRunning(main_timer::SeekRepeat));
}

TEST_F(TransportTest, EachRateCommandTogglesWithNormalSpeed)
{
    struct Case {
        CommandId command;
        int32_t rate;
        uint32_t period;
        uint16_t status;
    };
    using C = CommandId;
    for (const Case c : {Case{C::FastForward, 3000, 333, 3}, Case{C::FastBackward, -3000, 333, 4},
                         Case{C::SlowForward, 500, 2000, 3}, Case{C::SlowBackward, -500, 2000, 4}}) {
        loadTracks(1, 1, 2);
        ASSERT_TRUE(records.playback.Play(true));
        ASSERT_TRUE(records.playback.DispatchCommand(c.command, CommandPhase::Click));
        EXPECT_EQ(engine->rate, c.rate) << c.command;
        EXPECT_EQ(records.state.status, c.status) << c.command;
        EXPECT_EQ(pollPeriod(), c.period) << c.command;
        // The same command again returns to normal speed, and the poll to a second.
        ASSERT_TRUE(records.playback.DispatchCommand(c.command, CommandPhase::Click));
        EXPECT_EQ(engine->rate, 1000) << c.command;
        EXPECT_EQ(records.state.status, 2) << c.command;
        EXPECT_EQ(pollPeriod(), 1000u) << c.command;
    }
    // From fast to slow forward goes straight to the slow rate.
    records.playback.DispatchCommand(CommandId::FastForward, CommandPhase::Click);
    records.playback.DispatchCommand(CommandId::SlowForward, CommandPhase::Click);
    EXPECT_EQ(engine->rate, 500);
}

TEST_F(TransportTest, RatesAreRefusedWhileNotPlaying)
{
    for (uint16_t status : {uint16_t{1}, uint16_t{0}}) {
        loadTracks(1, 1, status);
        EXPECT_FALSE(records.playback.ChangeRate(true, 3000));
        EXPECT_EQ(engine->log, (std::vector<std::string>{"setRate(3000)", "setRate(1000)"}));
        EXPECT_EQ(engine->rate, 1000);
        EXPECT_EQ(records.state.status, status);
        EXPECT_EQ(panel.refreshes, std::vector<std::string>{"PlayState(0)"});
        EXPECT_FALSE(pollRuns());
    }
    // An engine that cannot tell its status gets normal speed back.
    loadTracks(1, 1, 2);
    engine->failingCalls = {"getStatus"};
    EXPECT_FALSE(records.playback.ChangeRate(false, 500));
    EXPECT_EQ(engine->log, (std::vector<std::string>{"setRate(-500)", "setRate(1000)"}));
    // A refused rate leaves the poll as it was.
    engine->failingCalls = {"getRate"};
    EXPECT_FALSE(records.playback.ChangeRate(true, 3000));
    engine->failingCalls = {"setRate"};
    EXPECT_FALSE(records.playback.ChangeRate(true, 3000));
    EXPECT_EQ(engine->rate, 1000);
    // Nothing loaded.
    records.state.trackCount = 0;
    engine->failingCalls.clear();
    engine->log.clear();
    EXPECT_FALSE(records.playback.ChangeRate(true, 3000));
    EXPECT_TRUE(engine->log.empty());
}

TEST_F(TransportTest, PlayPausePausesOnlyNormalSpeedPlayback)
{
    struct Case {
        uint16_t status;
        int32_t rate;
        const char* call;
    };
    for (const Case c : {Case{2, 1000, "pause"}, Case{2, 3000, "play"}, Case{2, -500, "play"}, Case{3, 3000, "play"},
                         Case{1, 1000, "play"}, Case{0, 1000, "play"}}) {
        loadTracks(1, 1, c.status);
        engine->rate = c.rate;
        EXPECT_TRUE(records.playback.TogglePlayPause());
        EXPECT_EQ(engine->log, std::vector<std::string>{c.call}) << c.status << " at " << c.rate;
    }
    // A rate that cannot be read counts as normal speed.
    loadTracks(1, 1, 2);
    engine->failingCalls = {"getRate"};
    EXPECT_TRUE(records.playback.TogglePlayPause());
    EXPECT_EQ(engine->log, std::vector<std::string>{"pause"});
}

TEST_F(TransportTest, PlayRunsThePollEverySecondAndPauseAndStopEndIt)
{
    loadTracks(2, 1, 0);
    EXPECT_TRUE(records.playback.Play(true));
    EXPECT_TRUE(pollRuns());
    EXPECT_EQ(pollPeriod(), 1000u);
    EXPECT_EQ(records.state.status, 2);
    EXPECT_EQ(panel.refreshes, std::vector<std::string>{"PlayState(0)"});

    EXPECT_TRUE(records.playback.Pause(true));
    EXPECT_FALSE(pollRuns());
    EXPECT_EQ(records.state.status, 1);

    records.playback.Play(true);
    records.state.position = 12'000;
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Stop, CommandPhase::Click));
    EXPECT_EQ(engine->log.back(), "stopAndSeekToStart");
    EXPECT_FALSE(pollRuns());
    EXPECT_EQ(records.state.status, 0);
    EXPECT_EQ(records.state.position, 0u) << "the display shows where the engine stands";
}

TEST_F(TransportTest, AFailedPlayLeavesThePollStopped)
{
    loadTracks(1, 1, 0);
    records.playback.Play(true);
    engine->failingCalls = {"play"};
    EXPECT_FALSE(records.playback.Play(true));
    EXPECT_FALSE(pollRuns());
    engine->failingCalls = {"getStatus"};
    EXPECT_FALSE(records.playback.Play(true));
}

TEST_F(TransportTest, PlayWithNothingLoaded)
{
    // The dialog option off: refused, nothing opened.
    records.settings.playListDialogOnPlay = 0;
    int dialogs = 0;
    choosePlayList([&](Window*) {
        ++dialogs;
        setTracks(2);
        return true;
    });
    EXPECT_FALSE(records.playback.Play(true));
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(engine->log.empty());

    // On: the dialog's list opens and plays.
    records.settings.playListDialogOnPlay = 1;
    EXPECT_TRUE(records.playback.Play(true));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(engine->openPath, track(1));
    EXPECT_EQ(engine->status, 2);
    EXPECT_TRUE(pollRuns());

    // A cancelled dialog leaves nothing to play; the engine refuses.
    loadTracks(1, 1, 0);
    records.state.trackCount = 0;
    engine->isOpen = false;
    choosePlayList([&](Window*) { return false; });
    EXPECT_FALSE(records.playback.Play(true));
}

TEST_F(TransportTest, TransportRefusesWithNothingLoaded)
{
    EXPECT_FALSE(records.playback.Pause(true));
    EXPECT_FALSE(records.playback.Stop(true, true));
    EXPECT_FALSE(records.playback.SeekHold(false, true));
    EXPECT_FALSE(records.playback.SeekTo(1'000));
    EXPECT_TRUE(engine->log.empty());
}

TEST_F(TransportTest, PollPeriodFollowsTheRate)
{
    struct Case {
        int32_t rate;
        uint32_t period;
    };
    for (const Case c : {Case{1000, 1000}, Case{3000, 333}, Case{-3000, 333}, Case{500, 2000}, Case{-999, 1001},
                         Case{4999, 200}})
        EXPECT_EQ(PositionPollPeriod(c.rate), c.period) << c.rate;
}
}  // namespace
