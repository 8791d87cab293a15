// Faults a desktop really has, met by the real player among the real processes around it: a
// sound server that dies, files that go or never were media, a profile that cannot be
// written, polite kills at awkward moments, and many second starts at once.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/player_process.h"
#include "tests/support/private_services.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_clips.h"

namespace {
constexpr int kOrderly = 18;
constexpr int kWaitMs = 20000;

bool waitUntil(const std::function<bool()>& done, int timeoutMs = kWaitMs, int pollMs = 50)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(pollMs);
    }
    return true;
}

// The player as the desktop sees it: playerctl on a bus of the test's own.
class Desktop {
public:
    explicit Desktop(PlayerSandbox& sandbox)
    {
        sandbox.environment.insert("DBUS_SESSION_BUS_ADDRESS", bus_.address);
        environment_ = sandbox.environment;
    }
    bool ready() const { return !bus_.address.isEmpty(); }
    // playerctl's answer, trimmed; "failed" when it failed.
    QString ask(const QStringList& words) const
    {
        QProcess playerctl;
        playerctl.setProcessEnvironment(environment_);
        playerctl.start("playerctl", QStringList{"-p", "quintara"} + words);
        if (!playerctl.waitForFinished(kWaitMs) || playerctl.exitStatus() != QProcess::NormalExit ||
            playerctl.exitCode() != 0)
            return "failed";
        return QString::fromUtf8(playerctl.readAllStandardOutput()).trimmed();
    }
    bool plays(const QString& fileName) const
    {
        return ask({"status"}) == "Playing" && ask({"metadata", "xesam:url"}).endsWith("/" + fileName);
    }

private:
    PrivateBus bus_;
    QProcessEnvironment environment_;
};

QString path(const std::string& file)
{
    return QString::fromStdString(file);
}

TEST(Faults, TheSoundServerDiesAndComesBackWhileAClipPlays)
{
    TempDir files, serverFolder;
    const std::string clip = MakeClip(files.file("long.mpg"), 30);
    ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the clip";
    PrivateSoundServer server(serverFolder);
    ASSERT_TRUE(server.start());
    PlayerSandbox sandbox;
    sandbox.environment.insert("PULSE_SERVER", path(server.address()));
    Desktop desktop(sandbox);
    ASSERT_TRUE(desktop.ready());
    auto player = sandbox.launch({path(clip)});
    ASSERT_TRUE(player);
    ASSERT_TRUE(waitUntil([&] { return desktop.plays("long.mpg"); }));

    // The player's own stream, as the server lists it: at 40 % and muted, once it is there.
    const auto ownStream = [&](const QString& wanted) {
        QString listed;
        server.pactl({"list", "sink-inputs"}, &listed);
        return listed.contains("application.name = \"quintara\"") &&
               QRegularExpression(wanted).match(listed).hasMatch();
    };
    const QString quietAndMuted = R"(Mute: yes\s+Volume: [^\n]* 40% )";
    EXPECT_EQ(desktop.ask({"volume", "0.4"}), "");
    // The sound may start a little after the picture.
    QString listed;
    ASSERT_TRUE(waitUntil(
        [&] { return server.pactl({"list", "short", "sink-inputs"}, &listed) && !listed.isEmpty(); }));
    ASSERT_TRUE(server.pactl({"set-sink-input-mute", listed.section('\t', 0, 0), "1"}));
    ASSERT_TRUE(waitUntil([&] { return ownStream(quietAndMuted); }));

    server.kill();
    const double before = desktop.ask({"position"}).toDouble();
    EXPECT_TRUE(waitUntil([&] { return desktop.ask({"position"}).toDouble() > before + 1; }))
        << "playback stopped with the server";
    EXPECT_EQ(desktop.ask({"status"}), "Playing");

    // Back again: the sound returns to the new server, as quiet and as muted as it was.
    ASSERT_TRUE(server.start());
    EXPECT_TRUE(waitUntil([&] { return ownStream(quietAndMuted); }));
    EXPECT_EQ(desktop.ask({"status"}), "Playing");
    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
}

