// Folders and disc images bound as CD-ROM drives: real folders and files in a temporary folder,
// the component looking at them through the machine's drive table.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "context/drives.h"
#include "context/app_context.h"
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
    void SetUp() override
    {
        resetApp();
        bind("");
        fs::create_directories(dir_.file("v"));
        fs::create_directories(dir_.file("fixed"));
        dir_.write("fixed/file.txt", "x");
        auto made = std::make_unique<DiscbayCore>(std::make_unique<ScriptedDrives>(), CurrentDrives);
        drives_ = made.get();
        app().components.discbay = std::move(made);
    }

    void TearDown() override { resetApp(); }

    // The bindings are read once for a configuration file; new ones come in a file of their own.
    void bind(const std::string& more)
    {
        app().settings.cfgPath = dir_.write("Quintara" + std::to_string(++binds_) + ".CFG", "[Drives]\nE: = " + dir_.file("fixed") +
                                                                ", Fixed\nR: = " + dir_.file("stick") +
                                                                ", Removable\nV: = " + dir_.file("v") + "\nX: = " +
                                                                dir_.file("x") + "\nY: = " + dir_.file("film.cue") +
                                                                "\n" + more);
    }

    void start() { ASSERT_EQ(drives_->init(&window_, msg::DiscEvent), 1u); }

    // What the last look posted, and the record emptied.
    std::vector<Message> look()
    {
        drives_->rescan();
        return taken();
    }
    std::vector<Message> taken() { return std::exchange(window_.posted, {}); }

    uint32_t doorOpen(char letter)
    {
        uint32_t open = 7;
        EXPECT_EQ(drives_->isCDRomDoorOpen(drive(letter), &open), 1u) << letter;
        return open;
    }

    TempDir dir_;
    int binds_ = 0;
    ManualClock clock_;
    RecordingWindow window_{clock_};
    DiscbayCore* drives_ = nullptr;
};

TEST_F(DiscbayFolders, TheDrivesAreTheLettersWithADoorInLetterOrder)
{
    uint32_t count = 0;
    ASSERT_EQ(drives_->getTotalCDRomDrives(&count), 1u);
    EXPECT_EQ(count, 3u);
    struct Case {
        uint32_t ordinal;
        uint32_t answer;
        uint32_t drive;
    };
    const Case cases[] = {
        {1, 1, drive('V')},       {2, 1, drive('X')}, {3, 1, drive('Y')}, {0, 0, 99}, {4, 0, 99},
        {0x10002, 1, drive('X')},  // only the low 16 bits count
        {0x10000, 0, 99},
    };
    for (const Case& c : cases) {
        uint32_t found = 99;
        EXPECT_EQ(drives_->getCDRomDrive(c.ordinal, &found), c.answer) << c.ordinal;
        EXPECT_EQ(found, c.drive) << c.ordinal;
    }
    EXPECT_EQ(drives_->getTotalCDRomDrives(nullptr), 0u);
    EXPECT_EQ(drives_->getCDRomDrive(1, nullptr), 0u);
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
            away = std::move(app().components.discbay);
        dir_.write("v/MPEGAV/AVSEQ01.DAT", "x");
        start();
        EXPECT_EQ(doorOpen('V'), 0u) << "closed at the start";

        ASSERT_EQ(drives_->openCDRomDoor(drive('V'), 1), 1u);
        EXPECT_EQ(taken(), std::vector<Message>{gone('V')}) << "told at once";
        EXPECT_EQ(doorOpen('V'), 1u);
        EXPECT_EQ(doorOpen('X'), 0u) << "each drive has its own door";
        ASSERT_EQ(drives_->openCDRomDoor(drive('V'), 1), 1u);
        EXPECT_TRUE(taken().empty()) << "an open door opened again takes nothing more";
        EXPECT_TRUE(look().empty());

        ASSERT_EQ(drives_->openCDRomDoor(drive('V'), 0), 1u);
        EXPECT_EQ(taken(), std::vector<Message>{arrived('V')});
        EXPECT_EQ(doorOpen('V'), 0u);
        drives_->deInit(&window_);
        if (away)
            app().components.discbay = std::move(away);
    }
}

TEST_F(DiscbayFolders, ADoorOpenOnAnEmptyFolderKeepsTheDiscOutWhenItFills)
{
    start();
    ASSERT_EQ(drives_->openCDRomDoor(drive('V'), 1), 1u);
    dir_.write("v/MPEGAV/AVSEQ01.DAT", "x");
    EXPECT_TRUE(look().empty());
    ASSERT_EQ(drives_->openCDRomDoor(drive('V'), 0), 1u);
    EXPECT_EQ(taken(), std::vector<Message>{arrived('V')});
}

