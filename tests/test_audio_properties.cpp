#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "app/wiring.h"
#include "audio/audio.h"
#include "playback/playback.h"
#include "tests/support/playback_fixture.h"

namespace {
// An engine that gives its own value instead of some asked ones, as a decoder may.
class SubstitutingEngine : public ScriptedEngine {
public:
    uint32_t asked = 0, given = 0;
    bool setAudioProperties(Window* panel, const AudioWish& wish) override
    {
        const bool result = ScriptedEngine::setAudioProperties(panel, wish);
        if (wish.soundQuality == asked)
            soundQuality = given;
        return result;
    }
};

class AudioPropertiesTest : public PlaybackTest {
protected:
    AudioPropertiesTest()
    {
        PlayerState& s = records.state;
        s.shownSoundQuality = 4;
        s.shownAudioChannel = 3;
        s.shownSoundChannel = 2;
    }

    // A file with sound open, nothing asked of the engine yet.
    void openFile()
    {
        loadTracks(2, 1, 0);
    }

    void useEngine(std::unique_ptr<ScriptedEngine> replacement)
    {
        engine = replacement.get();
        records.components.reelkit = std::move(replacement);
    }
};

struct Setting {
    const char* name;
    bool (Audio::*cycle)();
    uint32_t PlayerState::*wanted;
    uint32_t PlayerState::*shown;
    uint32_t marker;
    const char* refresh;
    // The engine's argument text for a value of this setting alone.
    std::string asked(uint32_t value) const
    {
        const std::string v = std::to_string(value);
        if (marker == 4)
            return "setAudioProperties(" + v + ",-,-)";
        if (marker == 3)
            return "setAudioProperties(-," + v + ",-)";
        return "setAudioProperties(-,-," + v + ")";
    }
};

const Setting kSettings[] = {
    {"Sound Quality", &Audio::CycleSoundQuality, &PlayerState::wantedSoundQuality, &PlayerState::shownSoundQuality, 4,
     "SoundQuality(0)"},
    {"Audio Channel", &Audio::CycleAudioChannel, &PlayerState::wantedAudioChannel, &PlayerState::shownAudioChannel, 3,
     "AudioChannel(0)"},
    {"Sound Channel", &Audio::CycleSoundChannel, &PlayerState::wantedSoundChannel, &PlayerState::shownSoundChannel, 2,
     "SoundChannel(0)"},
};

TEST_F(AudioPropertiesTest, EachPressAsksForTheNextValueCyclicallyAndShowsTheAnswer)
{
    const std::vector<uint32_t> sequences[] = {{1, 2, 3, 0, 1}, {1, 2, 0, 1}, {1, 0, 1}};
    for (size_t i = 0; i < 3; ++i) {
        const Setting& setting = kSettings[i];
        openFile();
        for (uint32_t expected : sequences[i]) {
            engine->log.clear();
            panel.refreshes.clear();
            EXPECT_TRUE((records.audio.*setting.cycle)()) << setting.name;
            EXPECT_EQ(engine->log, std::vector<std::string>{setting.asked(expected)}) << setting.name;
            EXPECT_EQ(records.state.*setting.wanted, expected) << setting.name;
            EXPECT_EQ(records.state.*setting.shown, expected) << setting.name;
            EXPECT_EQ(panel.refreshes, std::vector<std::string>{setting.refresh}) << setting.name;
        }
    }
    // Each cycle touched only its own setting's fields.
    EXPECT_EQ(engine->soundQuality, 1u);
    EXPECT_EQ(engine->audioChannel, 1u);
    EXPECT_EQ(engine->soundChannel, 1u);
}

TEST_F(AudioPropertiesTest, TheCommandsActOnlyAtAClick)
{
    openFile();
    using C = CommandId;
    for (const CommandId command : {C::SoundQuality, C::AudioChannel, C::SoundChannel}) {
        EXPECT_FALSE(records.playback.DispatchCommand(command, CommandPhase::Press));
        EXPECT_FALSE(records.playback.DispatchCommand(command, CommandPhase::Release));
    }
    EXPECT_TRUE(engine->log.empty());
    for (const CommandId command : {C::SoundQuality, C::AudioChannel, C::SoundChannel, C::AudioProperties})
        EXPECT_TRUE(records.playback.DispatchCommand(command, CommandPhase::Click)) << CommandNumber(command);
    EXPECT_EQ(engine->log, (std::vector<std::string>{"setAudioProperties(1,-,-)", "setAudioProperties(-,1,-)",
                                                      "setAudioProperties(-,-,1)", "mpegAudioDecoderConfig"}));
}

TEST_F(AudioPropertiesTest, AMarkerLeavesTheWantedValueWhereItWasSteppedAndShowsNothing)
{
    openFile();
    engine->hasAudio = false;
    for (const Setting& setting : kSettings) {
        EXPECT_TRUE((records.audio.*setting.cycle)()) << setting.name;
        EXPECT_EQ(records.state.*setting.wanted, 1u) << setting.name;
        EXPECT_EQ(records.state.*setting.shown, setting.marker) << setting.name;
    }
    engine->log.clear();
    EXPECT_TRUE(records.audio.CycleAudioChannel());
    EXPECT_EQ(engine->log, std::vector<std::string>{"setAudioProperties(-,2,-)"});
    EXPECT_EQ(records.state.wantedAudioChannel, 2u);
}

TEST_F(AudioPropertiesTest, AValueTheEngineChangedBecomesTheWantedOne)
{
    auto substituting = std::make_unique<SubstitutingEngine>();
    substituting->asked = 1;
    substituting->given = 2;
    useEngine(std::move(substituting));
    openFile();

    EXPECT_TRUE(records.audio.CycleSoundQuality());
    EXPECT_EQ(records.state.shownSoundQuality, 2u);
    EXPECT_EQ(records.state.wantedSoundQuality, 2u);
    engine->log.clear();
    EXPECT_TRUE(records.audio.CycleSoundQuality());
    EXPECT_EQ(engine->log, std::vector<std::string>{"setAudioProperties(3,-,-)"});
}

TEST_F(AudioPropertiesTest, ARefusedSetAnswersFalseAndShowsWhatTheEngineKept)
{
    openFile();
    engine->soundQuality = 1;
    records.state.wantedSoundQuality = 1;
    engine->failingCalls = {"setAudioProperties"};
    panel.refreshes.clear();
    // Asks for 2, is refused, and shows and keeps the engine's 1.
    EXPECT_FALSE(records.audio.CycleSoundQuality());
    EXPECT_EQ(engine->log.back(), "setAudioProperties(2,-,-)");
    EXPECT_EQ(records.state.shownSoundQuality, 1u);
    EXPECT_EQ(records.state.wantedSoundQuality, 1u);
    EXPECT_EQ(panel.refreshes, std::vector<std::string>{"SoundQuality(0)"});

    engine->audioChannel = 0;
    EXPECT_FALSE(records.audio.CycleAudioChannel());
    EXPECT_EQ(records.state.shownAudioChannel, 0u);
    EXPECT_EQ(records.state.wantedAudioChannel, 0u) << "a refused value does not linger";
}

TEST_F(AudioPropertiesTest, WithoutAnOpenFileTheWantedValueStillSteps)
{
    // Nothing open: the engine refuses and has nothing to report, so the shown value stays.
    EXPECT_FALSE(records.audio.CycleSoundQuality());
    EXPECT_EQ(records.state.wantedSoundQuality, 1u);
    EXPECT_EQ(records.state.shownSoundQuality, 4u);
    EXPECT_FALSE(records.audio.CycleSoundQuality());
    EXPECT_EQ(records.state.wantedSoundQuality, 2u);
}

TEST_F(AudioPropertiesTest, TheDialogsConfirmationTakesOverItsValues)
{
    openFile();
    engine->soundQuality = 3;
    engine->audioChannel = 2;
    engine->soundChannel = 1;
    panel.refreshes.clear();
    EXPECT_TRUE(records.audio.ShowAudioProperties());
    EXPECT_EQ(audioValues(), (AudioValues{3, 2, 1, 3, 2, 1}));
    EXPECT_EQ(panel.refreshes, (std::vector<std::string>{"SoundQuality(0)", "AudioChannel(0)", "SoundChannel(0)"}));
    EXPECT_EQ(engine->log, std::vector<std::string>{"mpegAudioDecoderConfig"});
}

TEST_F(AudioPropertiesTest, TheDialogOnAFileWithoutSoundKeepsTheWantedValues)
{
    openFile();
    PlayerState& s = records.state;
    s.wantedSoundQuality = 2;
    s.wantedAudioChannel = 1;
    s.wantedSoundChannel = 1;
    engine->hasAudio = false;
    EXPECT_TRUE(records.audio.ShowAudioProperties());
    EXPECT_EQ(audioValues(), (AudioValues{4, 3, 2, 2, 1, 1}));
}

TEST_F(AudioPropertiesTest, CancellingTheDialogChangesNothing)
{
    openFile();
    PlayerState& s = records.state;
    s.wantedSoundQuality = 2;
    s.shownSoundQuality = 2;
    s.wantedAudioChannel = 1;
    s.shownAudioChannel = 1;
    engine->soundQuality = 0;
    engine->audioChannel = 0;
    engine->soundChannel = 1;
    engine->failingCalls = {"mpegAudioDecoderConfig"};
    panel.refreshes.clear();
    const AudioValues before = audioValues();
    EXPECT_TRUE(records.audio.ShowAudioProperties());
    EXPECT_EQ(audioValues(), before);
    EXPECT_TRUE(panel.refreshes.empty());
}

TEST_F(AudioPropertiesTest, ClosingTheMediaDarkensBothChannelIndicatorsButNotTheQuality)
{
    openFile();
    records.audio.CycleSoundQuality();
    records.audio.CycleAudioChannel();
    records.audio.CycleSoundChannel();
    records.playback.ResetPlayback();
    EXPECT_EQ(audioValues(), (AudioValues{1, 3, 2, 1, 1, 1}));
}
}  // namespace
