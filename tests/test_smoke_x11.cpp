// The real player on a real X server: it shows the clips named on its command line, one
// after the other, and ends in order when asked to close, also while a dialog or a menu of
// it is open; its windows show the application's icons.

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "tests/support/player_process.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_clips.h"
#include "tests/support/vcd_pbc_image.h"
#include "tests/support/x11_windows.h"

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

// The value of a key in a section of an ini-style file; empty when it is not there.
std::string iniValue(const std::string& path, const std::string& section, const std::string& key)
{
    std::ifstream file(path);
    std::string current;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            current = line.substr(1, line.size() - 2);
        else if (current == section && line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    }
    return {};
}

std::string profileFile(const PlayerSandbox& sandbox)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(sandbox.runtime().file("config"))) {
        if (entry.path().filename() == "profile.ini")
            return entry.path().string();
    }
    return {};
}

std::string pair(int a, int b)
{
    return std::to_string(a) + "," + std::to_string(b);
}

// The shipped configuration and skin beside a copy of the player, with two CD-ROM drives
// bound to folders so that the drive buttons open their menu.
class PlayerBeside {
public:
    explicit PlayerBeside(PlayerSandbox& sandbox)
        : executable(sandbox.copyOfShippedPlayer(folder, [this](const std::string& config) {
              std::filesystem::create_directories(folder.file("discs/one"));
              std::filesystem::create_directories(folder.file("discs/two"));
              return config + "\n[Drives]\nE:=" + folder.file("discs/one") + "\nF:=" + folder.file("discs/two") + "\n";
          }))
    {
    }

    TempDir folder;
    QString executable;
};

// The centre of a button of the shipped panel, in panel pixels (its Position and Size).
constexpr QPoint kPlayListButton(604 + 23, 146 + 12);
constexpr QPoint kDiscButton(655 + 23, 104 + 12);
constexpr QPoint kAudioPropertiesButton(655 + 23, 146 + 12);

enum class CloseBy { SecondStart, Signal };

struct ModalCase {
    const char* what;
    QPoint button;
    std::function<std::optional<xcb_window_t>(X11Windows&, int64_t pid)> shown;
    CloseBy closeBy;
};

TEST(Smoke, AskedToCloseWhileADialogOrMenuIsOpenThePlayerEndsItThenEndsInOrderSavingThePlaces)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs a real X server";
    const auto titled = [](const char* title) {
        return [title](X11Windows& x, int64_t pid) { return x.shownWindowTitled(pid, title); };
    };
    const auto menu = [](X11Windows& x, int64_t pid) { return x.shownMenu(pid); };
    const ModalCase cases[] = {
        {"the play-list dialog", kPlayListButton, titled("Video Player"), CloseBy::SecondStart},
        {"the play-list dialog", kPlayListButton, titled("Video Player"), CloseBy::Signal},
        {"the drive menu", kDiscButton, menu, CloseBy::SecondStart},
        {"the drive menu", kDiscButton, menu, CloseBy::Signal},
        {"the audio dialog", kAudioPropertiesButton, titled("MPEG Audio Decoder"), CloseBy::SecondStart},
        {"the audio dialog", kAudioPropertiesButton, titled("MPEG Audio Decoder"), CloseBy::Signal},
    };
    X11Windows x;
    ASSERT_TRUE(x.connected());
    for (const ModalCase& c : cases) {
        SCOPED_TRACE(std::string(c.what) + (c.closeBy == CloseBy::Signal ? ", SIGTERM" : ", Close"));
        PlayerSandbox sandbox;
        sandbox.environment.insert("QT_QPA_PLATFORM", "xcb");
        sandbox.environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
        // Freed memory filled with junk: a use after the shut-down shows as a crash.
        sandbox.environment.insert("MALLOC_PERTURB_", "165");
        PlayerBeside beside(sandbox);
        auto player = sandbox.launch({}, beside.executable);
        ASSERT_TRUE(player);
        const int64_t pid = player->processId();

        std::optional<xcb_window_t> panel, video;
        ASSERT_TRUE(QTest::qWaitFor([&] {
            panel = x.shownWindowTitled(pid, "Quintara");
            video = x.shownWindowTitled(pid, "Quintara Video");
            return panel && video;
        }, 15000)) << "the panel and the video window never showed";
        const QRect panelPlace = x.geometry(*panel);
        const QRect videoPlace = x.geometry(*video);
        ASSERT_TRUE(x.click(panelPlace.topLeft() + c.button));
        ASSERT_TRUE(QTest::qWaitFor([&] { return c.shown(x, pid).has_value(); }, 15000)) << "it never opened";

        if (c.closeBy == CloseBy::SecondStart)
            EXPECT_EQ(sandbox.run({"Close"}), 0);
        else
            ::kill(static_cast<pid_t>(pid), SIGTERM);
        EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly)
            << player->readAllStandardError().toStdString();

        const std::string profile = profileFile(sandbox);
        ASSERT_FALSE(profile.empty()) << "no profile was written";
        EXPECT_EQ(iniValue(profile, "Panel", "Position"), pair(panelPlace.x(), panelPlace.y()));
        EXPECT_EQ(iniValue(profile, "Video", "Position"), pair(videoPlace.x(), videoPlace.y()));
        EXPECT_EQ(iniValue(profile, "Video", "Size"), pair(videoPlace.width(), videoPlace.height()));
    }
}

