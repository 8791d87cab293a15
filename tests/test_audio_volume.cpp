#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/player_records.h"
#include "app/wiring.h"
#include "audio/audio.h"
#include "playback/playback.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/playback_fixture.h"

namespace {
using Channels = std::vector<uint32_t>;

std::string text(const Channels& values)
{
    std::string out;
    for (uint32_t value : values)
        out += (out.empty() ? "" : ",") + std::to_string(value);
    return out;
}

// A mixer whose lines hold what the test puts there. It logs every write as
// "set(line,kind:values)" and refuses the calls named in failing.
class ScriptedMixer : public SonokitMixer {
public:
    struct Control {
        Channels values;
        uint32_t maximum = 0;
        uint32_t minimum = 0;
    };

    ScriptedMixer()
    {
        for (uint32_t line : {0u, 8u}) {
            controls[{line, 0}] = {{0, 0}, 1, 0};
            controls[{line, 1}] = {{32768, 32768}, 65535, 0};
        }
    }

    Control& control(uint32_t line, uint32_t kind) { return controls.at({line, kind}); }

    std::optional<std::vector<uint32_t>> getValue(uint32_t mixer, uint32_t line, uint32_t kind) override
    {
        lines.insert(line);
        if (mixer != 0 || failing.contains("getValue") || !controls.contains({line, kind}))
            return {};
        return controls.at({line, kind}).values;
    }
    bool setValue(uint32_t mixer, uint32_t line, uint32_t kind, const std::vector<uint32_t>& values) override
    {
        lines.insert(line);
        log.push_back("set(" + std::to_string(line) + "," + std::to_string(kind) + ":" + text(values) + ")");
        if (mixer != 0 || failing.contains("setValue") || !controls.contains({line, kind}))
            return false;
        controls.at({line, kind}).values = values;
        return true;
    }
    std::optional<MixerRange> getMaxMinValue(uint32_t mixer, uint32_t line, uint32_t kind) override
    {
        lines.insert(line);
        if (mixer != 0 || failing.contains("getMaxMinValue") || !controls.contains({line, kind}))
            return {};
        return MixerRange{controls.at({line, kind}).maximum, controls.at({line, kind}).minimum};
    }
    std::optional<uint32_t> getControlId(uint32_t, uint32_t line, uint32_t kind) override
    {
        if (kind > 1)
            return {};
        return line * 10 + kind + 1;
    }
    bool hookDevice(Window*, uint32_t) override { return true; }
    bool unHookDevice(Window*, uint32_t) override { return true; }

    std::map<std::pair<uint32_t, uint32_t>, Control> controls;
    std::set<std::string> failing;
    std::vector<std::string> log;
    std::set<uint32_t> lines;  // every line a call named
};

class VolumeTest : public PlaybackTest {
protected:
    VolumeTest()
    {
        auto scripted = std::make_unique<ScriptedMixer>();
        mixer = scripted.get();
        records.components.sonokit = std::move(scripted);
        buttonChecked = [this](CommandId command, bool checked) {
            checks.push_back(std::to_string(CommandNumber(command)) + ":" + std::to_string(checked));
        };
    }

    ScriptedMixer::Control& volume() { return mixer->control(8, 1); }
    ScriptedMixer::Control& mute() { return mixer->control(8, 0); }
    bool repeating() const { return mainTimers.isRunning(main_timer::VolumeRepeat); }

