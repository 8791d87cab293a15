// Folders and disc images bound as CD-ROM drives: real folders and files in a temporary folder,
// the component looking at them through the machine's drive table.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "core/device_change.h"
#include "components/discbay/discbay_core.h"
#include "components/discbay/drive_table.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"
#include "tests/test_discbay_support.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t drive(char letter)
{
    return static_cast<uint32_t>(letter - 'A');
}

Message arrived(char letter)
{
    return {msg::DiscEvent, drive(letter), 0};
}

Message gone(char letter)
{
    return {msg::DiscEvent, drive(letter), 1};
}

// V: and X: are folders bound as CD-ROM drives, Y: a disc image; E: and R: are bound folders
// of other kinds, without a door.
class DiscbayFolders : public testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    void SetUp() override
    {
        bind("");
        fs::create_directories(dir_.file("v"));
        fs::create_directories(dir_.file("fixed"));
        dir_.write("fixed/file.txt", "x");
        auto made = std::make_unique<DiscbayCore>(std::make_unique<ScriptedDrives>(), records.drives);
        drives_ = made.get();
        records.components.discbay = std::move(made);
    }


    // The bindings are read once for a configuration file; new ones come in a file of their own.
    void bind(const std::string& more)
    {
        records.settings.cfgPath = dir_.write("Quintara" + std::to_string(++binds_) + ".CFG", "[Drives]\nE: = " + dir_.file("fixed") +
                                                                ", Fixed\nR: = " + dir_.file("stick") +
                                                                ", Removable\nV: = " + dir_.file("v") + "\nX: = " +
                                                                dir_.file("x") + "\nY: = " + dir_.file("film.cue") +
                                                                "\n" + more);
    }

    void start() { ASSERT_TRUE(drives_->init(&window_, msg::DiscEvent)); }

    // What the last look posted, and the record emptied.
    std::vector<Message> look()
    {
        drives_->rescan();
        return taken();
    }
    std::vector<Message> taken() { return std::exchange(window_.posted, {}); }

    uint32_t doorOpen(char letter)
    {
        const std::optional<bool> open = drives_->isCDRomDoorOpen(drive(letter));
        EXPECT_TRUE(open) << letter;
        return open.value_or(7);
    }

    TempDir dir_;
    int binds_ = 0;
    ManualClock clock_;
    RecordingWindow window_{clock_};
    DiscbayCore* drives_ = nullptr;
};