TEST(Smoke, ThePanelAndTheVideoWindowGiveTheWindowManagerTheirIcons)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs a real X server";
    X11Windows x;
    ASSERT_TRUE(x.connected());
    PlayerSandbox sandbox;
    sandbox.environment.insert("QT_QPA_PLATFORM", "xcb");
    sandbox.environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
    PlayerBeside beside(sandbox);
    auto player = sandbox.launch({}, beside.executable);
    ASSERT_TRUE(player);
    const int64_t pid = player->processId();

    std::optional<xcb_window_t> panel, video, dialog;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        panel = x.shownWindowTitled(pid, "Quintara");
        video = x.shownWindowTitled(pid, "Quintara Video");
        return panel && video;
    }, 15000));
    ASSERT_TRUE(x.click(x.geometry(*panel).topLeft() + kPlayListButton));
    ASSERT_TRUE(QTest::qWaitFor([&] { return (dialog = x.shownWindowTitled(pid, "Video Player")).has_value(); }, 15000));

    const QImage player101 = QImage(":/icons/quintara.png").convertToFormat(QImage::Format_ARGB32);
    const QImage video102 = QImage(":/icons/video.png").convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(player101.isNull() || video102.isNull());
    EXPECT_EQ(x.icon(*panel), player101);
    EXPECT_EQ(x.icon(*video), video102);
    EXPECT_EQ(x.icon(*dialog), player101);

    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
}

// A Video CD with menus named on the command line: its menu shows, and a number typed on the
// video window plays the list the menu gives it (3: list 4, from an entry of track 2).
TEST(Smoke, AVideoCdsMenuShowsAndATypedNumberPlaysTheListItNames)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs a real X server";
    const PbcImage image(PbcImage::Kind::VideoCd);
    PlayerSandbox sandbox;
    PlayerBeside beside(sandbox);
    sandbox.environment.insert("QT_QPA_PLATFORM", "xcb");
    sandbox.environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
    auto player = sandbox.launch({QString::fromStdString(image.cue)}, beside.executable);
    ASSERT_TRUE(player);

    X11Windows x;
    ASSERT_TRUE(x.connected());
    // The video window's title is the open file's path.
    std::optional<xcb_window_t> video;
    QStringList seen;  // each title as it changes
    const auto titled = [&](const QString& part) {
        return QTest::qWaitFor(
            [&] {
                for (const xcb_window_t window : x.shownWindows(player->processId())) {
                    const QString title = x.title(window);
                    if (!title.contains(".cue/"))
                        continue;
                    if (const QString inside = title.mid(title.indexOf(".cue/") + 4);
                        seen.isEmpty() || seen.back() != inside)
                        seen.push_back(inside);
                    if (title.contains(part)) {
                        video = window;
                        return true;
                    }
                }
                return false;
            },
            15000);
    };
    ASSERT_TRUE(titled(".cue/SEGMENT/ITEM0001.DAT")) << "the menu never showed";
    ASSERT_TRUE(x.type(*video, '3'));
    // The first track that opens; the menu's timeout would have opened track 1.
    ASSERT_TRUE(titled(".cue/MPEGAV/"));
    EXPECT_TRUE(seen.back().endsWith("/MPEGAV/AVSEQ02.DAT")) << seen.join(", ").toStdString();

    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
}

}  // namespace
