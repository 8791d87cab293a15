// The mixer against the sound server that test.sh starts, with a null sink as its default device.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <pulse/simple.h>

#include <unistd.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "app/wiring.h"
#include "audio/audio.h"
#include "components/sonokit/pulse_mixer.h"
#include "playback/playback.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/playback_fixture.h"

namespace {
using Channels = std::vector<uint32_t>;
constexpr int kNoticeWait = 5000;

// pactl's standard output; fails the test when pactl does not finish well.
std::string Pactl(const QStringList& arguments)
{
    QProcess pactl;
    pactl.start("pactl", arguments);
    EXPECT_TRUE(pactl.waitForFinished(10000)) << arguments.join(' ').toStdString();
    EXPECT_EQ(pactl.exitCode(), 0) << arguments.join(' ').toStdString() << ": "
                                   << pactl.readAllStandardError().toStdString();
    return pactl.readAllStandardOutput().toStdString();
}

// The default device's raw server volumes per channel, as pactl reports them.
Channels DeviceVolumes()
{
    const QString text = QString::fromStdString(Pactl({"get-sink-volume", "@DEFAULT_SINK@"}));
    Channels volumes;
    static const QRegularExpression channel(R"([a-z-]+: (\d+) /)");
    for (const auto& match : channel.globalMatch(text.section('\n', 0, 0)))
        volumes.push_back(match.captured(1).toUInt());
    return volumes;
}

bool DeviceMuted()
{
    return Pactl({"get-sink-mute", "@DEFAULT_SINK@"}).find("yes") != std::string::npos;
}

void SetDevice(const Channels& volumes, bool mute)
{
    QStringList arguments{"set-sink-volume", "@DEFAULT_SINK@"};
    for (uint32_t volume : volumes)
        arguments << QString::number(volume);
    Pactl(arguments);
    Pactl({"set-sink-mute", "@DEFAULT_SINK@", mute ? "1" : "0"});
}

// The streams of this process as the server lists them.
struct ServerStream {
    uint32_t index = 0;
    Channels volumes;
    bool mute = false;
};

std::vector<ServerStream> OwnServerStreams()
{
    const QJsonArray inputs =
        QJsonDocument::fromJson(QByteArray::fromStdString(Pactl({"-f", "json", "list", "sink-inputs"}))).array();
    std::vector<ServerStream> streams;
    for (const QJsonValue& input : inputs) {
        const QJsonObject object = input.toObject();
        if (object["properties"].toObject()["application.process.id"].toString() != QString::number(::getpid()))
            continue;
        ServerStream stream;
        stream.index = object["index"].toInt();
        stream.mute = object["mute"].toBool();
        for (const QString& name : object["channel_map"].toString().split(','))
            stream.volumes.push_back(object["volume"].toObject()[name].toObject()["value"].toInt());
        streams.push_back(stream);
    }
    return streams;
}

// A stereo stream of this process playing into the default device, as the engine's would.
class OwnStream {
public:
    OwnStream()
    {
        const pa_sample_spec format{PA_SAMPLE_S16LE, 44100, 2};
        int error = 0;
        stream_ = pa_simple_new(nullptr, "Quintara tests", PA_STREAM_PLAYBACK, nullptr, "tone", &format, nullptr,
                                nullptr, &error);
        EXPECT_NE(stream_, nullptr) << "no stream: error " << error;
    }
    ~OwnStream()
    {
        if (stream_)
            pa_simple_free(stream_);
    }
    OwnStream(const OwnStream&) = delete;
    OwnStream& operator=(const OwnStream&) = delete;

private:
    pa_simple* stream_ = nullptr;
};

class PulseMixerTest : public PlaybackTest {
protected:
    PulseMixerTest()
    {
        SetDevice({32768, 32768}, false);
        auto pulse = std::make_unique<PulseMixer>(msg::MixerControlChange);
        mixer = pulse.get();
        records.components.sonokit = std::move(pulse);
        buttonChecked = [this](CommandId command, bool checked) {
            checks.push_back(std::to_string(CommandNumber(command)) + ":" + std::to_string(checked));
        };
        EXPECT_TRUE(mixer->hookDevice(mainWindow.get(), 0)) << "no sound server: run the tests with test.sh";
    }
    ~PulseMixerTest() override { mixer->unHookDevice(mainWindow.get(), 0); }

    void useLine(uint32_t line) { records.settings.controlMasterVolume = line == 0 ? 1 : 0; }

    // Runs the main window's messages until a notice for that control has been handled.
    bool handleNoticeOf(uint32_t line, uint32_t kind)
    {
        const intptr_t id = sonokit::ControlId(line, kind);
        const bool seen = QTest::qWaitFor(
            [&] {
                for (const Message& message : mainQueue.take()) {
                    mainWindow->handle(message);
                    if (message.id == msg::MixerControlChange)
                        noticed.insert(message.lParam);
                }
                return noticed.contains(id);
            },
            kNoticeWait);
        if (seen)
            noticed.erase(noticed.find(id));
        return seen;
    }

