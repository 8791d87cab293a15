#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/player_settings.h"
#include "core/settings.h"
#include "components/components.h"
#include "panel/drive_commands.h"
#include "panel/panel_place.h"

namespace {

struct PlaceCase {
    const char* name;
    Size face;
    Size screen;
    const char* stored;
    Point expected;
};

const PlaceCase kPlaces[] = {
    {"CentredEvenFit", {300, 100}, {1024, 768}, "", {362, 334}},
    {"CentredRoundsTowardZero", {301, 101}, {1024, 768}, "", {361, 333}},
    {"WiderThanTheScreen", {1100, 100}, {1024, 768}, "", {0, 334}},
    {"TallerThanTheScreen", {300, 800}, {1024, 768}, "", {362, 0}},
    {"Stored", {300, 100}, {1024, 768}, "12,40", {12, 40}},
    {"StoredBeyondBothEdges", {300, 100}, {1024, 768}, "5000,5000", {724, 668}},
    {"StoredLeftOfTheScreen", {300, 100}, {1024, 768}, "-20,10", {0, 10}},
    {"StoredHangingOverTheRightEdge", {300, 100}, {1024, 768}, "1000,10", {1000, 10}},
    {"StoredAtTheRightEdgeExactly", {300, 100}, {1024, 768}, "1024,767", {724, 767}},
    {"StoredAboveTheScreen", {300, 100}, {1024, 768}, "10,-1", {10, 0}},
    {"OneNumberReplacesXOnly", {300, 100}, {1024, 768}, "15", {15, 334}},
    {"CommasRunTogether", {300, 100}, {1024, 768}, ",,15,,7", {15, 7}},
    {"NoNumbersGivesZeroForX", {300, 100}, {1024, 768}, "abc", {0, 334}},
    {"LetterThenNumber", {300, 100}, {1024, 768}, "abc,7", {0, 7}},
    {"OnlyCommasKeepsTheCentre", {300, 100}, {1024, 768}, ",,,", {362, 334}},
};

class PlaceTest : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(PlaceTest, PlacesAndClamps)
{
    const PlaceCase& c = GetParam();
    EXPECT_EQ(Panel_PlacePosition(c.face, c.screen, c.stored), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Panel, PlaceTest, ::testing::ValuesIn(kPlaces),
                         [](const auto& info) { return std::string(info.param.name); });

// A store with one entry that answers as it is told.
class OneEntryStore : public NestwellStore {
public:
    bool answer = true;
    std::string text;
    std::vector<std::string> asked;
    std::vector<std::string> written;

    bool setUserProfileInfo(const char*, const std::string&) override { return true; }
    std::optional<std::string> getProfileString(const std::string& section, const std::string& key) override
    {
        asked.push_back(section + "/" + key);
        if (!answer)
            return {};
        return text;
    }
    bool setProfileString(const std::string& section, const std::string& key, const std::string& value) override
    {
        written.push_back(section + "/" + key + "=" + value);
        return true;
    }
};

class StoredPlaceTest : public ::testing::Test {
protected:
    OneEntryStore store;
};

TEST_F(StoredPlaceTest, ReadsPanelPositionFromTheStore)
{
    store.text = "5000,5000";
    EXPECT_EQ(Panel_PlaceWindow(store, {300, 100}, {1024, 768}), (Point{724, 668}));
    EXPECT_EQ(store.asked, (std::vector<std::string>{"Panel/Position"}));
}

TEST_F(StoredPlaceTest, FailureOrEmptyKeepsTheCentre)
{
    store.text = "";
    EXPECT_EQ(Panel_PlaceWindow(store, {300, 100}, {1024, 768}), (Point{362, 334}));
    store.answer = false;
    store.text = "1,1";
    EXPECT_EQ(Panel_PlaceWindow(store, {300, 100}, {1024, 768}), (Point{362, 334}));
    NoStore none;
    EXPECT_EQ(Panel_PlaceWindow(none, {300, 100}, {1024, 768}), (Point{362, 334}));
}

TEST(PositionText, IsWrittenAsTwoDecimals)
{
    EXPECT_EQ(Panel_PositionText({724, 668}), "724,668");
    EXPECT_EQ(Panel_PositionText({-20, 0}), "-20,0");
}

// The drive-menu items.
class Doors : public NoDrives {
public:
    bool answer = true;
    bool open = false;
    std::vector<uint32_t> asked;
    std::optional<bool> isCDRomDoorOpen(uint32_t drive) override
    {
        asked.push_back(drive);
        if (!answer)
            return {};
        return open;
    }
};

// The fixture stands for playback, noting what the items ask of it.
class DriveItemTest : public ::testing::Test, protected DriveMenuActions {
protected:
    DriveItemTest()
    {
        auto owned = std::make_unique<Doors>();
        doors = owned.get();
        components.discbay = std::move(owned);
    }
    void LoadDisc(uintptr_t drive, intptr_t mode) override
    {
        calls.push_back("load " + std::to_string(drive) + " " + std::to_string(mode));
    }
    bool SetDoorState(uint32_t drive, DoorState door) override
    {
        calls.push_back("door " + std::to_string(drive) + " " + std::to_string(static_cast<uint32_t>(door)));
        return true;
    }
    void command(uintptr_t wParam) { Panel_DriveCommand(*this, settings, components, wParam); }

    Components components;
    PlayerSettings settings = Settings_Defaults();
    Doors* doors = nullptr;
    std::vector<std::string> calls;
};

TEST_F(DriveItemTest, LoadItemsLoadTheirDrive)
{
    command(41000);
    command(41025);
    command(41026);
    command(40999);
    command(0x10000 + 41003);  // only the low 16 bits count
    EXPECT_EQ(calls, (std::vector<std::string>{"load 0 0", "load 25 0", "load 3 0"}));
}

TEST_F(DriveItemTest, EjectItemsToggleTheDoor)
{
    doors->open = false;
    command(42004);
    doors->open = true;
    command(42025);
    command(42026);
    EXPECT_EQ(calls, (std::vector<std::string>{"door 4 1", "door 25 0"}));
    EXPECT_EQ(doors->asked, (std::vector<uint32_t>{4, 25}));
}

TEST_F(DriveItemTest, DoorQueryFailingDoesNothing)
{
    doors->answer = false;
    command(42004);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DriveItemTest, EjectOnlyAlwaysOpensWithoutAsking)
{
    settings.ejectCdRomOnly = 1;
    doors->open = true;
    command(42002);
    EXPECT_EQ(calls, (std::vector<std::string>{"door 2 1"}));
    EXPECT_TRUE(doors->asked.empty());
}

}  // namespace
