#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>

#include "tests/test_reelkit_support.h"

namespace {

// The clips last TestClips::kSeconds; containers round their length a little.
constexpr uint32_t kClipMs = TestClips::kSeconds * 1000;
constexpr uint32_t kLengthSlackMs = 150;

struct ClipCase {
    const char* name;
    std::string TestClips::*clip;
};

const ClipCase kPlayable[] = {
    {"Vcd", &TestClips::vcd},
    {"VcdWithoutSound", &TestClips::vcdSilent},
    {"VcdDat", &TestClips::vcdDat},
    {"Avi", &TestClips::avi},
    {"Mp4", &TestClips::mp4},
};

std::string nameOf(const ::testing::TestParamInfo<ClipCase>& info) { return info.param.name; }

class EngineOpen : public EngineTest, public ::testing::WithParamInterface<ClipCase> {};

TEST_P(EngineOpen, OpensStoppedAtTheStartWithItsLengthAndPicture)
{
    openClip(clips.*GetParam().clip);
    EXPECT_EQ(status(), 0);
    EXPECT_EQ(position(), 0u);
    EXPECT_NEAR(length(), kClipMs, kLengthSlackMs);
    QWidget* picture = window->findChild<QWidget*>(kReelkitPictureName);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture, engine->pictureWidget());
    EXPECT_EQ(picture->geometry(), window->rect());

    EXPECT_TRUE(engine->close());
    EXPECT_EQ(window->findChild<QWidget*>(kReelkitPictureName), nullptr);
    EXPECT_EQ(status(), 0);
    EXPECT_FALSE(engine->getLength());
}

TEST_P(EngineOpen, PlaysForwardAndBackwardAndOnAtTheStart)
{
    openClip(clips.*GetParam().clip);
    ASSERT_TRUE(playTo(1200));
    ASSERT_TRUE(engine->setRate(-1000));
    EXPECT_EQ(status(), 4);
    EXPECT_EQ(rate(), -1000);

    // Moving pictures backward: the position falls step by step.
    const uint32_t from = position();
    int steps = 0;
    uint32_t last = from;
    ASSERT_TRUE(WaitUntil([&] {
        const uint32_t now = position();
        if (now < last) {
            ++steps;
            last = now;
        }
        return status() != 4;
    })) << "backward play did not reach the start";
    EXPECT_GE(steps, 5) << "from " << from;

    // At the start it goes on forward at normal speed, never "stopped".
    EXPECT_EQ(status(), 2);
    EXPECT_EQ(rate(), 1000);
    EXPECT_TRUE(WaitUntil([&] { return position() >= 300; }));
}

INSTANTIATE_TEST_SUITE_P(Clips, EngineOpen, ::testing::ValuesIn(kPlayable), nameOf);

struct RefusedCase {
    const char* name;
    std::function<std::string(const TestClips&)> path;
};

class EngineRefuses : public EngineTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(EngineRefuses, InBoundedTimeLeavingNothingOpenThenOpensAGoodFile)
{
    QElapsedTimer took;
    took.start();
    EXPECT_EQ(OpenAnswer(*engine, window.get(), GetParam().path(clips)), 0u);
    EXPECT_LT(took.elapsed(), 7000);
    EXPECT_EQ(status(), 0);
    EXPECT_FALSE(engine->getLength());
    EXPECT_FALSE(engine->play());
    EXPECT_EQ(window->findChild<QWidget*>(kReelkitPictureName), nullptr);
    EXPECT_EQ(engine->pictureWidget(), nullptr);

    openClip(clips.vcd);
    EXPECT_NEAR(length(), kClipMs, kLengthSlackMs);
    EXPECT_TRUE(playTo(300));
}