    Channels mixerValues(uint32_t line, uint32_t kind)
    {
        const std::optional<Channels> values = mixer->getValue(0, line, kind);
        EXPECT_TRUE(values);
        return values.value_or(Channels{});
    }

    PulseMixer* mixer = nullptr;
    std::vector<std::string> checks;
    std::multiset<intptr_t> noticed;  // notices handled and not yet asked for
};

TEST_F(PulseMixerTest, TheDefaultDeviceHasOneMuteChannelAndAVolumePerChannelOnTheFullRange)
{
    useLine(0);
    const std::optional<MixerRange> volume = mixer->getMaxMinValue(0, 0, 1);
    ASSERT_TRUE(volume);
    EXPECT_EQ(volume->maximum, 65535u);
    EXPECT_EQ(volume->minimum, 0u);
    const std::optional<MixerRange> mute = mixer->getMaxMinValue(0, 0, 0);
    ASSERT_TRUE(mute);
    EXPECT_EQ(mute->maximum, 1u);
    EXPECT_EQ(mixerValues(0, 1), (Channels{32768, 32768}));
    EXPECT_EQ(mixerValues(0, 0), (Channels{0}));

    SetDevice({10000, 50000}, true);
    EXPECT_EQ(mixerValues(0, 1), (Channels{10000, 50000})) << "left and right are kept apart";
    EXPECT_EQ(mixerValues(0, 0), (Channels{1}));

    for (uint32_t line : {1u, 7u, 9u}) {
        EXPECT_FALSE(mixer->getValue(0, line, 1)) << line;
        EXPECT_FALSE(mixer->getControlId(0, line, 0)) << line;
    }
    EXPECT_FALSE(mixer->getValue(1, 0, 1)) << "there is one mixer";
    EXPECT_FALSE(mixer->getValue(0, 0, 2)) << "there are two kinds of control";
    EXPECT_FALSE(mixer->setValue(0, 0, 1, {1, 2, 3})) << "three values for two channels";
    EXPECT_FALSE(mixer->setValue(0, 0, 0, {1, 1})) << "two values for the one mute channel";
    EXPECT_EQ(DeviceVolumes(), (Channels{10000, 50000}));
}

TEST_F(PulseMixerTest, AStepMovesEveryChannelOfTheDeviceByOneStepAndNeverPastTheRange)
{
    useLine(0);
    struct Case {
        Channels before;
        bool up;
        Channels after;  // as the server reports them; its full volume is 65536
    };
    const Case cases[] = {
        {{30000, 10000}, true, {34096, 14096}},   {{34096, 14096}, false, {30000, 10000}},
        {{62000, 65536}, true, {65536, 65536}},   {{3000, 4096}, false, {0, 0}},
        {{0, 0}, false, {0, 0}},                  {{65536, 98304}, true, {65536, 65536}},
    };
    for (const Case& c : cases) {
        SetDevice(c.before, false);
        EXPECT_TRUE(records.audio.StepVolume(c.up, true));
        EXPECT_TRUE(records.audio.StepVolume(c.up, false));
        EXPECT_EQ(DeviceVolumes(), c.after) << (c.up ? "up from " : "down from ") << c.before[0];
    }
}

TEST_F(PulseMixerTest, HoldingStepsAtThePressAndOncePerVolumeIntervalUntilTheRelease)
{
    useLine(0);
    records.settings.volumeInterval = 100;
    SetDevice({10000, 20000}, false);
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::VolumeDown, CommandPhase::Press));
    EXPECT_EQ(DeviceVolumes(), (Channels{14096, 24096}));
    clock.advance(99);
    EXPECT_EQ(DeviceVolumes(), (Channels{14096, 24096}));
    clock.advance(1);
    EXPECT_EQ(DeviceVolumes(), (Channels{18192, 28192}));
    clock.advance(200);
    EXPECT_EQ(DeviceVolumes(), (Channels{26384, 36384}));
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::VolumeDown, CommandPhase::Release));
    clock.advance(1000);
    EXPECT_EQ(DeviceVolumes(), (Channels{26384, 36384}));
}

TEST_F(PulseMixerTest, MuteTogglesAndTheButtonAndTheLedFollowTheNotice)
{
    useLine(0);
    ASSERT_TRUE(records.audio.ToggleMute());
    EXPECT_TRUE(DeviceMuted());
    ASSERT_TRUE(handleNoticeOf(0, 0));
    EXPECT_TRUE(records.state.muted);
    EXPECT_EQ(panel.count("Mute(0)"), 1);
    EXPECT_EQ(checks.back(), "30:1");

    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::MuteUnMute, CommandPhase::Click));
    EXPECT_FALSE(DeviceMuted());
    ASSERT_TRUE(handleNoticeOf(0, 0));
    EXPECT_FALSE(records.state.muted);
    EXPECT_EQ(checks.back(), "30:0");
}

