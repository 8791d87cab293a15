#include <gtest/gtest.h>

#include "components/reelkit/audio_choice.h"
#include "components/reelkit/backward_stepper.h"
#include "components/reelkit/engine_status.h"

namespace {

struct StatusCase {
    const char* name;
    PlaybackFacts facts;
    uint16_t status;
};

class EngineStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(EngineStatus, FollowsTheFacts)
{
    EXPECT_EQ(StatusOf(GetParam().facts), GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EngineStatus,
    ::testing::Values(StatusCase{"NothingOpen", {false, false, false, false, 1000}, 0},
                      StatusCase{"Stopped", {true, true, false, true, 1000}, 0},
                      StatusCase{"AtTheEnd", {true, false, true, false, 1000}, 0},
                      StatusCase{"AtTheEndFast", {true, false, true, false, 3000}, 0},
                      StatusCase{"Paused", {true, false, false, true, 1000}, 1},
                      StatusCase{"PausedBackward", {true, false, false, true, -2000}, 1},
                      StatusCase{"Playing", {true, false, false, false, 1000}, 2},
                      StatusCase{"Fast", {true, false, false, false, 3000}, 3},
                      StatusCase{"Slow", {true, false, false, false, 500}, 3},
                      StatusCase{"Backward", {true, false, false, false, -1000}, 4},
                      StatusCase{"FastBackward", {true, false, false, false, -3000}, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EngineRates, AcceptedRange)
{
    // Every slow rate the configuration allows (1 to 999) is taken, either way.
    for (int32_t rate : {1, 9, 10, 500, 1000, 3000, 100000, -1, -9, -10, -1000, -100000})
        EXPECT_TRUE(IsAcceptedRate(rate)) << rate;
    for (int32_t rate : {0, 100001, -100001, INT32_MIN, INT32_MAX})
        EXPECT_FALSE(IsAcceptedRate(rate)) << rate;
}

TEST(EngineRates, ForwardSpeedGoesNoSlowerThanLibmpv)
{
    const std::pair<int32_t, int32_t> cases[] = {{1, 10}, {9, 10}, {10, 10}, {11, 11}, {500, 500}, {100000, 100000}};
    for (const auto& [rate, speed] : cases)
        EXPECT_EQ(ForwardSpeed(rate), speed) << rate;
}

struct FilterCase {
    AudioChoice choice;
    std::string filter;
};

class AudioFilter : public ::testing::TestWithParam<FilterCase> {};

TEST_P(AudioFilter, GraphOfTheChoice)
{
    EXPECT_EQ(AudioFilterOption(GetParam().choice), GetParam().filter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AudioFilter,
    ::testing::Values(
        FilterCase{{0, 0, 0}, ""},
        FilterCase{{1, 0, 0}, "lavfi=[aresample=22050]"},
        FilterCase{{2, 0, 0}, "lavfi=[aresample=11025]"},
        FilterCase{{3, 0, 0}, "lavfi=[aresample=8000]"},
        FilterCase{{0, 1, 0}, "lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=c0|c1=c0]"},
        FilterCase{{0, 2, 0}, "lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=c1|c1=c1]"},
        FilterCase{{0, 0, 1}, "lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=0.5*c0+0.5*c1|c1=0.5*c0+0.5*c1]"},
        // One side chosen: the mono mix has nothing left to mix.
        FilterCase{{0, 2, 1}, "lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=c1|c1=c1]"},
        FilterCase{{3, 1, 1}, "lavfi=[aformat=channel_layouts=stereo,pan=stereo|c0=c0|c1=c0,aresample=8000]"}));

TEST(AudioChoiceValues, NotAvailableMarkersAreRefused)
{
    EXPECT_TRUE(IsValidAudioChoice({3, 2, 1}));
    EXPECT_FALSE(IsValidAudioChoice({4, 0, 0}));
    EXPECT_FALSE(IsValidAudioChoice({0, 3, 0}));
    EXPECT_FALSE(IsValidAudioChoice({0, 0, 2}));
    EXPECT_FALSE(IsValidAudioChoice(kNoAudio));
}

// The stepper runs on a clock the test moves.
TEST(BackwardStepper, SeeksAtTheRatePaceOnceTheLastSeekLanded)
{
    BackwardStepper stepper;
    stepper.start(-2000, 10000, 0, 40);
    EXPECT_EQ(stepper.tick(0).action, BackwardStepper::Action::Wait);  // not one frame yet
    const auto first = stepper.tick(100);
    ASSERT_EQ(first.action, BackwardStepper::Action::Seek);
    EXPECT_EQ(first.target, 9800u);
    // Still in flight: the pictures are dropped, not queued.
    EXPECT_EQ(stepper.tick(200).action, BackwardStepper::Action::Wait);
    stepper.seekLanded();
    const auto second = stepper.tick(300);
    ASSERT_EQ(second.action, BackwardStepper::Action::Seek);
    EXPECT_EQ(second.target, 9400u);
}

TEST(BackwardStepper, SlowRatesStepFrameByFrame)
{
    BackwardStepper stepper;
    stepper.start(-100, 5000, 0, 40);
    for (int64_t now = 0; now < 400; now += 20)
        EXPECT_EQ(stepper.tick(now).action, BackwardStepper::Action::Wait) << now;
    const auto step = stepper.tick(400);
    ASSERT_EQ(step.action, BackwardStepper::Action::Seek);
    EXPECT_EQ(step.target, 4960u);
}

TEST(BackwardStepper, ALostSeekDoesNotStopThePictures)
{
    BackwardStepper stepper;
    stepper.start(-1000, 5000, 0, 40);
    ASSERT_EQ(stepper.tick(50).action, BackwardStepper::Action::Seek);
    EXPECT_EQ(stepper.tick(50 + BackwardStepper::kLostSeekMs - 1).action, BackwardStepper::Action::Wait);
    EXPECT_EQ(stepper.tick(50 + BackwardStepper::kLostSeekMs).action, BackwardStepper::Action::Seek);
}

TEST(BackwardStepper, ReachingTheStartIsToldOnceAndStops)
{
    BackwardStepper stepper;
    stepper.start(-3000, 600, 0, 40);
    EXPECT_EQ(stepper.wanted(100), 300u);
    const auto end = stepper.tick(250);
    EXPECT_EQ(end.action, BackwardStepper::Action::ReachedStart);
    EXPECT_FALSE(stepper.running());
    EXPECT_EQ(stepper.tick(300).action, BackwardStepper::Action::Wait);
}

TEST(BackwardStepper, RestartsFromWhereTheUserSought)
{
    BackwardStepper stepper;
    stepper.start(-1000, 2000, 0, 40);
    stepper.restartFrom(8000, 500);
    EXPECT_EQ(stepper.wanted(500), 8000u);
    EXPECT_EQ(stepper.wanted(1500), 7000u);
}

}  // namespace
