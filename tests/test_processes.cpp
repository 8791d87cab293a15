// The real player in real processes: the hand-over between two starts and the ways it ends.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>

#include <filesystem>
#include <fstream>

#include <csignal>

#include "tests/support/player_process.h"

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
}  // namespace