INSTANTIATE_TEST_SUITE_P(
    Files, EngineRefuses,
    ::testing::Values(RefusedCase{"Missing", [](const TestClips& c) { return c.dir().file("no such.mpg"); }},
                      RefusedCase{"Empty", [](const TestClips& c) { return c.empty; }},
                      RefusedCase{"RandomBytes", [](const TestClips& c) { return c.randomBytes; }},
                      RefusedCase{"Truncated", [](const TestClips& c) { return c.truncated; }},
                      RefusedCase{"Folder", [](const TestClips& c) { return c.dir().path(); }},
                      RefusedCase{"NoPath", [](const TestClips&) { return std::string(); }}),
    [](const auto& info) { return std::string(info.param.name); });

using EngineTransport = EngineTest;

TEST_F(EngineTransport, NothingOpenRefusesAndReportsStopped)
{
    EXPECT_EQ(status(), 0);
    for (auto call : {&MpvEngine::play, &MpvEngine::pause, &MpvEngine::stop, &MpvEngine::stopAndSeekToStart})
        EXPECT_EQ(((*engine).*call)(), 0u);
    EXPECT_FALSE(engine->seek(0));
    EXPECT_FALSE(engine->setRate(2000));
    EXPECT_FALSE(engine->getCurrentPosition());
}

TEST_F(EngineTransport, PlayPauseStopAndBackToTheStart)
{
    openClip(clips.vcd);
    ASSERT_TRUE(engine->play());
    EXPECT_EQ(status(), 2);
    ASSERT_TRUE(WaitUntil([&] { return position() >= 400; }));

    ASSERT_TRUE(engine->pause());
    EXPECT_EQ(status(), 1);
    const uint32_t paused = position();
    EXPECT_GE(paused, 400u);

    ASSERT_TRUE(engine->play());
    EXPECT_EQ(status(), 2);
    ASSERT_TRUE(WaitUntil([&] { return position() >= paused + 200; }));

    ASSERT_TRUE(engine->stop());
    EXPECT_EQ(status(), 0);
    EXPECT_GE(position(), paused + 200);

    ASSERT_TRUE(engine->stopAndSeekToStart());
    EXPECT_EQ(status(), 0);
    EXPECT_TRUE(WaitUntil([&] { return position() == 0; }));
    // The stop holds: nothing plays on its own.
    ASSERT_TRUE(engine->seek(900));
    EXPECT_EQ(position(), 900u);
    EXPECT_EQ(status(), 0);
}

TEST_F(EngineTransport, TheEndReportsStoppedAtTheLengthAndPlaysAgainFromTheStart)
{
    openClip(clips.vcd);
    const uint32_t total = length();
    QSignalSpy statuses(engine.get(), &ReelkitEngine::statusChanged);
    QSignalSpy positions(engine.get(), &ReelkitEngine::positionChanged);
    QSignalSpy ends(engine.get(), &ReelkitEngine::endOfFile);
    ASSERT_TRUE(engine->seek(total - 500));
    ASSERT_TRUE(engine->play());
    ASSERT_TRUE(WaitUntil([&] { return status() == 0; }));
    EXPECT_EQ(position(), total);
    EXPECT_EQ(position(), total);  // and stays there
    // Told as it happened: playing, then stopped at the end, the position on its way there.
    ASSERT_EQ(statuses.size(), 2);
    EXPECT_EQ(statuses[0][0].value<quint16>(), 2);
    EXPECT_EQ(statuses[1][0].value<quint16>(), 0);
    EXPECT_EQ(ends.size(), 1);
    ASSERT_GE(positions.size(), 2);
    EXPECT_GE(positions.front()[0].value<quint32>() + 600, total);
    EXPECT_EQ(positions.back()[0].value<quint32>(), total);

    // What the position poll does at the end of a track with repeat on.
    ASSERT_TRUE(engine->seek(0));
    EXPECT_EQ(status(), 0);
    EXPECT_LT(position(), 100u);
    ASSERT_TRUE(engine->play());
    EXPECT_EQ(status(), 2);
    EXPECT_TRUE(WaitUntil([&] { return position() >= 300 && position() < total; }));
}

TEST_F(EngineTransport, ASilentClipEndsTheSameWay)
{
    openClip(clips.vcdSilent);
    ASSERT_TRUE(engine->seek(length() - 400));
    ASSERT_TRUE(engine->play());
    ASSERT_TRUE(WaitUntil([&] { return status() == 0; }));
    EXPECT_EQ(position(), length());
}

