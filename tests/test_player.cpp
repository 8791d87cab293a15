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
#include "context/app_context.h"
#include "tests/support/temp_dir.h"

namespace {

// The shipped configuration and skin beside a stand-in executable, the video window's
// pictures left out when the skin is to refuse it.
void layOut(const TempDir& dir, bool videoRefused)
{
    namespace fs = std::filesystem;
    app().windows.instance = dir.write("bin/quintara", "");
    fs::copy(QUINTARA_SOURCE_DIR "/resources/skin", dir.file("bin/skin"), fs::copy_options::recursive);
    std::ifstream shipped(QUINTARA_SOURCE_DIR "/resources/Quintara.CFG");
    std::stringstream config;
    config << "[Initiation]\nRC Path=skin\n";
    if (videoRefused)
        config << "[Video]\nLT-Border Bitmap=missing.bmp\n";
    config << shipped.rdbuf();
    dir.write("bin/Quintara.CFG", config.str());
}

bool nothingLeft()
{
    const AppWindows& windows = app().windows;
    const Components& components = app().components;
    return QApplication::topLevelWidgets().isEmpty() && !windows.main && !windows.panel && !windows.videoFrame &&
           !windows.videoImage && dynamic_cast<NoEngine*>(components.reelkit.get()) &&
           dynamic_cast<NoMixer*>(components.sonokit.get()) && dynamic_cast<NoDrives*>(components.discbay.get()) &&
           !app().playList;
}

TEST(Player, BuildsWiredAndLeavesNothingBehindWhetherTheStartWentThroughOrWasRefused)
{
    ShutdownSignals shutdownSignals;
    for (const bool videoRefused : {false, true}) {
        TempDir dir;
        {
            Player player(nullptr, shutdownSignals);
            EXPECT_TRUE(player.unwired().empty()) << player.unwired().front();
            layOut(dir, videoRefused);
            EXPECT_EQ(player.create(), videoRefused ? -1 : 0);
            EXPECT_NE(app().windows.panel, nullptr);
            EXPECT_EQ(app().windows.videoFrame == nullptr, videoRefused);
            if (!videoRefused) {
                player.mainWindow().destroy();
                EXPECT_EQ(app().windows.panel, nullptr);
            }
        }
        EXPECT_TRUE(nothingLeft()) << (videoRefused ? "refused" : "created");
    }
}

TEST(Player, AKeyMapLeftUnwiredIsNamed)
{
    resetApp();
    OwnedWindows windows;
    EXPECT_EQ(UnwiredParts(), (std::vector<std::string>{"the keyboard map"}));
    WirePlayerLogic(windows);
    EXPECT_TRUE(UnwiredParts().empty());
    resetApp();
}

}  // namespace
