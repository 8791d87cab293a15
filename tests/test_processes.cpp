// The real player in real processes: the hand-over between two starts and the ways it ends.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <filesystem>
#include <fstream>

#include <csignal>

#include "tests/support/player_process.h"
#include "tests/support/test_clips.h"

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

TEST(Processes, ASecondStartHandsTheDriveOverBeforePlay)
{
    PlayerSandbox sandbox;
    sandbox.environment.insert("QUINTARA_TRACE_MESSAGES", "1");
    auto first = sandbox.launch();
    ASSERT_TRUE(first);
    EXPECT_EQ(sandbox.run({"/play", "", "e:"}), 0);
    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*first), kOrderly);

    const QString trace = QString::fromUtf8(first->readAllStandardError());
    const qsizetype drive = trace.indexOf("message 1125 1 4");
    const qsizetype play = trace.indexOf("message 1125 0 0");
    ASSERT_GE(drive, 0) << trace.toStdString();
    EXPECT_GT(play, drive) << trace.toStdString();
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

// Where only Wayland exists the player runs on it natively: its two windows are the
// compositor's toplevels, a clip plays, "Close" ends it in order, and the positions stored by
// an X session are neither applied nor overwritten (the compositor keeps them), while the
// video window's size still is.
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
    compositor.start(weston, {"--backend=headless-backend.so", "--socket=wayland-quintara", "--no-config",
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
    std::ofstream(profile) << "[Panel]\nPosition=17,23\n[Video]\nPosition=5,6\nSize=400,300\n";
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
    auto player = sandbox.launch({"/play", QString::fromStdString(TestClips::get().vcdSilent)});
    ASSERT_TRUE(player);

    const auto log = [&] {
        const QStringList found = QDir(QString::fromStdString(logs.path())).entryList({"mpv-*.log"}, QDir::Files);
        return found.isEmpty() ? std::string() : readText(logs.file(found.front().toStdString()));
    };
    EXPECT_TRUE(waitUntil(*player, [&] { return log().find("video EOF") != std::string::npos; }))
        << "the clip never played to its end:\n" << log();
    EXPECT_NE(log().find("playback restart complete"), std::string::npos);

    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
    const std::string protocol = QString::fromUtf8(player->readAllStandardError()).toStdString();
    EXPECT_GE(QString::fromStdString(protocol).count(QRegularExpression("xdg_toplevel@\\d+\\.set_title")), 2)
        << "no Wayland toplevels: " << protocol.substr(0, 2000);
    const std::string stored = readText(profile);
    EXPECT_NE(stored.find("Position=17,23"), std::string::npos) << stored;
    EXPECT_NE(stored.find("Position=5,6"), std::string::npos) << stored;
    EXPECT_NE(stored.find("Size=400,300"), std::string::npos) << stored;

    compositor.terminate();
    EXPECT_TRUE(compositor.waitForFinished(5000));
}

}  // namespace
