// The drive component installed in the player: a folder bound as a CD-ROM drive fills with a
// Video CD and empties again, and the player's own disc handling loads and drops it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "playback/playback.h"
#include "components/discbay/discbay_linux.h"
#include "tests/support/playback_fixture.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr uintptr_t kDriveX = 'X' - 'A';

class DiscbayInPlayer : public PlaybackTest {
protected:
    DiscbayInPlayer()
    {
        records.settings.cfgPath = dir.write("Quintara.CFG", "[Drives]\nX: = " + dir.file("x") + "\n");
        fs::create_directories(dir.file("x"));
        auto made = MakeLinuxDiscbay(records.drives);
        drives = made.get();
        records.components.discbay = std::move(made);
        drives->init(mainWindow.get(), msg::DiscEvent);
    }

    // The messages posted to the main window, each handled in turn.
    std::vector<Message> deliver()
    {
        std::vector<Message> delivered;
        while (!mainQueue.empty()) {
            for (const Message& message : mainQueue.take()) {
                delivered.push_back(message);
                mainWindow->handle(message);
            }
        }
        return delivered;
    }

    TempDir dir;
    DiscbayCore* drives = nullptr;
};

TEST_F(DiscbayInPlayer, AFolderFillingWithAVideoCdLoadsItOnceAndEmptyingDropsItOnce)
{
    records.playList.list()->entries = {{"/elsewhere/old.mpg", 0}};
    const std::vector<std::string> tracks = {dir.write("x/MPEGAV/AVSEQ01.DAT", "1"),
                                             dir.write("x/MPEGAV/AVSEQ02.DAT", "2")};
    dir.write("x/MPEGAV/README.TXT", "not a track");
    drives->rescan();
    EXPECT_EQ(deliver(), (std::vector<Message>{{msg::DiscEvent, kDriveX, 0}}));
    EXPECT_EQ(listPaths(), tracks);
    EXPECT_EQ(engine->openedPaths, std::vector<std::string>{tracks[0]});
    EXPECT_EQ(records.state.currentTrack, 1u);

    drives->rescan();
    EXPECT_TRUE(deliver().empty());
    EXPECT_EQ(engine->openedPaths.size(), 1u);

    fs::remove_all(dir.file("x/MPEGAV"));
    drives->rescan();
    EXPECT_EQ(deliver(), (std::vector<Message>{{msg::DiscEvent, kDriveX, 1}}));
    EXPECT_TRUE(listPaths().empty());
    drives->rescan();
    EXPECT_TRUE(deliver().empty());
}

TEST_F(DiscbayInPlayer, TheDoorTakesTheDiscOutOfThePlayersReach)
{
    const std::string track = dir.write("x/MPEGAV/AVSEQ01.DAT", "1");
    drives->rescan();
    EXPECT_EQ(deliver(), (std::vector<Message>{{msg::DiscEvent, kDriveX, 0}}));
    ASSERT_EQ(listPaths(), std::vector<std::string>{track});

    ASSERT_EQ(drives->isCDRomDoorOpen(kDriveX), false);
    ASSERT_TRUE(drives->openCDRomDoor(kDriveX, true));
    EXPECT_EQ(deliver(), (std::vector<Message>{{msg::DiscEvent, kDriveX, 1}}));
    EXPECT_TRUE(listPaths().empty());
    records.playback.LoadDisc(kDriveX, 0);
    EXPECT_TRUE(listPaths().empty()) << "an open drive holds nothing to load";

    ASSERT_TRUE(drives->openCDRomDoor(kDriveX, false));
    EXPECT_EQ(deliver(), (std::vector<Message>{{msg::DiscEvent, kDriveX, 0}}));
    EXPECT_EQ(listPaths(), std::vector<std::string>{track});
}

}  // namespace
