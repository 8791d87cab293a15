// The real player in real processes: the hand-over between two starts and the ways it ends.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <csignal>

#include "tests/support/player_process.h"
#include "tests/support/test_clips.h"
#include "tests/support/weston_output.h"

namespace {
constexpr int kOrderly = 18;

TEST(Processes, CloseFromASecondStartEndsTheFirstInOrder)
{
    PlayerSandbox sandbox;
    auto first = sandbox.launch();
    ASSERT_TRUE(first);
    // A line with a file besides "close" is no close.
    TempDir files;
    const QString clip = QString::fromStdString(files.write("clip.mpg", "not a clip"));
    EXPECT_EQ(sandbox.run({clip, "close"}), 0);
    EXPECT_TRUE(sandbox.channelReachable());
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(sandbox.run({"close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*first), kOrderly);
    EXPECT_FALSE(sandbox.channelExists());
}

TEST(Processes, ASecondStartWithNothingToSayLeavesTheFirstAlone)
{
    PlayerSandbox sandbox;
    sandbox.environment.insert("QUINTARA_TRACE_MESSAGES", "1");
    auto first = sandbox.launch();
    ASSERT_TRUE(first);
    EXPECT_EQ(sandbox.run({"Close", "now"}), 0);
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_EQ(sandbox.run({"Destroy"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*first), kOrderly);
    EXPECT_FALSE(QString::fromUtf8(first->readAllStandardError()).contains("message 1125"));
}

TEST(Processes, DestroyWithNoneRunningEndsAtOnceAndNeedsNoDisplay)
{
    PlayerSandbox sandbox;
    sandbox.environment.remove("QT_QPA_PLATFORM");
    sandbox.environment.insert("DISPLAY", ":98765");
    EXPECT_EQ(sandbox.run({"Destroy"}, nullptr, 5000), 0);
    EXPECT_EQ(sandbox.run({"close"}, nullptr, 5000), 0);
    EXPECT_FALSE(sandbox.channelExists());
    EXPECT_FALSE(QDir(QString::fromStdString(sandbox.runtime().file("config"))).exists());
}

TEST(Processes, AKilledInstanceDoesNotStopTheNextStart)
{
    PlayerSandbox sandbox;
    auto killed = sandbox.launch();
    ASSERT_TRUE(killed);
    ::kill(static_cast<pid_t>(killed->processId()), SIGKILL);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*killed), -1);
    EXPECT_TRUE(sandbox.channelExists());  // left behind

    auto next = sandbox.launch();
    ASSERT_TRUE(next);
    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*next), kOrderly);
}

TEST(Processes, PoliteSignalsRunTheOrderlyShutDown)
{
    for (int number : {SIGTERM, SIGINT, SIGHUP}) {
        PlayerSandbox sandbox;
        auto player = sandbox.launch();
        ASSERT_TRUE(player);
        ::kill(static_cast<pid_t>(player->processId()), number);
        EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly) << "signal " << number;
    }
}

TEST(Processes, AConfigurationWithByteOrderMarkCrLfAndJunkStillStarts)
{
    PlayerSandbox sandbox;
    TempDir folder;
    const QString player = sandbox.copyOfPlayer(folder);
    // The shipped configuration and skin, the file written as an editor on Windows would,
    // with junk around it.
    std::filesystem::copy(QUINTARA_SOURCE_DIR "/resources/skin", folder.file("skin"),
                          std::filesystem::copy_options::recursive);
    std::ifstream shipped(QUINTARA_SOURCE_DIR "/resources/Quintara.CFG");
    std::string config = "\xEF\xBB\xBF\x01\x02\xff junk = = [\r\n";
    for (std::string line; std::getline(shipped, line);)
        config += line + "\r\n";
    config += std::string("\0\0\0 more junk", 13);
    folder.write("Quintara.CFG", config);
    auto running = sandbox.launch({}, player);
    ASSERT_TRUE(running);
    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*running), kOrderly);
}

TEST(Processes, ASkinMissingItsPicturesRefusesTheStartSayingWhy)
{
    PlayerSandbox sandbox;
    TempDir folder;
    const QString player = sandbox.copyOfPlayer(folder);
    folder.write("Quintara.CFG", "[Initiation]\nUse ActiveMovie = 1\n");
    QProcess process;
    process.setProcessEnvironment(sandbox.environment);
    process.start(player, {});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_FALSE(process.readAllStandardError().isEmpty());
}
// Waits, bounded, until the condition holds or the process ends; answers the condition.
template <typename Condition>
bool waitUntil(QProcess& process, Condition condition, int timeoutMs = 15000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition() && !deadline.hasExpired() && process.state() == QProcess::Running)
        process.waitForFinished(50);
    return condition();
}