TEST_F(EngineTransport, SeekMovesThePositionAndClampsAtTheLength)
{
    openClip(clips.mp4);
    ASSERT_TRUE(engine->seek(1000));
    EXPECT_EQ(position(), 1000u);
    EXPECT_TRUE(WaitUntil([&] { return position() >= 950 && position() <= 1050; }));
    ASSERT_TRUE(engine->seek(1000000));
    EXPECT_LE(position(), length());
}

// After a seek into a group of pictures, playing goes on through the rest of the group.
TEST_P(EngineOpen, PlaysOnFromASeekWithoutSkipping)
{
    openClip(clips.*GetParam().clip);
    ASSERT_TRUE(engine->seek(100));
    ASSERT_TRUE(WaitUntil([&] { return position() == 100; }));
    ASSERT_TRUE(engine->play());
    uint32_t first = 100;
    ASSERT_TRUE(WaitUntil([&] {
        first = position();
        return first != 100;
    }));
    EXPECT_LT(first, 300u) << "the first picture after the seek target";
}

struct RateCase {
    const char* name;
    int32_t rate;
    uint16_t status;
};

class EngineRate : public EngineTest, public ::testing::WithParamInterface<RateCase> {};

// The position moves the rate's way at roughly the rate's pace.
TEST_P(EngineRate, MovesThePositionAtThePace)
{
    const int32_t wanted = GetParam().rate;
    // With sound: the pictures are timed by it, and a sound server that holds it back after
    // a speed change stalls them too.
    openClip(clips.vcd);
    const uint32_t start = wanted < 0 ? 1900 : 100;
    ASSERT_TRUE(engine->seek(start));
    ASSERT_TRUE(engine->play());
    ASSERT_TRUE(engine->setRate(wanted));
    EXPECT_EQ(status(), GetParam().status);
    EXPECT_EQ(rate(), wanted);

    // Measured from the rate's start over most of the clip: the engine keeps the rate's pace
    // from then on, catching up when a busy machine delays a step.
    QElapsedTimer clock;
    clock.start();
    const uint32_t from = start;
    const uint32_t span = std::min<uint32_t>(std::abs(wanted) * 6 / 10, 1500);
    ASSERT_TRUE(WaitUntil([&] {
        const uint32_t now = position();
        return (wanted > 0 ? now >= from + span : now + span <= from) || status() != GetParam().status;
    }));
    const double moved = double(position()) - double(from);
    const double pace = moved * 1000.0 / std::max<qint64>(clock.elapsed(), 1);
    EXPECT_GT(pace / wanted, 0.5) << "moved " << moved << " ms in " << clock.elapsed() << " ms";
    // Wide, for steps backward land in bursts on a busy machine; half or twice the rate
    // (a slow rate played at normal speed, a rate taken for its neighbour) still fails.
    EXPECT_LT(pace / wanted, 1.9) << "moved " << moved << " ms in " << clock.elapsed() << " ms";
}