    ScriptedMixer* mixer = nullptr;
    std::vector<std::string> checks;
};

TEST_F(VolumeTest, OneStepMovesEveryChannelWithinTheRange)
{
    struct Case {
        const char* what;
        uint32_t minimum, maximum, levels;
        Channels before;
        bool up;
        Channels after;
    };
    const Case cases[] = {
        {"up a step", 0, 65535, 16, {32768, 32768}, true, {36864, 36864}},
        {"up, capped at the top", 0, 65535, 16, {63000, 65535}, true, {65535, 65535}},
        {"down a step", 0, 65535, 16, {32768, 8192}, false, {28672, 4096}},
        {"down within a step of the bottom", 0, 65535, 16, {3000, 4096}, false, {0, 0}},
        {"down just over a step", 0, 65535, 16, {4097}, false, {1}},
        {"channels apart stay apart", 0, 65535, 16, {1000, 9000, 20000}, true, {5096, 13096, 24096}},
        {"no channel", 0, 65535, 16, {}, true, {}},
        {"a raised bottom", 100, 1099, 10, {250, 200, 150}, false, {150, 100, 100}},
        {"a raised bottom, up", 100, 1099, 10, {1050, 100}, true, {1099, 200}},
        {"the whole 32-bit range", 0, 0xFFFFFFFF, 16, {0xFFFFFFF0, 5}, true, {0xFFFFFFFF, 0x10000005}},
        {"a range not a multiple of the levels", 0, 33, 16, {33, 31}, true, {33, 33}},
    };
    for (const Case& c : cases) {
        records.settings.maxVolumeLevel = c.levels;
        volume() = {c.before, c.maximum, c.minimum};
        EXPECT_TRUE(records.audio.StepVolume(c.up, true)) << c.what;
        EXPECT_EQ(volume().values, c.after) << c.what;
        EXPECT_TRUE(repeating()) << c.what;
        EXPECT_TRUE(records.audio.StepVolume(c.up, false)) << c.what;
        EXPECT_FALSE(repeating()) << c.what;
        EXPECT_EQ(volume().values, c.after) << c.what << ": the release steps nothing";
    }
}

TEST_F(VolumeTest, TheDesktopsShareSetsEveryChannelAndReadsBackAsTheLoudest)
{
    struct Case {
        const char* what;
        uint32_t minimum, maximum;
        Channels before;
        double share;
        bool written;  // the write went out
        Channels after;
        double readBack;
    };
    const Case cases[] = {
        {"a quarter", 0, 65536, {65536, 1000}, 0.25, true, {16384, 16384}, 0.25},
        {"below nothing is nothing", 0, 65536, {500}, -3.0, true, {0}, 0.0},
        {"above everything is all", 0, 65536, {500, 500}, 7.5, true, {65536, 65536}, 1.0},
        {"a raised bottom", 100, 1100, {100}, 0.5, true, {600}, 0.5},
        {"the whole 32-bit range", 0, 0xFFFFFFFF, {0, 0}, 1.0, true, {0xFFFFFFFF, 0xFFFFFFFF}, 1.0},
        {"not a number is refused", 0, 65536, {32768, 0}, std::nan(""), false, {32768, 0}, 0.5},
    };
    for (const Case& c : cases) {
        volume() = {c.before, c.maximum, c.minimum};
        EXPECT_EQ(records.audio.SetVolumeShare(c.share), c.written) << c.what;
        EXPECT_EQ(volume().values, c.after) << c.what;
        EXPECT_DOUBLE_EQ(records.audio.ReadVolumeShare().value_or(-1), c.readBack) << c.what;
    }
    mixer->failing.insert("getValue");
    EXPECT_FALSE(records.audio.SetVolumeShare(0.5));
    EXPECT_FALSE(records.audio.ReadVolumeShare());
}

TEST_F(VolumeTest, CommandThirtyTwoRaisesAndThirtyOneLowersAndNeitherActsOnAClick)
{
    volume().values = {40000, 40000};
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::VolumeDown, CommandPhase::Press));
    EXPECT_TRUE(records.state.volumeHeldUp);
    EXPECT_EQ(volume().values, (Channels{44096, 44096}));
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::VolumeDown, CommandPhase::Release));

    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::VolumeUp, CommandPhase::Press));
    EXPECT_FALSE(records.state.volumeHeldUp);
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::VolumeUp, CommandPhase::Release));
    EXPECT_EQ(volume().values, (Channels{40000, 40000}));

    mixer->log.clear();
    EXPECT_FALSE(records.playback.DispatchCommand(CommandId::VolumeUp, CommandPhase::Click));
    EXPECT_FALSE(records.playback.DispatchCommand(CommandId::VolumeDown, CommandPhase::Click));
    EXPECT_TRUE(mixer->log.empty());
    EXPECT_EQ(volume().values, (Channels{40000, 40000}));
    EXPECT_FALSE(repeating());
}

TEST_F(VolumeTest, HoldingStepsAtThePressAndOncePerIntervalUntilTheRelease)
{
    records.settings.volumeInterval = 100;
    volume().values = {20000, 10000};
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::VolumeUp, CommandPhase::Press));
    EXPECT_EQ(mainTimers.period(main_timer::VolumeRepeat), 100u);

    struct Tick {
        uint64_t advance;
        Channels values;
    };
    // One step at the press, the first repeat one interval later, never below the bottom.
    const Tick ticks[] = {
        {0, {15904, 5904}}, {99, {15904, 5904}}, {1, {11808, 1808}}, {100, {7712, 0}},
        {100, {3616, 0}},   {100, {0, 0}},       {250, {0, 0}},
    };
    for (const Tick& tick : ticks) {
        clock.advance(tick.advance);
        EXPECT_EQ(volume().values, tick.values) << "at " << clock.now() << " ms";
    }
    EXPECT_TRUE(repeating()) << "the repeat runs until the release, even at the bottom";

    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::VolumeUp, CommandPhase::Release));
    EXPECT_FALSE(repeating());
    volume().values = {30000, 30000};
    clock.advance(1000);
    EXPECT_EQ(volume().values, (Channels{30000, 30000}));
}

