// The mixer when its sound server is missing, dies or comes back. Each test runs a server of
// its own, so that the one the other tests share is never disturbed.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "components/sonokit/pulse_mixer.h"
#include "tests/support/manual_timers.h"
#include "tests/support/private_services.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"

namespace {
constexpr int kServerWait = 10000;

bool AnyNotice(const RecordingWindow& window)
{
    for (const Message& message : window.posted) {
        if (message.id == msg::MixerControlChange)
            return true;
    }
    return false;
}

// Whether the window heard of the default device's mute and then of its volume, as a
// reconnection reports them; nothing else here changes the mute.
bool ReportedDevice(const RecordingWindow& window)
{
    const auto mute = std::ranges::find(window.posted, Message{msg::MixerControlChange, 0, 1});
    return mute != window.posted.end() &&
           std::find(mute, window.posted.end(), Message{msg::MixerControlChange, 0, 2}) != window.posted.end();
}

// Every call a player makes, each answering whether it went through.
std::vector<bool> EveryCall(PulseMixer& mixer)
{
    return {mixer.getValue(0, 0, 1).has_value(),       mixer.getValue(0, 8, 0).has_value(),
            mixer.setValue(0, 0, 0, {1}),               mixer.setValue(0, 8, 1, {100, 100}),
            mixer.getMaxMinValue(0, 0, 1).has_value(), mixer.getControlId(0, 8, 1).has_value()};
}

// A running private server, a mixer speaking to it, and a window hooked to the mixer's news.
struct HookedMixer {
    explicit HookedMixer(QStringList sinks = {"private_null"}) : server(folder, std::move(sinks))
    {
        EXPECT_TRUE(server.start());
    }
    bool hook() { return QTest::qWaitFor([&] { return mixer.hookDevice(&window, 0); }, kServerWait); }

    TempDir folder;
    PrivateSoundServer server;
    PulseMixer mixer{msg::MixerControlChange, server.address()};
    ManualClock clock;
    RecordingWindow window{clock};
};

TEST(SonokitServer, WithoutAServerEveryCallFails)
{
    TempDir folder;
    PulseMixer mixer(msg::MixerControlChange, "unix:" + folder.file("nobody-listens"));
    ManualClock clock;
    RecordingWindow window(clock);
    EXPECT_FALSE(mixer.hookDevice(&window, 0));
    EXPECT_EQ(EveryCall(mixer), std::vector<bool>(6, false));
    EXPECT_TRUE(mixer.unHookDevice(&window, 0));
    EXPECT_TRUE(window.posted.empty());
}

TEST(SonokitServer, AServerThatDiesMakesCallsFailAndItsReturnBringsThemBack)
{
    HookedMixer hooked;
    auto& [folder, server, mixer, clock, window] = hooked;
    ASSERT_TRUE(hooked.hook());
    ASSERT_TRUE(mixer.setValue(0, 0, 1, {30000, 30000}));
    ASSERT_TRUE(mixer.setValue(0, 8, 1, {20000, 20000}));

    server.kill();
    EXPECT_EQ(EveryCall(mixer), std::vector<bool>(6, false));

    // Back again: the calls reconnect, the own stream's values were kept, and the server's
    // news reach the window again.
    ASSERT_TRUE(server.start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return mixer.getValue(0, 0, 1).has_value(); }, kServerWait));
    EXPECT_EQ(mixer.getValue(0, 0, 1), (std::vector<uint32_t>{65535, 65535})) << "a new server starts at full volume";
    EXPECT_EQ(mixer.getValue(0, 8, 1), (std::vector<uint32_t>{20000, 20000}));
    // The reconnection reports the device as changed; then the server's own news follow.
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReportedDevice(window); }, kServerWait));
    window.posted.clear();
    ASSERT_TRUE(server.pactl({"set-sink-volume", "@DEFAULT_SINK@", "1000"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return AnyNotice(window); }, kServerWait));
    EXPECT_EQ(window.posted, (std::vector<Message>{{msg::MixerControlChange, 0, 2}}));
    EXPECT_EQ(mixer.getValue(0, 0, 1), (std::vector<uint32_t>{1000, 1000}));
    EXPECT_TRUE(mixer.unHookDevice(&window, 0));
}