INSTANTIATE_TEST_SUITE_P(Rates, EngineRate,
                         ::testing::Values(RateCase{"Fast", 3000, 3}, RateCase{"Slow", 500, 3},
                                           RateCase{"Backward", -1000, 4}, RateCase{"FastBackward", -3000, 4},
                                           RateCase{"SlowBackward", -300, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EngineTransport, RatesWhilePausedAreKeptButDoNotRunAndPlayReturnsToNormal)
{
    openClip(clips.vcd);
    ASSERT_TRUE(engine->play());
    ASSERT_TRUE(engine->pause());
    for (int32_t wanted : {3000, -2000}) {
        ASSERT_TRUE(engine->setRate(wanted));
        EXPECT_EQ(rate(), wanted);
        EXPECT_EQ(status(), 1);
    }
    ASSERT_TRUE(engine->play());
    EXPECT_EQ(rate(), 1000);
    EXPECT_EQ(status(), 2);
}

// The slowest rates the configuration allows run: forward at libmpv's slowest speed, backward
// stepped at the rate itself; getRate answers the rate asked for.
TEST_F(EngineTransport, RatesSlowerThanLibmpvStillRun)
{
    openClip(clips.vcd);
    ASSERT_TRUE(engine->play());
    struct Case {
        int32_t rate;
        uint16_t status;
        double speed;
    };
    for (const Case c : {Case{1, 3, 0.01}, Case{9, 3, 0.01}, Case{10, 3, 0.01}, Case{500, 3, 0.5}, Case{-1, 4, 1.0},
                         Case{-9, 4, 1.0}}) {
        ASSERT_TRUE(engine->setRate(c.rate)) << c.rate;
        EXPECT_EQ(rate(), c.rate);
        EXPECT_EQ(status(), c.status) << c.rate;
        // libmpv takes the speed in its turn: the engine does not wait for it.
        EXPECT_TRUE(WaitUntil([&] { return engine->speedInForce() == c.speed; })) << c.rate;
    }
    ASSERT_TRUE(engine->setRate(1000));
    EXPECT_EQ(status(), 2);
    EXPECT_TRUE(WaitUntil([&] { return engine->speedInForce() == 1.0; }));
}

TEST_F(EngineTransport, RefusedRatesLeaveTheRate)
{
    openClip(clips.vcd);
    ASSERT_TRUE(engine->play());
    ASSERT_TRUE(engine->setRate(2000));
    for (int32_t refused : {0, 100001, -200000})
        EXPECT_FALSE(engine->setRate(refused)) << refused;
    EXPECT_EQ(rate(), 2000);
    EXPECT_EQ(status(), 3);
}

TEST_F(EngineTransport, ANewOpenWithoutCloseClosesTheFirst)
{
    openClip(clips.vcd);
    ASSERT_TRUE(engine->play());
    openClip(clips.mp4);
    EXPECT_EQ(status(), 0);
    EXPECT_EQ(position(), 0u);
    EXPECT_EQ(window->findChildren<QWidget*>(kReelkitPictureName).size(), 1);
}

TEST_F(EngineTransport, WithoutAWindowPlaysWithNoPicture)
{
    openClip(clips.vcd, nullptr);
    EXPECT_EQ(engine->pictureWidget(), nullptr);
    EXPECT_EQ(window->findChild<QWidget*>(kReelkitPictureName), nullptr);
    EXPECT_TRUE(playTo(500));
    EXPECT_EQ(engine->videoOutput(), "null");
}

TEST_F(EngineTransport, AWindowThatIsNoWidgetGetsNoPicture)
{
    ManualClock clock;
    struct Plain : Window {
        explicit Plain(ManualClock& c) : timers_(c) {}
        void post(const Message&) override {}
        TimerHost& timers() override { return timers_; }
        ManualTimers timers_;
    } plain(clock);
    openClip(clips.vcdSilent, &plain);
    EXPECT_EQ(engine->pictureWidget(), nullptr);
    EXPECT_TRUE(playTo(300));
}

TEST_F(EngineTransport, TheWindowGoingAwayTakesThePictureButNotTheEngine)
{
    openClip(clips.vcd);
    window.reset();
    EXPECT_EQ(engine->pictureWidget(), nullptr);
    EXPECT_TRUE(engine->close());
    window = std::make_unique<TestImageWindow>();
    window->resize(320, 240);
    openClip(clips.vcd);
    EXPECT_NE(window->findChild<QWidget*>(kReelkitPictureName), nullptr);
    EXPECT_TRUE(playTo(300));
}

TEST_F(EngineTransport, DeInitClosesAndRefusesAfterwards)
{
    openClip(clips.vcd);
    EXPECT_TRUE(engine->deInit());
    EXPECT_EQ(window->findChild<QWidget*>(kReelkitPictureName), nullptr);
    EXPECT_EQ(OpenAnswer(*engine, window.get(), clips.vcd), 0u);
    EXPECT_TRUE(engine->init(1));
    openClip(clips.vcd);
}

}  // namespace
