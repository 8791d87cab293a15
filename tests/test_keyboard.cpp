#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "panel/keyboard.h"
#include "core/command_id.h"
#include "playback/playback.h"
#include "tests/support/command_sink.h"

namespace {

using Event = CommandEvent;

using namespace phase_number;

enum class Kind { Down, Up, Char };
struct Step {
    Kind kind;
    uint32_t code;
};

Step down(uint32_t key) { return {Kind::Down, key}; }
Step up(uint32_t key) { return {Kind::Up, key}; }
Step chr(uint32_t code) { return {Kind::Char, code}; }

class KeyboardTest : public ::testing::Test {
protected:
    std::vector<Event> events;
    CommandsTo recorded{[this](CommandId command, CommandPhase phase) {
        events.push_back({CommandNumber(command), CommandPhaseNumber(phase)});
        return true;
    }};
    KeyMap keys{&recorded};

    std::vector<Event> run(const std::vector<Step>& steps)
    {
        for (const Step& s : steps) {
            if (s.kind == Kind::Down)
                keys.keyDown(s.code);
            else if (s.kind == Kind::Up)
                keys.keyUp(s.code);
            else
                keys.character(s.code);
        }
        return events;
    }
};

// Each key of the tables alone: pressed, then released, with its character where it has one.
struct SingleKey {
    const char* name;
    std::vector<Step> steps;
    std::vector<Event> expected;
};

const SingleKey kSingleKeys[] = {
    {"PageUp", {down(0x21), up(0x21)}, {{17, C}}},
    {"PageDown", {down(0x22), up(0x22)}, {{16, C}}},
    {"Left", {down(0x25), up(0x25)}, {{18, P}, {18, R}}},
    {"Up", {down(0x26), up(0x26)}, {{18, P}, {18, R}}},
    {"Right", {down(0x27), up(0x27)}, {{19, P}, {19, R}}},
    {"Down", {down(0x28), up(0x28)}, {{19, P}, {19, R}}},
    {"Delete", {down(0x2E), up(0x2E)}, {{30, C}}},
    {"BackspaceOnTheWayUp", {down(0x08), chr(8), up(0x08)}, {{43, C}}},
    {"PadMultiply", {down(0x6A), chr('*'), up(0x6A)}, {{21, C}}},
    {"PadPlusRaises", {down(0x6B), chr('+'), up(0x6B)}, {{32, P}, {32, R}}},
    {"PadMinusLowers", {down(0x6D), chr('-'), up(0x6D)}, {{31, P}, {31, R}}},
    {"PadDivide", {down(0x6F), chr('/'), up(0x6F)}, {{20, C}}},
    {"F1OnTheWayUp", {down(0x70)}, {}},
    {"F1", {down(0x70), up(0x70)}, {{2, C}}},
    {"Enter", {down(0x0D), chr(13), up(0x0D)}, {{120, C}}},
    {"Digit0", {chr('0')}, {{100, C}}},
    {"Digit9", {chr('9')}, {{109, C}}},
    {"LetterKeyPAlone", {down('P'), up('P')}, {}},
    {"LowerP", {down('P'), chr('p'), up('P')}, {{12, C}}},
    {"UpperP", {chr('P')}, {{12, C}}},
    {"LowerS", {chr('s')}, {{13, C}}},
    {"UpperS", {chr('S')}, {{13, C}}},
    {"MainRowMinus", {down(0xBD), chr('-'), up(0xBD)}, {}},
    {"PlusTyped", {chr('+')}, {}},
    {"OtherLetter", {down('Q'), chr('q'), up('Q')}, {}},
    {"CharacterBeforeDigits", {chr('/')}, {}},
    {"CharacterAfterDigits", {chr(':')}, {}},
};

class SingleKeyTest : public KeyboardTest, public ::testing::WithParamInterface<SingleKey> {};

TEST_P(SingleKeyTest, GivesItsCommandsAtTheirPhases)
{
    EXPECT_EQ(run(GetParam().steps), GetParam().expected);
    EXPECT_FALSE(keys.seekKeyHeld());
    EXPECT_FALSE(keys.volumeKeyHeld());
}

INSTANTIATE_TEST_SUITE_P(Keys, SingleKeyTest, ::testing::ValuesIn(kSingleKeys),
                         [](const auto& info) { return std::string(info.param.name); });

// Sequences of held keys.
struct HeldCase {
    const char* name;
    std::vector<Step> steps;
    std::vector<Event> expected;
};

const HeldCase kHeldCases[] = {
    {"RightHeldWithRepeats",
     {down(0x27), down(0x27), down(0x27), down(0x27), up(0x27)},
     {{19, P}, {19, R}}},
    {"SecondArrowWhileLeftHeld",
     {down(0x25), down(0x25), down(0x27), up(0x27), down(0x25), up(0x25)},
     {{18, P}, {19, R}, {18, P}, {18, R}}},
    {"PlusThenMinusHeld",
     {down(0x6B), down(0x6D), up(0x6D), up(0x6B)},
     {{32, P}, {31, R}, {32, R}}},
    {"SeekAndVolumeHeldTogether",
     {down(0x25), down(0x6B), down(0x25), down(0x6B), up(0x6B), up(0x25)},
     {{18, P}, {32, P}, {32, R}, {18, R}}},
    {"ReleaseWithoutPress", {up(0x28)}, {{19, R}}},
    {"TypedEntry", {chr('1'), chr('2'), chr(13)}, {{101, C}, {102, C}, {120, C}}},
};

class HeldKeyTest : public KeyboardTest, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldKeyTest, GivesOnePressPerHold)
{
    EXPECT_EQ(run(GetParam().steps), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Keys, HeldKeyTest, ::testing::ValuesIn(kHeldCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyboardTest, FlagsFollowKeyUpsOnly)
{
    keys.keyDown(vk::Left);
    keys.keyDown(vk::Add);
    EXPECT_TRUE(keys.seekKeyHeld());
    EXPECT_TRUE(keys.volumeKeyHeld());
    keys.keyUp(vk::Prior);
    keys.character('5');
    EXPECT_TRUE(keys.seekKeyHeld());
    EXPECT_TRUE(keys.volumeKeyHeld());
    keys.keyUp(vk::Down);
    EXPECT_FALSE(keys.seekKeyHeld());
    EXPECT_TRUE(keys.volumeKeyHeld());
    keys.keyUp(vk::Subtract);
    EXPECT_FALSE(keys.volumeKeyHeld());
}

TEST(KeysShared, TheWindowHandlersShareOneMapAndAnswerZero)
{
    std::vector<Event> events;
    CommandsTo recorded([&](CommandId command, CommandPhase phase) {
        events.push_back({CommandNumber(command), CommandPhaseNumber(phase)});
        return true;
    });
    KeyMap shared;
    shared.setSink(&recorded);
    // Pressed in one window, released in another: the same flag.
    EXPECT_EQ(Keys_OnKeyDown(shared, nullptr, key_msg::KeyDown, vk::Right, 0), 0);
    EXPECT_TRUE(shared.seekKeyHeld());
    EXPECT_EQ(Keys_OnKeyDown(shared, nullptr, key_msg::KeyDown, vk::Right, 0x40000000), 0);
    EXPECT_EQ(Keys_OnKeyUp(shared, nullptr, key_msg::KeyUp, vk::Right, 0), 0);
    EXPECT_EQ(Keys_OnChar(shared, nullptr, key_msg::Char, 'S', 0), 0);
    EXPECT_EQ(events, (std::vector<Event>{{19, P}, {19, R}, {13, C}}));
    EXPECT_FALSE(shared.seekKeyHeld());
}

}  // namespace
