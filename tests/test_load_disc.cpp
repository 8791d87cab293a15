#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "components/discbay/discbay_core.h"
#include "components/discbay/drive_table.h"
#include "app/player_records.h"
#include "core/ini_file.h"
#include "playback/playback.h"
#include "tests/support/playback_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/test_discbay_support.h"

namespace fs = std::filesystem;

namespace {
constexpr uintptr_t drive(char letter)
{
    return static_cast<uintptr_t>(letter - 'A');
}

// Folders bound to P:, Q: and X: stand for drives; X: holds a Video CD.
class LoadDiscTest : public PlaybackTest {
protected:
    LoadDiscTest()
    {
        records.settings.cfgPath = dir.write("Quintara.CFG", "[Drives]\nP: = " + dir.file("p") + "\nQ: = " +
                                                               dir.file("q") + "\nX: = " + dir.file("x") + "\n");
        dir.write("p/a.mpg", "a");
        dir.write("p/b.mpg", "b");
        dir.write("q/x.mpg", "x");
    }

    // The disc event as the main window receives it from the drive component.
    void discEvent(uintptr_t which, intptr_t mode) { mainWindow->handle({msg::DiscEvent, which, mode}); }

    TempDir dir;
    const std::string a = dir.file("p/a.mpg");
    const std::string b = dir.file("p/b.mpg");
    const std::string x = dir.file("q/x.mpg");
};

TEST_F(LoadDiscTest, DroppingAnotherDriveKeepsTheCurrentTrackPlaying)
{
    loadList({a, x, b}, 3, 2);
    discEvent(drive('Q'), 1);
    EXPECT_EQ(listPaths(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(records.state.currentTrack, 2u);
    EXPECT_EQ(records.state.trackCount, 2u);
    EXPECT_EQ(panel.refreshes, std::vector<std::string>{"TrackNumber(0)"});
    EXPECT_TRUE(engine->log.empty()) << "playback is not touched";
    EXPECT_EQ(engine->openPath, b);
}

TEST_F(LoadDiscTest, DroppingTheCurrentTracksDriveRestartsTheList)
{
    struct Case {
        uint16_t status;
        bool plays;
    };
    for (const Case c : {Case{2, true}, Case{1, false}, Case{0, false}}) {
        loadList({a, x, b}, 2, c.status);
        discEvent(drive('Q'), 1);
        EXPECT_EQ(listPaths(), (std::vector<std::string>{a, b}));
        EXPECT_EQ(records.state.currentTrack, 1u);
        EXPECT_EQ(engine->openPath, a);
        EXPECT_EQ(engine->status, c.plays ? 2 : 0) << c.status;
    }
}

TEST_F(LoadDiscTest, DroppingTheDriveOfEveryEntryEndsWithNoTrack)
{
    loadList({x}, 1, 2);
    discEvent(drive('Q'), 1);
    EXPECT_TRUE(listPaths().empty());
    EXPECT_EQ(records.state.trackCount, 0u);
    EXPECT_EQ(records.state.currentTrack, 0u);
    EXPECT_FALSE(engine->isOpen);
    EXPECT_EQ(videoFrame.titles.back(), "Video Window");
}

TEST_F(LoadDiscTest, DroppingADriveWithoutEntriesChangesNothing)
{
    loadList({a, b}, 2, 2);
    discEvent(drive('Q'), 1);
    discEvent(drive('X'), 1);
    EXPECT_EQ(listPaths(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(records.state.currentTrack, 2u);
    EXPECT_TRUE(engine->log.empty());
    EXPECT_TRUE(panel.refreshes.empty());
}

TEST_F(LoadDiscTest, ADiscReplacesTheListAndPlaysFromItsFirstTrackWhenThePlayerWasPlaying)
{
    const std::string second = dir.write("x/MPEGAV/AVSEQ02.DAT", "2");
    const std::string first = dir.write("x/MPEGAV/avseq01.dat", "1");
    dir.write("x/MPEGAV/README.TXT", "r");
    struct Case {
        uint16_t status;
        bool plays;
    };
    for (const Case c : {Case{2, true}, Case{1, false}, Case{0, false}}) {
        loadList({a, x, b}, 3, c.status);
        // Only the low 16 bits name the drive.
        discEvent(drive('X') + 0x30000, 0);
        EXPECT_EQ(listPaths(), (std::vector<std::string>{first, second}));
        EXPECT_EQ(records.state.currentTrack, 1u);
        EXPECT_EQ(records.state.trackCount, 2u);
        EXPECT_EQ(engine->openPath, first);
        EXPECT_EQ(videoFrame.titles.back(), first);
        EXPECT_EQ(engine->status, c.plays ? 2 : 0) << c.status;
        EXPECT_EQ(pollRuns(), c.plays);
    }
}

TEST_F(LoadDiscTest, ADriveWithoutAVideoCdChangesNothingButEndsTheEntry)
{
    dir.write("x/MPEGAV/README.TXT", "r");
    std::vector<std::string> many;
    for (int n = 0; n < 30; ++n)
        many.push_back(n % 2 ? a : b);
    loadList(many, 4, 2);
    ASSERT_TRUE(records.playback.EnterDigit(2));
    ASSERT_TRUE(records.state.entryActive);
    for (const uintptr_t which : {drive('X'), drive('A'), drive('W')})
        discEvent(which, 0);
    EXPECT_FALSE(records.state.entryActive);
    EXPECT_EQ(panel.refreshes.back(), "TrackNumber(1)");
    EXPECT_EQ(listPaths(), many);
    EXPECT_EQ(records.state.currentTrack, 4u);
    EXPECT_TRUE(engine->log.empty());
}
}  // namespace

namespace {
// D: is a physical drive behind the hardware stand-in; its disc is mounted where the test says.
class LeavingDiscTest : public LoadDiscTest {
protected:
    LeavingDiscTest()
    {
        records.drives.setDeviceList(std::make_unique<ListedDevices>(std::vector<std::string>{kSr0}));
        auto drives = std::make_unique<DiscbayCore>(std::make_unique<ScriptedDrives>(), table);
        core = drives.get();
        records.components.discbay = std::move(drives);
    }
    // The component reads the table, which goes before the records.
    ~LeavingDiscTest() override { records.components.discbay.reset(); }

    static constexpr const char* kSr0 = "/dev/sr0";
    std::vector<MountPoint> mounts{{dir.file("cdrom"), "iso9660", kSr0}};
    TableOf table{[this] { return DriveTable::build("/home/me", "me", {kSr0}, mounts, IniFile::parse("")); }};
    DiscbayCore* core = nullptr;
    const std::string first = dir.write("cdrom/MPEGAV/AVSEQ01.DAT", "1");
    const std::string second = dir.write("cdrom/MPEGAV/AVSEQ02.DAT", "2");
};

// The desktop, the drive's button or an unmount take the disc: the mount is gone before the
// notice comes, and the drive's entries are found by the folder it held.
TEST_F(LeavingDiscTest, ADiscThatLeftWithoutThePlayersEjectTakesItsEntries)
{
    struct Case {
        const char* what;
        uint32_t current;  // in the list a, first, second, b
        uint32_t currentAfter;
        std::string open;
    };
    const Case cases[] = {
        {"a track of another drive plays on", 4, 2, b},
        {"the disc's track ends and the list starts over", 2, 1, a},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mounts = {{dir.file("cdrom"), "iso9660", kSr0}};
        ASSERT_TRUE(records.components.discbay->init(mainWindow.get(), msg::DiscEvent));
        loadList({a, first, second, b}, c.current, 2);
        mounts.clear();
        core->rescan();
        // A second look before the notice is handled keeps what the first kept.
        core->rescan();
        runMainQueue();
        EXPECT_EQ(listPaths(), (std::vector<std::string>{a, b}));
        EXPECT_EQ(records.state.currentTrack, c.currentAfter);
        EXPECT_EQ(engine->openPath, c.open);
        EXPECT_EQ(engine->status, 2);
        EXPECT_TRUE(records.components.discbay->takeGoneRoots(drive('D')).empty()) << "let go once handled";
        records.components.discbay->deInit(mainWindow.get());
    }
}
}  // namespace