TEST_F(DiscbayFolders, DoorCallsOnLettersWithoutADoorFail)
{
    start();
    // A: nothing, C: the home folder, E: a fixed folder, R: a removable one, Z: the root, then
    // indexes past Z:.
    for (const uint32_t which : {drive('A'), drive('C'), drive('E'), drive('R'), drive('Z'), 26u, 0xFFFFu}) {
        uint32_t open = 7;
        EXPECT_EQ(drives_->isCDRomDoorOpen(which, &open), 0u) << which;
        EXPECT_EQ(open, 7u) << which;
        EXPECT_EQ(drives_->openCDRomDoor(which, 1), 0u) << which;
        EXPECT_EQ(drives_->openCDRomDoor(which, 0), 0u) << which;
    }
    EXPECT_EQ(drives_->isCDRomDoorOpen(drive('V'), nullptr), 0u);
    // Only the low 16 bits of an index count.
    ASSERT_EQ(drives_->openCDRomDoor(0x10000 + drive('V'), 1), 1u);
    EXPECT_EQ(doorOpen('V'), 1u);
    EXPECT_TRUE(taken().empty()) << "nothing was in the drive";
}

TEST_F(DiscbayFolders, AnImageDriveHoldsItsDiscWhileTheFileExistsAndTheDoorIsClosed)
{
    start();
    dir_.write("film.cue", "");  // its content is the reader's business
    EXPECT_EQ(look(), std::vector<Message>{arrived('Y')});
    ASSERT_EQ(drives_->openCDRomDoor(drive('Y'), 1), 1u);
    EXPECT_EQ(taken(), std::vector<Message>{gone('Y')});
    ASSERT_EQ(drives_->openCDRomDoor(drive('Y'), 0), 1u);
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
    ASSERT_EQ(drives_->openCDRomDoor(drive('V'), 1), 1u);
    EXPECT_EQ(taken(), std::vector<Message>{gone('V')});
    ASSERT_EQ(drives_->openCDRomDoor(drive('V'), 0), 1u);
    EXPECT_EQ(taken(), std::vector<Message>{arrived('V')});
    dir_.write("other/a.dat", "x");
    app().settings.cfgPath = dir_.write("Quintara-other.CFG", "[Drives]\nV: = " + dir_.file("other") + "\n");
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
    EXPECT_EQ(drives_->deviceChange(device_event::Arrival, &header), 1u);
    EXPECT_EQ(taken(), std::vector<Message>{arrived('X')});
}

TEST_F(DiscbayFolders, NothingIsPostedBeforeInitNorAfterDeInit)
{
    dir_.write("x/a.dat", "x");
    EXPECT_TRUE(look().empty());
    EXPECT_EQ(drives_->init(nullptr, msg::DiscEvent), 0u);
    EXPECT_TRUE(look().empty());

    start();
    fs::remove(dir_.file("x/a.dat"));
    EXPECT_EQ(look(), std::vector<Message>{gone('X')});
    ASSERT_EQ(drives_->deInit(&window_), 1u);
    dir_.write("x/a.dat", "x");
    EXPECT_TRUE(look().empty());
    const DeviceHeader header{.deviceType = device_type::Volume};
    drives_->deviceChange(device_event::Arrival, &header);
    ASSERT_EQ(drives_->openCDRomDoor(drive('X'), 1), 1u) << "the door still moves";
    ASSERT_EQ(drives_->openCDRomDoor(drive('X'), 0), 1u);
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
    auto counted = std::make_unique<DiscbayCore>(std::make_unique<ScriptedDrives>(), [&builds] {
        ++builds;
        return CurrentDrives();
    });
    DiscbayCore& installed = *counted;
    app().components.discbay = std::move(counted);
    dir_.write("v/a.dat", "x");
    dir_.write("x/a.dat", "x");
    dir_.write("film.cue", "");
    ASSERT_EQ(installed.init(&window_, msg::DiscEvent), 1u);
    ASSERT_EQ(installed.openCDRomDoor(drive('X'), 1), 1u);
    EXPECT_EQ(taken(), std::vector<Message>{gone('X')});
    builds = 0;
    fs::remove(dir_.file("v/a.dat"));
    installed.rescan();
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(taken(), std::vector<Message>{gone('V')});
    // Outside a look, a door is read from the machine as it is now.
    uint32_t open = 0;
    ASSERT_EQ(installed.isCDRomDoorOpen(drive('X'), &open), 1u);
    EXPECT_EQ(open, 1u);
    EXPECT_EQ(builds, 2);
}

TEST_F(DiscbayFolders, TheMessageIsTheOneGivenToInit)
{
    ASSERT_EQ(drives_->init(&window_, 4321), 1u);
    dir_.write("x/a.dat", "x");
    EXPECT_EQ(look(), (std::vector<Message>{{4321, drive('X'), 0}}));
}

}  // namespace