TEST_F(PulseMixerTest, AChangeMadeByAnotherProgramReachesThePlayerAndTheLedFollows)
{
    useLine(0);
    SetDevice({16384, 65536}, false);
    ASSERT_TRUE(handleNoticeOf(0, 1));
    EXPECT_EQ(records.state.volumeLeft, 4u);
    EXPECT_EQ(records.state.volumeRight, 16u);
    EXPECT_EQ(panel.count("Volume(0)"), 1);
    EXPECT_EQ(panel.count("Mute(0)"), 0) << "the mute control did not change";

    Pactl({"set-sink-mute", "@DEFAULT_SINK@", "1"});
    ASSERT_TRUE(handleNoticeOf(0, 0));
    EXPECT_TRUE(records.state.muted);
    EXPECT_EQ(checks.back(), "30:1");

    // The player's own step reaches it the same way.
    ASSERT_TRUE(records.audio.StepVolume(false, true));
    records.audio.StepVolume(false, false);
    ASSERT_TRUE(handleNoticeOf(0, 1));
    EXPECT_EQ(records.state.volumeLeft, 3u);
    EXPECT_EQ(records.state.volumeRight, 15u);
}

TEST_F(PulseMixerTest, TheOwnStreamKeepsValuesSetBeforeItExistsAndGetsThemWhenItAppears)
{
    useLine(8);
    ASSERT_TRUE(OwnServerStreams().empty());
    EXPECT_EQ(mixerValues(8, 1), (Channels{65535, 65535}));
    EXPECT_EQ(mixerValues(8, 0), (Channels{0}));

    ASSERT_TRUE(mixer->setValue(0, 8, 1, {20000, 30000}));
    ASSERT_TRUE(records.audio.ToggleMute());
    EXPECT_EQ(mixerValues(8, 1), (Channels{20000, 30000}));
    EXPECT_EQ(mixerValues(8, 0), (Channels{1}));
    ASSERT_TRUE(handleNoticeOf(8, 1));
    ASSERT_TRUE(handleNoticeOf(8, 0));
    EXPECT_EQ(records.state.volumeLeft, 4u);
    EXPECT_EQ(records.state.volumeRight, 7u);
    EXPECT_TRUE(records.state.muted);
    EXPECT_EQ(DeviceVolumes(), (Channels{32768, 32768})) << "the device is not the player's line";

    auto stream = std::make_unique<OwnStream>();
    const bool given = QTest::qWaitFor(
        [] {
            const auto streams = OwnServerStreams();
            return streams.size() == 1 && streams[0].volumes == Channels{20000, 30000} && streams[0].mute;
        },
        kNoticeWait);
    ASSERT_TRUE(given) << "the stream did not get the kept values";

    // From now on the line is the stream, whoever changes it.
    const uint32_t index = OwnServerStreams()[0].index;
    Pactl({"set-sink-input-volume", QString::number(index), "40000"});
    ASSERT_TRUE(handleNoticeOf(8, 1));
    EXPECT_EQ(mixerValues(8, 1), (Channels{40000, 40000}));
    EXPECT_EQ(records.state.volumeLeft, 9u);

    ASSERT_TRUE(records.audio.StepVolume(true, true));
    records.audio.StepVolume(true, false);
    EXPECT_EQ(OwnServerStreams()[0].volumes, (Channels{44096, 44096}));
    ASSERT_TRUE(records.audio.ToggleMute());
    EXPECT_FALSE(OwnServerStreams()[0].mute);

    // When the stream ends the line keeps its values, and the next stream gets them.
    ASSERT_TRUE(handleNoticeOf(8, 0));
    stream.reset();
    ASSERT_TRUE(QTest::qWaitFor([] { return OwnServerStreams().empty(); }, kNoticeWait));
    EXPECT_EQ(mixerValues(8, 1), (Channels{44096, 44096}));
    EXPECT_EQ(mixerValues(8, 0), (Channels{0}));
    stream = std::make_unique<OwnStream>();
    EXPECT_TRUE(QTest::qWaitFor(
        [] {
            const auto streams = OwnServerStreams();
            return streams.size() == 1 && streams[0].volumes == Channels{44096, 44096} && !streams[0].mute;
        },
        kNoticeWait));
}

TEST_F(PulseMixerTest, AStreamThatAppearsFirstLendsTheLineItsValues)
{
    useLine(8);
    OwnStream stream;
    ASSERT_TRUE(QTest::qWaitFor([] { return OwnServerStreams().size() == 1; }, kNoticeWait));
    const uint32_t index = OwnServerStreams()[0].index;
    Pactl({"set-sink-input-volume", QString::number(index), "12288", "24576"});
    ASSERT_TRUE(handleNoticeOf(8, 1));
    EXPECT_EQ(mixerValues(8, 1), (Channels{12288, 24576}));
    EXPECT_EQ(records.state.volumeLeft, 3u);
    EXPECT_EQ(records.state.volumeRight, 6u);
    Pactl({"set-sink-input-mute", QString::number(index), "1"});
    ASSERT_TRUE(handleNoticeOf(8, 0));
    EXPECT_TRUE(records.state.muted);
}
}  // namespace