TEST_F(VolumeTest, HoldingUpRepeatsUpward)
{
    records.settings.volumeInterval = 50;
    volume().values = {60000};
    ASSERT_TRUE(records.playback.DispatchCommand(CommandId::VolumeDown, CommandPhase::Press));
    clock.advance(50);
    EXPECT_EQ(volume().values, (Channels{65535}));
    clock.advance(50);
    EXPECT_EQ(volume().values, (Channels{65535}));
    EXPECT_EQ(mixer->log.size(), 3u);
}

TEST_F(VolumeTest, AFailedStepDoesNothingAndEndsTheRepeat)
{
    for (const char* call : {"getMaxMinValue", "getValue", "setValue"}) {
        volume().values = {30000, 30000};
        ASSERT_TRUE(records.audio.StepVolume(true, true));
        ASSERT_TRUE(repeating());
        mixer->failing = {call};
        clock.advance(records.settings.volumeInterval);
        EXPECT_FALSE(repeating()) << call;
        EXPECT_FALSE(records.audio.StepVolume(true, true)) << call;
        EXPECT_FALSE(repeating()) << call;
        EXPECT_EQ(volume().values, (Channels{34096, 34096})) << call;
        mixer->failing.clear();
    }
}

TEST_F(VolumeTest, MoreLevelsThanValuesTakesNoStepAndShowsLevelZero)
{
    records.settings.maxVolumeLevel = 70000;
    volume().values = {30000, 65535};
    EXPECT_FALSE(records.audio.StepVolume(true, true));
    EXPECT_FALSE(records.audio.StepVolume(false, true));
    EXPECT_FALSE(repeating());
    EXPECT_TRUE(mixer->log.empty());
    EXPECT_EQ(volume().values, (Channels{30000, 65535}));

    records.state.volumeLeft = records.state.volumeRight = 9;
    EXPECT_TRUE(records.audio.ReadVolumeLevel(false));
    EXPECT_EQ(records.state.volumeLeft, 0u);
    EXPECT_EQ(records.state.volumeRight, 0u);
}

TEST_F(VolumeTest, TheLineIsTheDefaultDeviceOnlyWithControlMasterVolume)
{
    for (uint32_t master : {0u, 1u, 7u}) {
        records.settings.controlMasterVolume = master;
        mixer->lines.clear();
        records.audio.StepVolume(true, true);
        records.audio.StepVolume(true, false);
        records.audio.ToggleMute();
        records.audio.ReadMuteState(false);
        records.audio.ReadVolumeLevel(false);
        EXPECT_EQ(mixer->lines, (std::set<uint32_t>{master ? 0u : 8u})) << master;
    }
}

TEST_F(VolumeTest, ToggleMuteInvertsEachChannelAndRepaintsNothing)
{
    struct Case {
        Channels before;
        Channels after;
    };
    const Case cases[] = {
        {{0}, {1}}, {{1}, {0}}, {{0, 0}, {1, 1}}, {{1, 0}, {0, 1}}, {{0, 5, 1}, {1, 0, 0}}, {{}, {}},
    };
    for (const Case& c : cases) {
        mute().values = c.before;
        EXPECT_TRUE(records.audio.ToggleMute()) << text(c.before);
        EXPECT_EQ(mute().values, c.after) << text(c.before);
    }
    EXPECT_TRUE(panel.refreshes.empty());
    EXPECT_TRUE(checks.empty());

    EXPECT_FALSE(records.playback.DispatchCommand(CommandId::MuteUnMute, CommandPhase::Press));
    EXPECT_EQ(mute().values, Channels{});
}

TEST_F(VolumeTest, ToggleMuteAnswersFalseWhenTheMixerRefuses)
{
    mute().values = {0, 0};
    mixer->failing = {"getValue"};
    EXPECT_FALSE(records.audio.ToggleMute());
    EXPECT_TRUE(mixer->log.empty()) << "nothing is written without a read";

    mixer->failing = {"setValue"};
    EXPECT_FALSE(records.audio.ToggleMute());
    EXPECT_EQ(mute().values, (Channels{0, 0}));
}

TEST_F(VolumeTest, ReadMuteStateKeepsTheLastChannelAndAlwaysSetsTheButton)
{
    struct Case {
        Channels values;
        bool repaint;
        bool muted;
    };
    records.state.muted = true;
    // No channel leaves the state as it was.
    const Case cases[] = {
        {{}, false, true},   {{0, 1}, false, true},    {{1, 0}, true, false},
        {{1}, true, true},   {{0, 0, 0}, false, false}, {{}, true, false},
    };
    for (const Case& c : cases) {
        mute().values = c.values;
        panel.refreshes.clear();
        checks.clear();
        EXPECT_TRUE(records.audio.ReadMuteState(c.repaint)) << text(c.values);
        EXPECT_EQ(records.state.muted, c.muted) << text(c.values);
        EXPECT_EQ(panel.refreshes, c.repaint ? std::vector<std::string>{"Mute(0)"} : std::vector<std::string>{})
            << text(c.values);
        EXPECT_EQ(checks, std::vector<std::string>{"30:" + std::to_string(c.muted)}) << text(c.values);
    }

    mixer->failing = {"getValue"};
    panel.refreshes.clear();
    checks.clear();
    EXPECT_FALSE(records.audio.ReadMuteState(true));
    EXPECT_FALSE(records.state.muted);
    EXPECT_TRUE(panel.refreshes.empty());
    EXPECT_TRUE(checks.empty());
}

