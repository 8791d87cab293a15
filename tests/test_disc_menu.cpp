#include <gtest/gtest.h>

#include <functional>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "components/components.h"
#include "playback/disc_menu.h"
#include "playback/playback.h"
#include "disc/play_list.h"
#include "panel/drive_commands.h"
#include "tests/support/command_numbers.h"
#include "tests/support/playback_fixture.h"
#include "tests/support/temp_dir.h"

namespace {
constexpr CommandPhase kClick = CommandPhase::Click;

constexpr uint32_t drive(char letter)
{
    return static_cast<uint32_t>(letter - 'A');
}

// Drives in a given order with doors that move when told; each call can be made to fail.
class ScriptedDrives : public DiscbayDrives {
public:
    explicit ScriptedDrives(std::vector<std::string>& journal) : journal_(journal) {}

    bool init(Window*, uint32_t) override { return true; }
    bool deInit(Window*) override { return true; }
    bool deviceChange(uint32_t, const DeviceHeader*) override { return true; }
    std::optional<uint32_t> getTotalCDRomDrives() override
    {
        if (failCount)
            return {};
        return static_cast<uint32_t>(drives.size());
    }
    std::optional<uint32_t> getCDRomDrive(uint32_t ordinal) override
    {
        if (ordinal == 0 || ordinal > drives.size() || ordinal == failOrdinal)
            return {};
        return drives[ordinal - 1];
    }
    std::optional<bool> isCDRomDoorOpen(uint32_t which) override
    {
        if (failDoorRead)
            return {};
        return doorOpen[which];
    }
    bool openCDRomDoor(uint32_t which, bool open) override
    {
        if (beforeMove)
            beforeMove();
        journal_.push_back(std::string(open ? "open " : "close ") + static_cast<char>('A' + which));
        doorOpen[which] = open;
        return true;
    }

    std::vector<uint32_t> drives;
    std::map<uint32_t, bool> doorOpen;
    bool failCount = false;
    bool failDoorRead = false;
    uint32_t failOrdinal = 0;
    std::function<void()> beforeMove;

private:
    std::vector<std::string>& journal_;
};

// Folders bound as D:, E: and Q: stand for the drives; D: holds a disc labelled MOVIE.
class DiscMenuTest : public PlaybackTest {
protected:
    DiscMenuTest()
    {
        auto scripted = std::make_unique<ScriptedDrives>(journal);
        drives = scripted.get();
        records.components.discbay = std::move(scripted);
        records.windows.panel = &panel;
        popup.popup_ = [this](const std::vector<DriveMenuItem>& items) {
            for (const DriveMenuItem& item : items)
                menu.push_back(std::to_string(item.id) + " " + item.text);
            journal.push_back("menu");
        };
        playback().setDriveMenuPopup(&popup);
        records.settings.cfgPath = dir.write("Quintara.CFG", "[Drives]\nD: = " + dir.file("MOVIE") + "\nE: = " +
                                                               dir.file("empty") + "\nQ: = " + dir.file("q") + "\n");
        std::filesystem::create_directories(dir.file("empty"));
    }

    // What the panel was sent, as command ids.
    std::vector<uintptr_t> panelCommands() const
    {
        std::vector<uintptr_t> ids;
        for (const Message& message : panel.posted) {
            if (message.id == msg::Command)
                ids.push_back(message.wParam);
        }
        return ids;
    }

