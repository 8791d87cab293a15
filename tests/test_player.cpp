// The one owner: it wires every part, refuses a start with a part left unwired, and leaves
// nothing behind it, whether the start went through or was refused.

#include <QApplication>
#include <QWidget>

#include <algorithm>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/player.h"
#include "app/shutdown_signals.h"
#include "app/wiring.h"
#include "app/player_records.h"
#include "tests/support/temp_dir.h"

namespace {

// The shipped configuration and skin beside a stand-in executable, the video window's
// pictures left out when the skin is to refuse it.
// Answers the stand-in executable.
std::string layOut(const TempDir& dir, bool videoRefused)
{
    namespace fs = std::filesystem;
    const std::string instance = dir.write("bin/quintara", "");
    fs::copy(QUINTARA_SOURCE_DIR "/resources/skin", dir.file("bin/skin"), fs::copy_options::recursive);
    std::ifstream shipped(QUINTARA_SOURCE_DIR "/resources/Quintara.CFG");
    std::stringstream config;
    config << "[Initiation]\nRC Path=skin\n";
    if (videoRefused)
        config << "[Video]\nLT-Border Bitmap=missing.bmp\n";
    config << shipped.rdbuf();
    dir.write("bin/Quintara.CFG", config.str());
    return instance;
}

// What the main window's shut-down ends; the main window itself lives as long as the player.
bool noWindowLeft(const PlayerRecords& records)
{
    const AppWindows& windows = records.windows;
    return QApplication::topLevelWidgets().isEmpty() && !windows.panel && !windows.videoFrame && !windows.videoImage &&
           !records.playList.list();
}

TEST(Player, BuildsWiredAndLeavesNothingBehindWhetherTheStartWentThroughOrWasRefused)
{
    ShutdownSignals shutdownSignals;
    for (const bool videoRefused : {false, true}) {
        TempDir dir;
        {
            Player player(nullptr, shutdownSignals, layOut(dir, videoRefused));
            EXPECT_TRUE(player.unwired().empty()) << player.unwired().front();
            const PlayerRecords& records = player.records();
            EXPECT_EQ(player.create(), videoRefused ? -1 : 0);
            EXPECT_NE(records.windows.panel, nullptr);
            EXPECT_EQ(records.windows.videoFrame == nullptr, videoRefused);
            if (!videoRefused) {
                player.mainWindow().destroy();
                EXPECT_TRUE(noWindowLeft(records)) << "after the shut-down";
            }
        }
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << (videoRefused ? "refused" : "created");
    }
}

TEST(Player, AKeyMapLeftUnwiredIsNamed)
{
    PlayerRecords records;
    OwnedWindows windows;
    EXPECT_EQ(UnwiredParts(records), (std::vector<std::string>{"the keyboard map"}));
    WirePlayerLogic(records, windows);
    EXPECT_TRUE(UnwiredParts(records).empty());
}

}  // namespace