TEST(SonokitServer, AHookedWindowHearsOfTheServerAgainWithoutAnyCall)
{
    HookedMixer hooked;
    auto& [folder, server, mixer, clock, window] = hooked;
    ASSERT_TRUE(hooked.hook());
    QSignalSpy back(&mixer, &PulseMixer::serverBack);

    server.kill();
    ASSERT_TRUE(server.start());
    // The line's device counts as changed when the server is back, and the engine is told.
    ASSERT_TRUE(QTest::qWaitFor([&] { return AnyNotice(window); }, kServerWait));
    EXPECT_EQ(window.posted[0], (Message{msg::MixerControlChange, 0, 1}));
    EXPECT_EQ(window.posted[1], (Message{msg::MixerControlChange, 0, 2}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return back.count() == 1; }, kServerWait)) << "the first connection was no return";

    // Once unhooked, a window hears nothing more; the news go to the window hooked now.
    RecordingWindow other(clock);
    EXPECT_TRUE(mixer.unHookDevice(&window, 0));
    EXPECT_FALSE(mixer.unHookDevice(&window, 0)) << "it is no longer hooked";
    EXPECT_TRUE(mixer.hookDevice(&other, 0));
    window.posted.clear();
    ASSERT_TRUE(server.pactl({"set-sink-mute", "@DEFAULT_SINK@", "1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return AnyNotice(other); }, kServerWait));
    EXPECT_EQ(other.posted, (std::vector<Message>{{msg::MixerControlChange, 0, 1}}));
    EXPECT_TRUE(window.posted.empty());
    EXPECT_TRUE(mixer.unHookDevice(&other, 0));
}

TEST(SonokitServer, TheReattachReconnectsAfterTheServerCameBack)
{
    HookedMixer hooked;
    auto& [folder, server, mixer, clock, window] = hooked;
    ASSERT_TRUE(hooked.hook());
    server.kill();
    ASSERT_FALSE(mixer.getValue(0, 0, 1));
    ASSERT_TRUE(server.start());
    // Detach and attach again, as the main window does a second after a device change.
    mixer.unHookDevice(&window, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return mixer.hookDevice(&window, 0); }, kServerWait));
    window.posted.clear();
    ASSERT_TRUE(server.pactl({"set-sink-mute", "@DEFAULT_SINK@", "1"}));
    // The news of the new connection (the line's mute, then its volume) may come first.
    const Message muteChanged{msg::MixerControlChange, 0, 1};
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return std::find(window.posted.begin(), window.posted.end(), muteChanged) != window.posted.end(); },
        kServerWait));
    EXPECT_EQ(mixer.getValue(0, 0, 0), std::vector<uint32_t>{1});
}
TEST(SonokitServer, AnotherDefaultDeviceCountsAsAChangeOfTheDeviceLine)
{
    HookedMixer hooked({"first", "second"});
    auto& [folder, server, mixer, clock, window] = hooked;
    ASSERT_TRUE(hooked.hook());
    ASSERT_TRUE(server.pactl({"set-default-sink", "first"}));
    ASSERT_TRUE(server.pactl({"set-sink-volume", "second", "16384", "8192"}));
    // Once the default device's own change is heard, the mixer knows which device that is.
    ASSERT_TRUE(server.pactl({"set-sink-volume", "first", "30000"}));
    const Message volumeNotice{msg::MixerControlChange, 0, 2};
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::ranges::count(window.posted, volumeNotice) > 0; }, kServerWait));
    window.posted.clear();

    ASSERT_TRUE(server.pactl({"set-default-sink", "second"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ReportedDevice(window); }, kServerWait));
    EXPECT_EQ(mixer.getValue(0, 0, 1), (std::vector<uint32_t>{16384, 8192}));

    // A device that is no longer the default one changes the line no more; notices keep
    // their order, so the one for the default device comes after any for the other.
    window.posted.clear();
    ASSERT_TRUE(server.pactl({"set-sink-volume", "first", "5000"}));
    ASSERT_TRUE(server.pactl({"set-sink-mute", "second", "1"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return AnyNotice(window); }, kServerWait));
    EXPECT_EQ(window.posted, (std::vector<Message>{{msg::MixerControlChange, 0, 1}}));
    EXPECT_TRUE(mixer.unHookDevice(&window, 0));
}
}  // namespace
