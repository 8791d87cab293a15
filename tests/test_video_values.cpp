#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/player_records.h"
#include "app/main_window.h"
#include "app/wiring.h"
#include "tests/support/function_host.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/manual_timers.h"
#include "core/sys_command.h"
#include "video/video_values.h"

namespace {

struct ColourCase {
    const char* text;
    uint32_t expected;
};

TEST(VideoBackgroundColour, HexadecimalWithRedInTheLowestByte)
{
    const ColourCase cases[] = {
        {"", 0x800000},          // only an empty value gives the default
        {"FF", 0x0000FF},        // pure red
        {"0000FF", 0x0000FF},    // the same red, zeros in front
        {"0xFF00", 0x00FF00},    // green, with the prefix
        {"0XfF0000", 0xFF0000},  // blue, either case
        {"  80", 0x000080},      // leading blanks
        {"+10", 0x000010},
        {"xyz", 0},              // no leading digits: black
        {"0x", 0},               // a prefix without digits reads the 0 before it
        {"0xg1", 0},
        {"12g4", 0x12},          // reading stops at the first other character
        {"1 2", 0x1},
        {"AB123456", 0x123456},  // only the colour's three bytes count
        {"FFFFFFFFFFFF", 0xFFFFFF},
        {"-1", 0xFFFFFF},        // a minus wraps as an unsigned number does
    };
    for (const ColourCase& c : cases)
        EXPECT_EQ(VideoSkin_ParseColour(c.text), c.expected) << '"' << c.text << '"';
}

struct PairCase {
    const char* text;
    int32_t first, second;
};

TEST(SkinPair, PiecesSplitAtCommasAndMissingOnesKeepTheirValue)
{
    // Both numbers start at 7 and 9; a missing piece leaves its number there.
    const PairCase cases[] = {
        {"12,40", 12, 40},
        {",12,,40", 12, 40},    // runs of commas are one separator
        {"12", 12, 9},
        {"", 7, 9},
        {",,,", 7, 9},
        {"-20,10", -20, 10},
        {" 5, +6", 5, 6},
        {"abc", 0, 9},          // a piece without digits is 0, not missing
        {"3x,4y,99", 3, 4},     // further pieces ignored
        {"99999999999,-99999999999", INT32_MAX, INT32_MIN},
    };
    for (const PairCase& c : cases) {
        int32_t first = 7, second = 9;
        Skin_ReadPair(c.text, first, second);
        EXPECT_EQ(first, c.first) << '"' << c.text << '"';
        EXPECT_EQ(second, c.second) << '"' << c.text << '"';
    }
}

struct PlacementCase {
    const char* size;
    const char* position;
    Rect expected;
};

TEST(VideoInitialPlacement, ThirdOfTheScreenCentredAndCornerPulledOnScreen)
{
    const Rect screen{0, 0, 1024, 768};
    const PlacementCase cases[] = {
        {"", "", {341, 256, 682, 512}},              // first start: 341 x 256 at (341, 256)
        {"0,0", "", {341, 256, 682, 512}},
        {"abc", "", {341, 256, 682, 512}},
        {"-5,300", "", {341, 234, 682, 534}},         // a width of 0 or less: a third
        {"400", "", {312, 256, 712, 512}},            // a missing height: a third
        {"400,300", "", {312, 234, 712, 534}},        // a stored size is centred
        {"", "-20,10", {0, 10, 341, 266}},
        {"", "2000,10", {683, 10, 1024, 266}},        // corner off the right: pulled back
        {"", "1000,10", {1000, 10, 1341, 266}},       // corner on the screen: may run off
        {"", "1024,10", {683, 10, 1024, 266}},        // the right edge itself is off the screen
        {"", "10,-1", {10, 0, 351, 256}},
        {"", "10,768", {10, 512, 351, 768}},
        {"", "1023,767", {1023, 767, 1364, 1023}},
        {"", "50", {50, 256, 391, 512}},              // a missing y keeps the centred one
        {"2000,1500", "", {0, 0, 2000, 1500}},        // larger than the screen: not limited
        {"600,400", "700,500", {700, 500, 1300, 900}},
    };
    for (const PlacementCase& c : cases)
        EXPECT_EQ(VideoWnd_InitialRect(c.size, c.position, screen), c.expected)
            << "size \"" << c.size << "\" position \"" << c.position << '"';
}

TEST(VideoInitialPlacement, APrimaryScreenAwayFromTheOriginKeepsItsOwnCorner)
{
    const Rect screen{1920, 100, 1920 + 1024, 100 + 768};
    EXPECT_EQ(VideoWnd_InitialRect("", "", screen), (Rect{1920 + 341, 100 + 256, 1920 + 682, 100 + 512}));
    EXPECT_EQ(VideoWnd_InitialRect("", "0,0", screen), (Rect{1920, 100, 1920 + 341, 100 + 256}));
    EXPECT_EQ(VideoWnd_InitialRect("", "5000,5000", screen), (Rect{2944 - 341, 868 - 256, 2944, 868}));
}

TEST(VideoInitialPlacement, StoredTextsRoundTrip)
{
    VideoPlacement placement;
    placement.normalRect = {-30, 12, 470, 312};
    EXPECT_EQ(VideoPlacement_PositionText(placement), "-30,12");
    EXPECT_EQ(VideoPlacement_SizeText(placement), "500,300");
    const Rect back = VideoWnd_InitialRect(VideoPlacement_SizeText(placement),
                                           VideoPlacement_PositionText(placement), {0, 0, 1024, 768});
    EXPECT_EQ(back, (Rect{0, 12, 500, 312}));  // the corner pulled back onto the screen
}

TEST(SysCommandCloseToMain, OnlyCloseIsPostedToTheMainWindow)
{
    PlayerRecords records;
    ManualClock clock;
    ManualTimers timers(clock);
    std::vector<Message> posted;
    FunctionHost host;
    host.onPost = [&](const Message& message) { posted.push_back(message); };
    NoParts parts;
    MainWindow main(MainWindowLinksOf(records), timers, host, parts);

    struct Case {
        uint32_t command;
        bool taken;
    };
    const Case cases[] = {
        {sys_command::Close, true},     {sys_command::Maximize, false}, {sys_command::Restore, false},
        {sys_command::Minimize, false}, {sys_command::Move | 2, false},  {sys_command::Close | 1, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SysCommand_CloseToMain(&main, c.command), c.taken) << std::hex << c.command;
    EXPECT_EQ(posted, (std::vector<Message>{{msg::Close, 0, 0}}));

    // Without a main window there is no one to tell; the command is still not the window's.
    EXPECT_TRUE(SysCommand_CloseToMain(nullptr, sys_command::Close));
    EXPECT_EQ(posted.size(), 1u);
}

}  // namespace