TEST(Faults, WhatIsNoMediaAndAFileDeletedWhileItPlaysAreGoneByAndTheListGoesOn)
{
    const TestClips& clips = TestClips::get();
    TempDir files;
    // The clips outlast any wait to see them playing, however loaded the machine; once seen,
    // each is sent to its last seconds.
    const std::string first = MakeClip(files.file("first.mpg"), 60), last = files.file("last.mpg");
    ASSERT_FALSE(first.empty()) << "ffmpeg could not make the clip";
    std::filesystem::copy_file(first, last);
    PlayerSandbox sandbox;
    Desktop desktop(sandbox);
    ASSERT_TRUE(desktop.ready());
    const auto seenThenNearItsEnd = [&](const QString& fileName) {
        // Its length known, the player can seek in it.
        const auto seekable = [&] {
            return desktop.plays(fileName) && desktop.ask({"metadata", "mpris:length"}).toLongLong() > 0;
        };
        return waitUntil(seekable) && desktop.ask({"position", "57"}) == "";
    };
    auto player = sandbox.launch(
        {path(first), path(clips.truncated), path(clips.randomBytes), path(clips.empty), path(last)});
    ASSERT_TRUE(player);
    ASSERT_TRUE(waitUntil([&] { return desktop.plays("first.mpg"); }));
    std::filesystem::remove(first);
    // What is left of it comes from the deleted file.
    ASSERT_TRUE(seenThenNearItsEnd("first.mpg"));
    EXPECT_TRUE(seenThenNearItsEnd("last.mpg"));
    EXPECT_TRUE(waitUntil([&] { return desktop.ask({"status"}) == "Stopped"; })) << "the list did not end";
    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
}

// Whether the process is the player's own by now, past the dynamic loader: it holds or
// handles the polite kills. Before that a kill ends it as it ends any program.
bool MindsPoliteKills(qint64 pid)
{
    QFile status(QString("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigBlk:") || line.startsWith("SigCgt:")) {
            if (line.mid(7).trimmed().toULongLong(nullptr, 16) & (1ULL << (SIGTERM - 1)))
                return true;
        }
    }
    return false;
}

TEST(Faults, APoliteKillWhileStartingOrChangingTracksEndsInOrder)
{
    const TestClips& clips = TestClips::get();
    for (int afterMs : {0, 10, 40, 100, 200, 400}) {
        PlayerSandbox sandbox;
        QProcess player;
        player.setProcessEnvironment(sandbox.environment);
        player.start(QUINTARA_EXE, {path(clips.vcd)});
        ASSERT_TRUE(player.waitForStarted(kWaitMs));
        ASSERT_TRUE(waitUntil([&] { return MindsPoliteKills(player.processId()); }, kWaitMs, 1));
        QThread::msleep(afterMs);
        ::kill(static_cast<pid_t>(player.processId()), SIGTERM);
        const PlayerEnd end = PlayerSandbox::waitForEnd(player, kWaitMs);
        EXPECT_TRUE(end == kOrderly || end == 0)
            << "killed " << afterMs << " ms into the start: " << testing::PrintToString(end);
    }
    // A second start hands a file over; the kill comes while the player changes to it.
    for (int afterMs : {0, 20, 80, 200}) {
        PlayerSandbox sandbox;
        auto player = sandbox.launch({path(clips.vcd)});
        ASSERT_TRUE(player);
        ASSERT_EQ(sandbox.run({path(clips.mp4)}), 0);
        QThread::msleep(afterMs);
        ::kill(static_cast<pid_t>(player->processId()), SIGTERM);
        EXPECT_EQ(PlayerSandbox::waitForEnd(*player, kWaitMs), kOrderly) << "killed " << afterMs << " ms on";
    }
}