TEST_F(VolumeTest, ReadVolumeLevelShowsEachChannelInDisplaySteps)
{
    struct Case {
        uint32_t minimum, maximum, levels;
        Channels values;
        uint32_t left, right;
    };
    const Case cases[] = {
        {0, 65535, 16, {65535, 0}, 16, 0},
        {0, 65535, 16, {32768, 32767}, 8, 8},
        {0, 65535, 16, {4095, 4096}, 1, 1},
        {0, 65535, 16, {20000}, 4, 4},
        {0, 65535, 16, {}, 0, 0},
        {0, 65535, 16, {65535, 32768, 0}, 16, 8},
        {0, 65535, 8, {65535, 8191}, 8, 1},
        {0, 33, 16, {33, 0}, 17, 0},
        {100, 1099, 10, {1099, 100}, 10, 0},
        {100, 1099, 10, {50, 199}, 0, 1},
    };
    for (const Case& c : cases) {
        records.settings.maxVolumeLevel = c.levels;
        volume() = {c.values, c.maximum, c.minimum};
        panel.refreshes.clear();
        EXPECT_TRUE(records.audio.ReadVolumeLevel(true)) << text(c.values);
        EXPECT_EQ(records.state.volumeLeft, c.left) << text(c.values);
        EXPECT_EQ(records.state.volumeRight, c.right) << text(c.values);
        EXPECT_EQ(panel.refreshes, std::vector<std::string>{"Volume(0)"});
    }

    records.state.volumeLeft = 10;
    for (const char* call : {"getMaxMinValue", "getValue"}) {
        mixer->failing = {call};
        panel.refreshes.clear();
        EXPECT_FALSE(records.audio.ReadVolumeLevel(true)) << call;
        EXPECT_EQ(records.state.volumeLeft, 10u) << call << ": a failed read keeps the levels";
        EXPECT_TRUE(panel.refreshes.empty()) << call;
    }
}

TEST_F(VolumeTest, TheMixersNoticeRereadsOnlyTheControlItNames)
{
    struct Case {
        uint32_t master;
        intptr_t control;
        std::vector<std::string> refreshes;
    };
    // The scripted mixer numbers its controls line * 10 + kind + 1.
    const Case cases[] = {
        {0, 81, {"Mute(0)"}}, {0, 82, {"Volume(0)"}}, {0, 1, {}},  {0, 2, {}}, {0, 83, {}},
        {1, 1, {"Mute(0)"}},  {1, 2, {"Volume(0)"}},  {1, 81, {}}, {1, 0, {}},
    };
    mute().values = {1};
    mixer->control(0, 0).values = {1};
    volume().values = {65535, 65535};
    mixer->control(0, 1).values = {65535, 65535};
    for (const Case& c : cases) {
        records.settings.controlMasterVolume = c.master;
        records.state = PlayerState{};
        panel.refreshes.clear();
        mainWindow->handle({msg::MixerControlChange, 0, c.control});
        EXPECT_EQ(panel.refreshes, c.refreshes) << c.master << "/" << c.control;
        const bool muteRead = !c.refreshes.empty() && c.refreshes[0] == "Mute(0)";
        const bool volumeRead = !c.refreshes.empty() && c.refreshes[0] == "Volume(0)";
        EXPECT_EQ(records.state.muted, muteRead) << c.master << "/" << c.control;
        EXPECT_EQ(records.state.volumeLeft, volumeRead ? 16u : 0u) << c.master << "/" << c.control;
    }
}

TEST_F(VolumeTest, TheStartUpReadsSetTheButtonWithoutRepainting)
{
    mute().values = {1, 1};
    volume().values = {65535, 16384};
    mainWindow->parts().readMuteState(false);
    mainWindow->parts().readVolumeLevel(false);
    EXPECT_TRUE(records.state.muted);
    EXPECT_EQ(records.state.volumeLeft, 16u);
    EXPECT_EQ(records.state.volumeRight, 4u);
    EXPECT_TRUE(panel.refreshes.empty());
    EXPECT_EQ(checks, std::vector<std::string>{"30:1"});
}
}  // namespace