TEST_F(DiscbayFolders, TheDrivesAreTheLettersWithADoorInLetterOrder)
{
    EXPECT_EQ(drives_->getTotalCDRomDrives(), 3u);
    struct Case {
        uint32_t ordinal;
        std::optional<uint32_t> drive;
    };
    const Case cases[] = {
        {1, drive('V')},       {2, drive('X')}, {3, drive('Y')}, {0, {}}, {4, {}},
        {0x10002, drive('X')},  // only the low 16 bits count
        {0x10000, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(drives_->getCDRomDrive(c.ordinal), c.drive) << c.ordinal;
}

TEST_F(DiscbayFolders, AFolderFillingArrivesOnceAndEmptyingGoesOnce)
{
    start();
    EXPECT_TRUE(taken().empty()) << "an empty folder holds no disc";
    dir_.write("v/MPEGAV/AVSEQ01.DAT", "x");
    EXPECT_EQ(look(), std::vector<Message>{arrived('V')});
    dir_.write("v/MPEGAV/AVSEQ02.DAT", "x");
    EXPECT_TRUE(look().empty()) << "more files are the same disc";
    fs::remove_all(dir_.file("v/MPEGAV"));
    EXPECT_EQ(look(), std::vector<Message>{gone('V')});
    EXPECT_TRUE(look().empty());
}

TEST_F(DiscbayFolders, AFolderVanishingIsGoneAndComingBackArrives)
{
    dir_.write("v/MPEGAV/AVSEQ01.DAT", "x");
    start();
    EXPECT_TRUE(taken().empty()) << "what a drive holds at the start is no event";
    fs::remove_all(dir_.file("v"));
    EXPECT_EQ(look(), std::vector<Message>{gone('V')});
    dir_.write("v/MPEGAV/AVSEQ01.DAT", "x");
    EXPECT_EQ(look(), std::vector<Message>{arrived('V')});
}

TEST_F(DiscbayFolders, TheDoorTakesTheDiscOutAndPutsItBack)
{
    // Installed, the drive table asks this component for the door as well; on its own, the
    // component still keeps its flag.
    for (const bool installed : {true, false}) {
        SCOPED_TRACE(installed);
        std::unique_ptr<DiscbayDrives> away;
        if (!installed)
            away = std::move(records.components.discbay);
        dir_.write("v/MPEGAV/AVSEQ01.DAT", "x");
        start();
        EXPECT_EQ(doorOpen('V'), 0u) << "closed at the start";

        ASSERT_TRUE(drives_->openCDRomDoor(drive('V'), 1));
        EXPECT_EQ(taken(), std::vector<Message>{gone('V')}) << "told at once";
        EXPECT_EQ(doorOpen('V'), 1u);
        EXPECT_EQ(doorOpen('X'), 0u) << "each drive has its own door";
        ASSERT_TRUE(drives_->openCDRomDoor(drive('V'), 1));
        EXPECT_TRUE(taken().empty()) << "an open door opened again takes nothing more";
        EXPECT_TRUE(look().empty());

        ASSERT_TRUE(drives_->openCDRomDoor(drive('V'), 0));
        EXPECT_EQ(taken(), std::vector<Message>{arrived('V')});
        EXPECT_EQ(doorOpen('V'), 0u);
        drives_->deInit(&window_);
        if (away)
            records.components.discbay = std::move(away);
    }
}

TEST_F(DiscbayFolders, ADoorOpenOnAnEmptyFolderKeepsTheDiscOutWhenItFills)
{
    start();
    ASSERT_TRUE(drives_->openCDRomDoor(drive('V'), 1));
    dir_.write("v/MPEGAV/AVSEQ01.DAT", "x");
    EXPECT_TRUE(look().empty());
    ASSERT_TRUE(drives_->openCDRomDoor(drive('V'), 0));
    EXPECT_EQ(taken(), std::vector<Message>{arrived('V')});
}

TEST_F(DiscbayFolders, DoorCallsOnLettersWithoutADoorFail)
{
    start();
    // A: nothing, C: the home folder, E: a fixed folder, R: a removable one, Z: the root, then
    // indexes past Z:.
    for (const uint32_t which : {drive('A'), drive('C'), drive('E'), drive('R'), drive('Z'), 26u, 0xFFFFu}) {
        EXPECT_FALSE(drives_->isCDRomDoorOpen(which)) << which;
        EXPECT_FALSE(drives_->openCDRomDoor(which, true)) << which;
        EXPECT_FALSE(drives_->openCDRomDoor(which, false)) << which;
    }
    // Only the low 16 bits of an index count.
    ASSERT_TRUE(drives_->openCDRomDoor(0x10000 + drive('V'), true));
    EXPECT_EQ(doorOpen('V'), 1u);
    EXPECT_TRUE(taken().empty()) << "nothing was in the drive";
}

TEST_F(DiscbayFolders, AnImageDriveHoldsItsDiscWhileTheFileExistsAndTheDoorIsClosed)
{
    start();
    dir_.write("film.cue", "");  // its content is the reader's business
    EXPECT_EQ(look(), std::vector<Message>{arrived('Y')});
    ASSERT_TRUE(drives_->openCDRomDoor(drive('Y'), 1));
    EXPECT_EQ(taken(), std::vector<Message>{gone('Y')});
    ASSERT_TRUE(drives_->openCDRomDoor(drive('Y'), 0));
    EXPECT_EQ(taken(), std::vector<Message>{arrived('Y')});
    fs::remove(dir_.file("film.cue"));
    EXPECT_EQ(look(), std::vector<Message>{gone('Y')});
    fs::create_directories(dir_.file("film.cue/inside"));
    EXPECT_TRUE(look().empty()) << "a folder of that name is no image";
}

TEST_F(DiscbayFolders, SeveralDrivesChangingAtOnceAreToldInLetterOrder)
{
    dir_.write("v/a.dat", "x");
    start();
    dir_.write("x/a.dat", "x");
    dir_.write("film.cue", "");
    fs::remove(dir_.file("v/a.dat"));
    EXPECT_EQ(look(), (std::vector<Message>{gone('V'), arrived('X'), arrived('Y')}));
}

TEST_F(DiscbayFolders, ADriveBoundLaterTakesItsStateAndOneUnboundTakesItsDisc)
{
    dir_.write("v/a.dat", "x");
    dir_.write("w/a.dat", "x");
    start();
    bind("W: = " + dir_.file("w") + "\n");
    EXPECT_TRUE(look().empty()) << "a new drive's disc is no event";
    fs::remove(dir_.file("w/a.dat"));
    EXPECT_EQ(look(), std::vector<Message>{gone('W')});

    // V: now stands for another folder: its disc went with the old one; the new one's door is
    // closed whatever the old one's was.
    ASSERT_TRUE(drives_->openCDRomDoor(drive('V'), 1));
    EXPECT_EQ(taken(), std::vector<Message>{gone('V')});
    ASSERT_TRUE(drives_->openCDRomDoor(drive('V'), 0));
    EXPECT_EQ(taken(), std::vector<Message>{arrived('V')});
    dir_.write("other/a.dat", "x");
    records.settings.cfgPath = dir_.write("Quintara-other.CFG", "[Drives]\nV: = " + dir_.file("other") + "\n");
    EXPECT_EQ(look(), (std::vector<Message>{gone('V')})) << "the old disc is gone; the new one was there already";
    EXPECT_EQ(doorOpen('V'), 0u);
    fs::remove(dir_.file("other/a.dat"));
    EXPECT_EQ(look(), std::vector<Message>{gone('V')});
}

TEST_F(DiscbayFolders, ADeviceNoticeMakesItLookAgain)
{
    start();
    dir_.write("x/a.dat", "x");
    const DeviceHeader header{.deviceType = device_type::Volume, .unitMask = 1u << drive('X')};
    EXPECT_TRUE(drives_->deviceChange(device_event::Arrival, &header));
    EXPECT_EQ(taken(), std::vector<Message>{arrived('X')});
}

TEST_F(DiscbayFolders, NothingIsPostedBeforeInitNorAfterDeInit)
{
    dir_.write("x/a.dat", "x");
    EXPECT_TRUE(look().empty());
    EXPECT_FALSE(drives_->init(nullptr, msg::DiscEvent));
    EXPECT_TRUE(look().empty());

    start();
    fs::remove(dir_.file("x/a.dat"));
    EXPECT_EQ(look(), std::vector<Message>{gone('X')});
    ASSERT_TRUE(drives_->deInit(&window_));
    dir_.write("x/a.dat", "x");
    EXPECT_TRUE(look().empty());
    const DeviceHeader header{.deviceType = device_type::Volume};
    drives_->deviceChange(device_event::Arrival, &header);
    ASSERT_TRUE(drives_->openCDRomDoor(drive('X'), 1)) << "the door still moves";
    ASSERT_TRUE(drives_->openCDRomDoor(drive('X'), 0));
    EXPECT_TRUE(taken().empty());

    // Started again, the drives take their state afresh.
    start();
    EXPECT_TRUE(taken().empty());
    fs::remove(dir_.file("x/a.dat"));
    EXPECT_EQ(look(), std::vector<Message>{gone('X')});
}

TEST_F(DiscbayFolders, ALookReadsTheMachineOnceWhateverTheTableAsksBack)
{
    int builds = 0;
    TableOf counting([this, &builds] {
        ++builds;
        return records.drives.current();
    });
    DiscbayCore installed(std::make_unique<ScriptedDrives>(), counting);
    dir_.write("v/a.dat", "x");
    dir_.write("x/a.dat", "x");
    dir_.write("film.cue", "");
    ASSERT_TRUE(installed.init(&window_, msg::DiscEvent));
    ASSERT_TRUE(installed.openCDRomDoor(drive('X'), 1));
    EXPECT_EQ(taken(), std::vector<Message>{gone('X')});
    builds = 0;
    fs::remove(dir_.file("v/a.dat"));
    installed.rescan();
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(taken(), std::vector<Message>{gone('V')});
    // Outside a look, a door is read from the machine as it is now.
    EXPECT_EQ(installed.isCDRomDoorOpen(drive('X')), true);
    EXPECT_EQ(builds, 2);
}

TEST_F(DiscbayFolders, TheMessageIsTheOneGivenToInit)
{
    ASSERT_TRUE(drives_->init(&window_, 4321));
    dir_.write("x/a.dat", "x");
    EXPECT_EQ(look(), (std::vector<Message>{{4321, drive('X'), 0}}));
}

}  // namespace