TEST(Faults, FiftySecondStartsAtOnceAreEachHeardInTheirOrderAndThePlayerStaysOne)
{
    const TestClips& clips = TestClips::get();
    PlayerSandbox sandbox;
    sandbox.environment.insert("QUINTARA_TRACE_MESSAGES", "1");
    auto first = sandbox.launch();
    ASSERT_TRUE(first);
    first->setReadChannel(QProcess::StandardError);

    // Every other start asks to play a drive, the others hand two files over; what each must
    // leave in the first's trace.
    TempDir files;
    std::map<QString, int> expected;
    std::vector<std::unique_ptr<QProcess>> starts;
    for (int i = 0; i < 50; ++i) {
        QStringList words;
        if (i % 2 == 0) {
            const int drive = 2 + (i / 2) % 24;
            words = {"/Play", "", QString("%1:").arg(QChar('a' + drive))};
            ++expected[QString("message 1125 1 %1").arg(drive)];
            ++expected["message 1125 0 0"];
        } else {
            for (const char* part : {"a", "b"}) {
                const std::string name = files.file(std::to_string(i) + part + ".mpg");
                std::filesystem::create_hard_link(clips.vcd, name);
                words << path(name);
            }
            ++expected["files " + words.join(' ')];
        }
        starts.push_back(std::make_unique<QProcess>());
        starts.back()->setProcessEnvironment(sandbox.environment);
        starts.back()->start(QUINTARA_EXE, words);
    }
    QByteArray trace;
    for (auto& start : starts) {
        // The first's trace is read meanwhile, so that its pipe never fills.
        const QDeadlineTimer deadline(kWaitMs);
        while (!start->waitForFinished(10) && start->state() != QProcess::NotRunning && !deadline.hasExpired()) {
            first->waitForReadyRead(10);
            trace += first->readAllStandardError();
        }
        EXPECT_EQ(start->state(), QProcess::NotRunning);
        EXPECT_EQ(start->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(start->exitCode(), 0);
        EXPECT_EQ(start->readAllStandardError().toStdString(), "");
    }
    EXPECT_EQ(first->state(), QProcess::Running);
    EXPECT_TRUE(sandbox.channelReachable());
    EXPECT_EQ(sandbox.run({"Close"}), 0);
    EXPECT_EQ(PlayerSandbox::waitForEnd(*first), kOrderly);
    trace += first->readAllStandardError();

    std::map<QString, int> heard;
    int drives = 0;
    for (const QByteArray& line : trace.split('\n')) {
        const QString said = QString::fromUtf8(line).remove(QRegularExpression("^quintara: "));
        if (!expected.contains(said))
            continue;
        ++heard[said];
        // A start's play comes after its drive, whatever came between.
        drives += said.startsWith("message 1125 1 ") ? 1 : said == "message 1125 0 0" ? -1 : 0;
        EXPECT_GE(drives, 0) << "a play was heard before its drive";
    }
    EXPECT_EQ(heard, expected);
}

std::string FindProfile(const TempDir& runtime)
{
    for (const auto& entry : std::filesystem::recursive_directory_iterator(runtime.file("config")))
        if (entry.path().filename() == "profile.ini")
            return entry.path();
    return {};
}

std::string Contents(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

ino_t Inode(const std::string& file)
{
    struct stat facts {};
    return ::stat(file.c_str(), &facts) == 0 ? facts.st_ino : 0;
}

// The ways a profile cannot be written. Root writes into read-only folders, so there the
// player runs as nobody; a full disc is a file size limit the write runs into at its last
// byte.
void ReadOnlyFolder(PlayerSandbox& sandbox, const std::string& profile)
{
    if (::geteuid() == 0)
        sandbox.runAs(65534, 65534);
    ::chmod(std::filesystem::path(profile).parent_path().c_str(), 0555);
}

void FullDisc(PlayerSandbox& sandbox, const std::string& profile)
{
    const rlim_t size = std::filesystem::file_size(profile) - 1;
    sandbox.inChild = [size] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{size, size};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    };
}

struct ProfileCase {
    const char* name;
    void (*fault)(PlayerSandbox&, const std::string& profile);
};

TEST(Faults, AProfileThatCannotBeWrittenStaysAsItWasAndThePlayerEndsInOrder)
{
    const ProfileCase cases[] = {
        {"nothing in the way", nullptr},
        {"read-only folder", ReadOnlyFolder},
        {"full disc", FullDisc},
    };
    for (const ProfileCase& c : cases) {
        PlayerSandbox sandbox;
        auto earlier = sandbox.launch();
        ASSERT_TRUE(earlier) << c.name;
        ASSERT_EQ(sandbox.run({"Close"}), 0);
        ASSERT_EQ(PlayerSandbox::waitForEnd(*earlier), kOrderly);
        const std::string profile = FindProfile(sandbox.runtime());
        ASSERT_FALSE(profile.empty()) << c.name;
        const std::string before = Contents(profile);
        const ino_t inode = Inode(profile);
        if (c.fault)
            c.fault(sandbox, profile);

        auto player = sandbox.launch();
        ASSERT_TRUE(player) << c.name;
        EXPECT_EQ(sandbox.run({"Close"}), 0) << c.name;
        EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly) << c.name;
        EXPECT_EQ(Contents(profile), before) << c.name;
        // Written whole or not at all: the store replaces the file, leaving nothing beside it.
        EXPECT_EQ(Inode(profile) == inode, c.fault != nullptr) << c.name;
        const auto folder = std::filesystem::path(profile).parent_path();
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << c.name;
        ::chmod(folder.c_str(), 0755);
    }
}
}  // namespace