    TempDir dir;
    const std::string movie1 = dir.write("MOVIE/MPEGAV/AVSEQ01.DAT", "1");
    const std::string movie2 = dir.write("MOVIE/MPEGAV/AVSEQ02.DAT", "2");
    const std::string other = dir.write("q/other.mpg", "q");
    std::vector<std::string> journal;
    std::vector<std::string> menu;
    ScriptedDrives* drives = nullptr;
    PopupFunction popup;
};

TEST_F(DiscMenuTest, OneDriveTakesTheCommandAtOnceWithoutAMenu)
{
    drives->drives = {drive('D')};
    records.playback.DispatchCommand(CommandId::Disc, kClick);
    records.playback.DispatchCommand(CommandId::Eject, kClick);
    EXPECT_EQ(panelCommands(), (std::vector<uintptr_t>{41003, 42003}));
    EXPECT_TRUE(menu.empty());
}

TEST_F(DiscMenuTest, SeveralDrivesAreOfferedInTheComponentsOrderWithTheirLabels)
{
    struct Case {
        std::vector<uint32_t> order;
        CommandId command;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {{drive('D'), drive('E')}, CommandId::Disc, {"41003 <D:> MOVIE", "41004 <E:>"}},
        {{drive('E'), drive('D')}, CommandId::Eject, {"42004 <E:>", "42003 <D:> MOVIE"}},
        // A letter that stands for nothing has no label to read.
        {{drive('D'), drive('K'), drive('Q')}, CommandId::Disc, {"41003 <D:> MOVIE", "41010 <K:>", "41016 <Q:> q"}},
    };
    for (const Case& c : cases) {
        menu.clear();
        drives->drives = c.order;
        records.playback.DispatchCommand(c.command, kClick);
        EXPECT_EQ(menu, c.items);
        EXPECT_TRUE(panelCommands().empty()) << "the menu's choice goes to the panel, not the pick itself";
    }
    // A drive whose door is open holds nothing to read a label from.
    menu.clear();
    drives->drives = {drive('D'), drive('E')};
    drives->doorOpen[drive('D')] = true;
    records.playback.DispatchCommand(CommandId::Disc, kClick);
    EXPECT_EQ(menu, (std::vector<std::string>{"41003 <D:>", "41004 <E:>"}));
}

TEST_F(DiscMenuTest, AnyFailingCallShowsNothing)
{
    struct Case {
        const char* what;
        std::vector<uint32_t> order;
        bool failCount;
        uint32_t failOrdinal;
        bool panel;
    };
    const Case cases[] = {
        {"no drive", {}, false, 0, true},
        {"count refused", {drive('D'), drive('E')}, true, 0, true},
        {"the only drive refused", {drive('D')}, false, 1, true},
        {"a later drive refused", {drive('D'), drive('E'), drive('Q')}, false, 3, true},
        {"no panel", {drive('D')}, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drives->drives = c.order;
        drives->failCount = c.failCount;
        drives->failOrdinal = c.failOrdinal;
        records.windows.panel = c.panel ? &panel : nullptr;
        for (const CommandId command : {CommandId::Disc, CommandId::Eject, CommandId::StopEject})
            records.playback.DispatchCommand(command, kClick);
        EXPECT_TRUE(menu.empty());
        EXPECT_TRUE(panelCommands().empty());
        EXPECT_TRUE(journal.empty());
    }
}

TEST_F(DiscMenuTest, TheDoorCommandTogglesOrOnlyOpens)
{
    struct Case {
        uint32_t ejectOnly;
        bool doorOpen;
        std::vector<std::string> moves;
    };
    const Case cases[] = {
        {0, false, {"open E"}},
        {0, true, {"close E"}},
        {1, false, {"open E"}},
        {1, true, {}},
    };
    for (const Case& c : cases) {
        journal.clear();
        records.settings.ejectCdRomOnly = c.ejectOnly;
        drives->doorOpen[drive('E')] = c.doorOpen;
        Panel_DriveCommand(records.playback, records.settings, records.components, drive_item::EjectFirst + drive('E'));
        EXPECT_EQ(journal, c.moves) << c.ejectOnly << c.doorOpen;
    }
    // A door whose state cannot be read is left alone, in either mode.
    drives->failDoorRead = true;
    for (const uint32_t ejectOnly : {0u, 1u}) {
        journal.clear();
        records.settings.ejectCdRomOnly = ejectOnly;
        Panel_DriveCommand(records.playback, records.settings, records.components, drive_item::EjectFirst + drive('E'));
        EXPECT_TRUE(journal.empty());
        EXPECT_FALSE(records.playback.SetDoorState(drive('E'), DoorState::Open));
    }
}

TEST_F(DiscMenuTest, OpeningTheCurrentTracksDoorDropsItsEntriesFirstAndRestartsTheList)
{
    loadList({movie1, other, movie2}, 3, 2);
    uint32_t entriesAtMove = 0;
    drives->beforeMove = [&] { entriesAtMove = records.playList.PlayList_Count(); };

    EXPECT_TRUE(records.playback.SetDoorState(drive('D'), DoorState::Open));
    EXPECT_EQ(journal, std::vector<std::string>{"open D"});
    EXPECT_EQ(entriesAtMove, 1u) << "the entries left before the door moved";
    EXPECT_EQ(listPaths(), std::vector<std::string>{other});
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(engine->openPath, other);
    EXPECT_EQ(engine->status, 2) << "it was playing, so the restarted list plays";

    // Closing loads nothing by itself: the disc's arrival does that later.
    journal.clear();
    EXPECT_TRUE(records.playback.SetDoorState(drive('D'), DoorState::Closed));
    EXPECT_EQ(journal, std::vector<std::string>{"close D"});
    EXPECT_EQ(listPaths(), std::vector<std::string>{other});
}

TEST_F(DiscMenuTest, OpeningADoorWithoutEntriesLeavesPlaybackAlone)
{
    loadList({movie1, movie2}, 2, 2);
    EXPECT_TRUE(records.playback.SetDoorState(drive('E'), DoorState::Open));
    EXPECT_EQ(journal, std::vector<std::string>{"open E"});
    EXPECT_EQ(listPaths(), (std::vector<std::string>{movie1, movie2}));
    EXPECT_EQ(records.state.currentTrack, 2u);
    EXPECT_TRUE(engine->log.empty());
    // A door already where it is wanted is not moved again.
    EXPECT_TRUE(records.playback.SetDoorState(drive('E'), DoorState::Open));
    EXPECT_EQ(journal.size(), 1u);
}

TEST_F(DiscMenuTest, StopEjectStopsWhatPlaysThenOffersTheEject)
{
    drives->drives = {drive('D')};
    loadList({movie1, movie2}, 1, 2);
    records.playback.DispatchCommand(CommandId::StopEject, kClick);
    EXPECT_EQ(engine->status, 0);
    EXPECT_EQ(records.state.position, 0u);
    EXPECT_TRUE(panelCommands().empty());
    records.playback.DispatchCommand(CommandId::StopEject, kClick);
    EXPECT_EQ(panelCommands(), std::vector<uintptr_t>{42003});

    // Paused counts as loaded; an empty list does not.
    panel.posted.clear();
    loadList({movie1}, 1, 1);
    records.playback.DispatchCommand(CommandId::StopEject, kClick);
    EXPECT_TRUE(panelCommands().empty());
    records.state.trackCount = 0;
    engine->status = 2;
    records.playback.DispatchCommand(CommandId::StopEject, kClick);
    EXPECT_EQ(panelCommands(), std::vector<uintptr_t>{42003});
}

TEST(DiscMenuItemText, LetterAndLabel)
{
    EXPECT_EQ(DiscMenuItemText(3, "MOVIE"), "<D:> MOVIE");
    EXPECT_EQ(DiscMenuItemText(25, ""), "<Z:>");
}
}  // namespace
