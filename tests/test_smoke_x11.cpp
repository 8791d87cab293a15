// The real player on a real X server: it shows the clips named on its command line, one
// after the other, and ends in order when asked to close.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/player_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_clips.h"

namespace {

constexpr int kOrderly = 18;

// A clip of one flat colour, so that the screen tells which one plays.
std::string colourClip(const TempDir& dir, const std::string& colour)
{
    const std::string path = dir.file(colour + ".mpg");
    const bool made = RunFfmpeg({"-f", "lavfi", "-i", "color=c=" + colour + ":size=352x240:rate=25:duration=2", "-an",
                                 "-c:v", "mpeg1video", "-b:v", "1150k", "-f", "mpeg", path});
    return made ? path : std::string();
}

// The colour at the middle of the screen, where the video window opens at its first start.
QColor screenCentre()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    const QImage shot = screen->grabWindow(0).toImage();
    return shot.pixelColor(shot.width() / 2, shot.height() / 2);
}

bool near(const QColor& seen, const QColor& wanted)
{
    return std::abs(seen.red() - wanted.red()) < 60 && std::abs(seen.green() - wanted.green()) < 60 &&
           std::abs(seen.blue() - wanted.blue()) < 60;
}

TEST(Smoke, FilesOnTheCommandLinePlayInTurnOnTheScreenAndThePlayerEndsInOrder)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs a real X server";
    TempDir dir;
    const std::string red = colourClip(dir, "red");
    const std::string blue = colourClip(dir, "blue");
    ASSERT_FALSE(red.empty() || blue.empty()) << "ffmpeg could not make the clips";

    PlayerSandbox sandbox;
    sandbox.environment.insert("QT_QPA_PLATFORM", "xcb");
    sandbox.environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
    auto player = sandbox.launch({QString::fromStdString(red), QString::fromStdString(blue)});
    ASSERT_TRUE(player);

    EXPECT_TRUE(QTest::qWaitFor([] { return near(screenCentre(), Qt::red); }, 15000)) << "the first clip never showed";
    EXPECT_TRUE(QTest::qWaitFor([] { return near(screenCentre(), Qt::blue); }, 15000)) << "the second never followed";

    // Left in the test's working folder for a person to look at.
    QGuiApplication::primaryScreen()->grabWindow(0).save("smoke-screen.png");

    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
}

}  // namespace