std::string readText(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The compositor's background, where no window covers it.
constexpr QRgb kBackground = 0xffffffff;

// Where a window lies over no other, the screen shows its own pixels, blended with the
// background by their alpha.
struct ScreenCount {
    int checked = 0;
    int background = 0;  // how many of them show the background
    int black = 0;
};

bool overAnother(const std::vector<WestonToplevel>& windows, const WestonToplevel& own, QPoint at)
{
    return std::any_of(windows.begin(), windows.end(),
                       [&](const WestonToplevel& w) { return &w != &own && w.rect.contains(at); });
}

void count(ScreenCount& into, QRgb shown)
{
    ++into.checked;
    into.background += shown == kBackground;
    into.black += qRed(shown) < 16 && qGreen(shown) < 16 && qBlue(shown) < 16;
}

// The panel's pixels outside its outline (white in the skin's region picture) and inside it.
std::pair<ScreenCount, ScreenCount> panelOnScreen(const QImage& shot, const std::vector<WestonToplevel>& windows,
                                                  const WestonToplevel& panel, const QImage& region)
{
    ScreenCount outside, inside;
    for (int y = 0; y < region.height(); ++y)
        for (int x = 0; x < region.width(); ++x) {
            const QPoint at = panel.rect.topLeft() + QPoint(x, y);
            if (shot.rect().contains(at) && !overAnother(windows, panel, at))
                count(region.pixel(x, y) == 0xffffffff ? outside : inside, shot.pixel(at));
        }
    return {outside, inside};
}

// The video window's picture, inside its frame's corners.
ScreenCount pictureOnScreen(const QImage& shot, const std::vector<WestonToplevel>& windows,
                            const WestonToplevel& video)
{
    constexpr int kInset = 32;  // the default skin's corners are 24 pixels
    ScreenCount picture;
    const QRect inner = video.rect.adjusted(kInset, kInset, -kInset, -kInset);
    for (int y = inner.top(); y <= inner.bottom(); y += 4)
        for (int x = inner.left(); x <= inner.right(); x += 4)
            if (shot.rect().contains(x, y) && !overAnother(windows, video, {x, y}))
                count(picture, shot.pixel(x, y));
    return picture;
}

// What the compositor shows of the panel and the picture: outside the panel's outline the
// background, not the face's corners; the picture opaque, not blended into the white
// background. The video window is narrower than the panel and its picture taller than it, so
// some of either lies over no other window wherever the compositor puts them.
void checkTheScreen(const QProcessEnvironment& clients)
{
    QString graph;
    const std::vector<WestonToplevel> windows = WestonToplevels(clients, &graph);
    const QImage region =
        QImage(QUINTARA_SOURCE_DIR "/resources/skin/panel/region.bmp").convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(windows.size(), 2u) << graph.toStdString();
    const bool panelFirst = windows[0].rect.size() == region.size();
    const WestonToplevel& panel = windows[panelFirst ? 0 : 1];
    const WestonToplevel& video = windows[panelFirst ? 1 : 0];
    ASSERT_EQ(panel.rect.size(), region.size()) << graph.toStdString();
    const QImage shot = WestonScreenshot(clients);
    ASSERT_FALSE(shot.isNull()) << "weston-screenshooter took no picture";
    const ScreenCount picture = pictureOnScreen(shot, windows, video);

    const auto [outside, inside] = panelOnScreen(shot, windows, panel, region);
    EXPECT_GE(outside.checked, 10) << graph.toStdString();
    EXPECT_EQ(outside.background, outside.checked) << "the panel's corners are drawn";
    EXPECT_LT(inside.background * 20, inside.checked) << "the panel is not where the compositor says";
    EXPECT_GE(picture.checked, 200) << graph.toStdString();
    // Composed with alpha 0 it comes out white or black, not as the clip's colours.
    EXPECT_LT(picture.background * 2, picture.checked) << "the picture does not show";
    EXPECT_LT(picture.black * 2, picture.checked) << "the picture does not show";
}

// Where only Wayland exists the player runs on it natively: its two windows are the
// compositor's toplevels, a clip plays, "Close" ends it in order, and the positions stored by
// an X session are neither applied nor overwritten (the compositor keeps them), while the
// video window's size still is. The compositor shows the panel in its outline and the picture
// opaque.
TEST(Processes, NativelyOnWaylandAClipPlaysAndCloseEndsInOrder)
{
    const QString weston = QStandardPaths::findExecutable("weston");
    if (weston.isEmpty())
        GTEST_SKIP() << "weston is not installed (package weston)";
    PlayerSandbox sandbox;
    QProcessEnvironment compositorEnvironment = sandbox.environment;
    compositorEnvironment.remove("DISPLAY");
    QProcess compositor;
    compositor.setProcessEnvironment(compositorEnvironment);
    compositor.setProcessChannelMode(QProcess::MergedChannels);
    // A plain white background and no shell panel; --debug lets its clients read the scene
    // and take screenshots, which the pixman renderer composes.
    TempDir compositorFiles;
    const std::string config = compositorFiles.write(
        "weston.ini", "[shell]\nbackground-color=0xffffffff\npanel-position=none\n");
    compositor.start(weston, {"--backend=headless-backend.so", "--use-pixman", "--width=1024", "--height=768",
                              "--debug", "--socket=wayland-quintara", QString::fromStdString("--config=" + config),
                              "--idle-time=0"});
    const std::string socket = sandbox.runtime().file("wayland-quintara");
    if (!compositor.waitForStarted(5000) || !waitUntil(compositor, [&] { return std::filesystem::exists(socket); }, 10000)) {
        compositor.kill();
        compositor.waitForFinished(2000);
        GTEST_SKIP() << "weston's headless backend did not start here: "
                     << compositor.readAll().right(400).toStdString();
    }

    const std::string profile = sandbox.runtime().file("config/Halvex/VideoPlayer/profile.ini");
    std::filesystem::create_directories(std::filesystem::path(profile).parent_path());
    std::ofstream(profile) << "[Panel]\nPosition=17,23\n[Video]\nPosition=5,6\nSize=480,360\n";
    TempDir logs;
    sandbox.environment.remove("QT_QPA_PLATFORM");
    sandbox.environment.remove("DISPLAY");
    sandbox.environment.insert("WAYLAND_DISPLAY", "wayland-quintara");
    sandbox.environment.insert("WAYLAND_DEBUG", "client");
    sandbox.environment.insert("QUINTARA_MPV_LOG", QString::fromStdString(logs.path()));
    // Sanitized, the player must unwind allocations exactly: what Mesa's EGL leaves behind on
    // Wayland is known (tests/lsan.supp) only by frames beyond its driver's, which have no
    // frame pointers.
    const QString asan = sandbox.environment.value("ASAN_OPTIONS");
    sandbox.environment.insert("ASAN_OPTIONS", (asan.isEmpty() ? "" : asan + ":") + "fast_unwind_on_malloc=0");
    // "/play" beside a file plays the file: a play-list dialog would lie over these windows.
    auto player = sandbox.launch({"/play", QString::fromStdString(TestClips::get().vcdSilent)});
    ASSERT_TRUE(player);

    const auto log = [&] {
        const QStringList found = QDir(QString::fromStdString(logs.path())).entryList({"mpv-*.log"}, QDir::Files);
        return found.isEmpty() ? std::string() : readText(logs.file(found.front().toStdString()));
    };
    EXPECT_TRUE(waitUntil(*player, [&] { return log().find("video EOF") != std::string::npos; }))
        << "the clip never played to its end:\n" << log();
    EXPECT_NE(log().find("playback restart complete"), std::string::npos);
    QProcessEnvironment clients = compositorEnvironment;
    clients.insert("WAYLAND_DISPLAY", "wayland-quintara");
    checkTheScreen(clients);

    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
    const std::string protocol = QString::fromUtf8(player->readAllStandardError()).toStdString();
    EXPECT_GE(QString::fromStdString(protocol).count(QRegularExpression("xdg_toplevel@\\d+\\.set_title")), 2)
        << "no Wayland toplevels: " << protocol.substr(0, 2000);
    const std::string stored = readText(profile);
    EXPECT_NE(stored.find("Position=17,23"), std::string::npos) << stored;
    EXPECT_NE(stored.find("Position=5,6"), std::string::npos) << stored;
    EXPECT_NE(stored.find("Size=480,360"), std::string::npos) << stored;

    compositor.terminate();
    EXPECT_TRUE(compositor.waitForFinished(5000));
}

}  // namespace
