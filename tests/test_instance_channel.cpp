#include "app/instance_channel.h"

#include <QCoreApplication>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <latch>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/temp_dir.h"

namespace {

using Role = InstanceChannel::Role;

constexpr int WaitMs = 5000;

QString qstr(const std::string& text)
{
    return QString::fromStdString(text);
}

bool exists(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// Everything the channel emits, and whether each came on the GUI thread.
struct Received {
    explicit Received(InstanceChannel& channel)
    {
        QObject::connect(&channel, &InstanceChannel::messageReceived, &context, [this](const Message& message) {
            messages.push_back(message);
            if (QThread::currentThread() != QCoreApplication::instance()->thread())
                offThread = true;
        });
    }
    bool waitForCount(size_t count) const
    {
        return QTest::qWaitFor([&] { return messages.size() >= count; }, WaitMs);
    }
    QObject context;  // lets go of the channel with this object
    std::vector<Message> messages;
    bool offThread = false;
};

// The connections the First has accepted and not yet let go.
qsizetype peersOf(const InstanceChannel& first)
{
    return first.findChildren<QLocalSocket*>().size();
}

bool waitForPeers(const InstanceChannel& first, qsizetype count)
{
    return QTest::qWaitFor([&] { return peersOf(first) == count; }, WaitMs);
}

// A peer that writes whatever bytes it is given.
std::unique_ptr<QLocalSocket> rawPeer(const std::string& path)
{
    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(qstr(path));
    if (!socket->waitForConnected(WaitMs))
        return nullptr;
    return socket;
}

bool writeAll(QLocalSocket& socket, const QByteArray& bytes)
{
    if (socket.write(bytes) != bytes.size())
        return false;
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(WaitMs))
            return false;
    }
    return true;
}

sockaddr_un addressOf(const std::string& path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), std::min(path.size() + 1, sizeof address.sun_path - 1));
    return address;
}

// Keeps the event loop running until the child ends; answers its exit status, -1 when it
// did not end in time or was killed.
int waitForChild(pid_t child)
{
    int status = 0;
    if (!QTest::qWaitFor([&] { return ::waitpid(child, &status, WNOHANG) == child; }, 2 * WaitMs)) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Sets variables for one test and puts back what was there.
class Environment {
public:
    ~Environment()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                qputenv(name.c_str(), *value);
            else
                qunsetenv(name.c_str());
        }
    }
    void set(const std::string& name, const QByteArray& value)
    {
        save(name);
        qputenv(name.c_str(), value);
    }
    void unset(const std::string& name)
    {
        save(name);
        qunsetenv(name.c_str());
    }

private:
    void save(const std::string& name)
    {
        for (const auto& entry : saved_)
            if (entry.first == name)
                return;
        std::optional<QByteArray> value;
        if (qEnvironmentVariableIsSet(name.c_str()))
            value = qgetenv(name.c_str());
        saved_.emplace_back(name, value);
    }
    std::vector<std::pair<std::string, std::optional<QByteArray>>> saved_;
};

constexpr uint32_t Extra = 0xC123;

// A First on a socket of its own, and what it hears.
class Channel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(first.claim(true), Role::First); }

    TempDir dir;
    const std::string path = dir.file("q.socket");
    InstanceChannel first{qstr(path)};
    Received received{first};
};

}  // namespace

TEST_F(Channel, SecondStartHandsMessagesToTheFirstInOrder)
{
    QSignalSpy spy(&first, &InstanceChannel::messageReceived);
    ASSERT_TRUE(spy.isValid());

    InstanceChannel second(qstr(path));
    ASSERT_EQ(second.claim(true), Role::Second);
    const std::vector<Message> sent = {
        {msg::SecondStart, second_start::LoadDrive, 4},
        {msg::SecondStart, second_start::Play, 0},
        {msg::SecondStart, 7, -1},
        {msg::SecondStart, UINTPTR_MAX, INTPTR_MIN},
        {msg::SecondStart, 0, INTPTR_MAX},
        {msg::Close, 0, 0},
    };
    ASSERT_TRUE(second.send(sent));

    ASSERT_TRUE(received.waitForCount(sent.size()));
    EXPECT_EQ(received.messages, sent);
    EXPECT_FALSE(received.offThread);
    ASSERT_EQ(spy.count(), qsizetype(sent.size()));
    EXPECT_EQ(qvariant_cast<Message>(spy.at(3).at(0)), sent[3]);
}

TEST_F(Channel, SecondStartsThatLeaveAtOnceAreAllHeard)
{
    constexpr int Starts = 20;
    std::vector<Message> sent;
    for (int i = 0; i < Starts; ++i) {
        InstanceChannel second(qstr(path));
        ASSERT_EQ(second.claim(false), Role::Second);
        const std::vector<Message> messages = {{msg::SecondStart, second_start::LoadDrive, i}, {msg::SecondStart, 0, 100 + i}};
        ASSERT_TRUE(second.send(messages));
        sent.insert(sent.end(), messages.begin(), messages.end());
    }
    ASSERT_TRUE(received.waitForCount(sent.size()));
    ASSERT_EQ(received.messages.size(), sent.size());
    for (int i = 0; i < Starts; ++i) {
        const auto drive = std::find(received.messages.begin(), received.messages.end(), sent[2 * i]);
        const auto play = std::find(received.messages.begin(), received.messages.end(), sent[2 * i + 1]);
        ASSERT_NE(play, received.messages.end()) << i;
        EXPECT_LT(drive, play) << i;
    }
    EXPECT_TRUE(waitForPeers(first, 0));
}

TEST_F(Channel, ClaimAnswersSecondWhateverMayStartSaysAndStaysWithItsRole)
{
    EXPECT_EQ(first.claim(false), Role::First);

    InstanceChannel second(qstr(path));
    EXPECT_EQ(second.claim(false), Role::Second);
    EXPECT_EQ(second.claim(true), Role::Second);
}

TEST_F(Channel, MessagesNotAllowedAreDroppedAndAllowMessageLetsOneMore)
{
    InstanceChannel second(qstr(path));
    ASSERT_EQ(second.claim(true), Role::Second);
    ASSERT_TRUE(second.send({{msg::SecondStart, 0, 1}, {Extra, 2, -3}, {msg::Command, 4, 5}, {msg::SecondStart, 0, 6}}));
    ASSERT_TRUE(received.waitForCount(2));
    EXPECT_EQ(received.messages, (std::vector<Message> {{msg::SecondStart, 0, 1}, {msg::SecondStart, 0, 6}}));

    first.allowMessage(Extra);
    ASSERT_TRUE(second.send({{Extra, 2, -3}, {msg::Command, 4, 5}, {msg::Close, 0, 0}}));
    ASSERT_TRUE(received.waitForCount(4));
    EXPECT_EQ(received.messages, (std::vector<Message> {
                                     {msg::SecondStart, 0, 1}, {msg::SecondStart, 0, 6}, {Extra, 2, -3}, {msg::Close, 0, 0}}));
}

TEST(InstanceChannel, SocketIsTheOwnersOnlyAndGoesWithTheFirst)
{
    TempDir dir;
    const std::string path = dir.file("q.socket");
    {
        InstanceChannel first(qstr(path));
        ASSERT_EQ(first.claim(true), Role::First);
        const mode_t mode = modeOf(path);
        EXPECT_TRUE(S_ISSOCK(mode));
        EXPECT_EQ(mode & 07777, 0600u);
        EXPECT_FALSE(exists(InstanceChannel::lockPathFor(qstr(path)).toStdString()));
    }
    EXPECT_FALSE(exists(path));

    InstanceChannel again(qstr(path));
    EXPECT_EQ(again.claim(true), Role::First);
}

TEST(InstanceChannel, NothingRunningAndMayNotStartCreatesNothing)
{
    TempDir dir;
    const std::string path = dir.file("q.socket");
    InstanceChannel probe(qstr(path));
    EXPECT_EQ(probe.claim(false), Role::NoneRunning);
    EXPECT_FALSE(exists(path));
    EXPECT_FALSE(exists(InstanceChannel::lockPathFor(qstr(path)).toStdString()));
    EXPECT_FALSE(probe.send({{msg::Close, 0, 0}}));
}

TEST(InstanceChannel, SendNeedsTheSecondRole)
{
    TempDir dir;
    InstanceChannel unclaimed(qstr(dir.file("q.socket")));
    EXPECT_FALSE(unclaimed.send({{msg::Close, 0, 0}}));
    InstanceChannel first(qstr(dir.file("q.socket")));
    ASSERT_EQ(first.claim(true), Role::First);
    EXPECT_FALSE(first.send({{msg::Close, 0, 0}}));
}

TEST(InstanceChannel, UnusablePathIsUnavailable)
{
    TempDir dir;
    InstanceChannel nowhere {QString()};
    EXPECT_EQ(nowhere.claim(true), Role::Unavailable);
    InstanceChannel missingFolder(qstr(dir.file("no/such/folder/q.socket")));
    EXPECT_EQ(missingFolder.claim(true), Role::Unavailable);
}

TEST(InstanceChannel, StaleSocketOfAKilledInstanceIsTakenOver)
{
    TempDir dir;
    const std::string path = dir.file("q.socket");
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    const sockaddr_un address = addressOf(path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(S_ISSOCK(modeOf(path)));

    InstanceChannel probe(qstr(path));
    EXPECT_EQ(probe.claim(false), Role::NoneRunning);

    InstanceChannel first(qstr(path));
    ASSERT_EQ(first.claim(true), Role::First);
    Received received(first);
    InstanceChannel second(qstr(path));
    ASSERT_EQ(second.claim(true), Role::Second);
    ASSERT_TRUE(second.send({{msg::SecondStart, 0, 0}}));
    ASSERT_TRUE(received.waitForCount(1));
    EXPECT_EQ(received.messages, (std::vector<Message> {{msg::SecondStart, 0, 0}}));
}

TEST(InstanceChannel, StaleLockOfADeadProcessDoesNotBlock)
{
    TempDir dir;
    const std::string path = dir.file("q.socket");
    const std::string lockPath = InstanceChannel::lockPathFor(qstr(path)).toStdString();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(qstr(lockPath));
        ::_exit(lock.tryLock(0) ? 0 : 1);  // gone without unlocking, as if killed
    }
    ASSERT_EQ(waitForChild(child), 0);
    ASSERT_TRUE(exists(lockPath));

    InstanceChannel first(qstr(path));
    EXPECT_EQ(first.claim(true), Role::First);
    EXPECT_FALSE(exists(lockPath));
}

TEST(InstanceChannel, TwoClaimsAtOnceMakeExactlyOneFirst)
{
    TempDir dir;
    const QString path = qstr(dir.file("q.socket"));
    constexpr int Count = 4;
    std::array<Role, Count> roles;
    roles.fill(Role::Unavailable);
    std::latch ready(Count);
    std::latch claimed(Count);
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < Count; ++i) {
        threads.emplace_back(QThread::create([&, i] {
            InstanceChannel channel(path);
            ready.arrive_and_wait();
            roles[i] = channel.claim(true);
            claimed.arrive_and_wait();  // the First listens until every claim is done
        }));
        threads.back()->start();
    }
    for (auto& thread : threads)
        ASSERT_TRUE(thread->wait(QDeadlineTimer(4 * WaitMs)));

    int firsts = 0;
    int seconds = 0;
    for (Role role : roles) {
        firsts += role == Role::First;
        seconds += role == Role::Second;
    }
    EXPECT_EQ(firsts, 1);
    EXPECT_EQ(seconds, Count - 1);
}

TEST_F(Channel, SeveralPeersAtOnceEachKeepTheirOrder)
{
    auto a = rawPeer(path);
    auto b = rawPeer(path);
    auto c = rawPeer(path);
    ASSERT_TRUE(a && b && c);
    ASSERT_TRUE(waitForPeers(first, 3));
    ASSERT_TRUE(writeAll(*a, "post 1125 0 1\npost 1125 0 "));
    ASSERT_TRUE(writeAll(*b, "post 1125 0 10\n"));
    ASSERT_TRUE(writeAll(*c, "post 1125 0 100\npost 1125 0 101\n"));
    ASSERT_TRUE(writeAll(*a, "2\n"));
    ASSERT_TRUE(received.waitForCount(5));
    ASSERT_EQ(received.messages.size(), 5u);

    std::vector<intptr_t> fromA, fromB, fromC;
    for (const Message& message : received.messages) {
        EXPECT_EQ(message.id, msg::SecondStart);
        EXPECT_EQ(message.wParam, 0u);
        auto& bucket = message.lParam < 10 ? fromA : message.lParam < 100 ? fromB : fromC;
        bucket.push_back(message.lParam);
    }
    EXPECT_EQ(fromA, (std::vector<intptr_t> {1, 2}));
    EXPECT_EQ(fromB, (std::vector<intptr_t> {10}));
    EXPECT_EQ(fromC, (std::vector<intptr_t> {100, 101}));
}

TEST_F(Channel, MalformedLinesAreDroppedOneByOne)
{
    const QByteArray longest = "post 1125 0 " + QByteArray(243, '0') + "7";  // 256 bytes: still fine
    ASSERT_EQ(longest.size(), InstanceChannel::MaxLineBytes);
    const QByteArray tooLong = "post 1125 0 " + QByteArray(244, '0') + "6";
    const std::vector<QByteArray> lines = {
        "",
        "hello",
        "post",
        "post ",
        "post 1125",
        "post 1125 0",
        "post 1125 0 ",
        "post 1125 0 0 0",
        "post  1125 0 0",
        "post 1125 0 0 ",
        " post 1125 0 0",
        "POST 1125 0 0",
        "send 1125 0 0",
        "post 1125 0 0\r",
        "post 1125\t0 0",
        "post 1125 -1 0",
        "post -16 0 0",
        "post +16 0 0",
        "post 1125 0 +1",
        "post 0x10 0 0",
        "post 1125 0 - 1",
        "post 1125 0 -",
        "post 1125 0 1e3",
        "post 4294967312 0 0",  // 2^32 + 16: cut to 32 bits it would read as a close
        "post 1125 18446744073709551616 0",
        "post 1125 0 9223372036854775808",
        "post 1125 0 -9223372036854775809",
        "post 1125 99999999999999999999999999 0",
        QByteArray("post 1125\0 0 0", 14),
        "post 1125 0 \xff\xfe",
        "post 1125 0 \xd9\xa3",  // an Arabic-Indic digit
        tooLong,
        QByteArray(5000, 'x'),
    };
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + '\n';
    bytes += "post 1125 18446744073709551615 -9223372036854775808\n";
    bytes += longest + '\n';
    bytes += "post 16 0 0\n";

    auto peer = rawPeer(path);
    ASSERT_TRUE(peer);
    ASSERT_TRUE(writeAll(*peer, bytes));
    ASSERT_TRUE(received.waitForCount(3));
    EXPECT_EQ(received.messages, (std::vector<Message> {
                                     {msg::SecondStart, UINTPTR_MAX, INTPTR_MIN},
                                     {msg::SecondStart, 0, 7},
                                     {msg::Close, 0, 0},
                                 }));
}

TEST_F(Channel, LinesCutAcrossReadsAreJoinedOrDroppedWhole)
{
    auto peer = rawPeer(path);
    ASSERT_TRUE(peer);
    ASSERT_TRUE(waitForPeers(first, 1));
    QLocalSocket* accepted = first.findChildren<QLocalSocket*>().front();
    QSignalSpy reads(accepted, &QLocalSocket::readyRead);
    const auto deliver = [&](const QByteArray& bytes) {
        reads.clear();
        return writeAll(*peer, bytes) && reads.wait(WaitMs);
    };

    ASSERT_TRUE(deliver("post 1125 0 "));
    ASSERT_TRUE(deliver("9\n"));
    ASSERT_TRUE(deliver(QByteArray(300, 'x')));
    // Still the overlong line: were it taken for a new one, 66 would arrive.
    ASSERT_TRUE(deliver("post 1125 0 66\npost 1125 0 8\n"));
    ASSERT_TRUE(received.waitForCount(2));
    EXPECT_EQ(received.messages, (std::vector<Message> {{msg::SecondStart, 0, 9}, {msg::SecondStart, 0, 8}}));
}

TEST_F(Channel, HalfALineThenGoneIsDropped)
{
    auto peer = rawPeer(path);
    ASSERT_TRUE(peer);
    ASSERT_TRUE(waitForPeers(first, 1));
    ASSERT_TRUE(writeAll(*peer, "post 1125 0 4\npost 16 0 0"));
    peer->disconnectFromServer();
    peer.reset();
    ASSERT_TRUE(waitForPeers(first, 0));
    EXPECT_EQ(received.messages, (std::vector<Message> {{msg::SecondStart, 0, 4}}));

    InstanceChannel second(qstr(path));
    ASSERT_EQ(second.claim(true), Role::Second);
    ASSERT_TRUE(second.send({{msg::SecondStart, 1, 2}}));
    ASSERT_TRUE(received.waitForCount(2));
    EXPECT_EQ(received.messages, (std::vector<Message> {{msg::SecondStart, 0, 4}, {msg::SecondStart, 1, 2}}));
}

TEST_F(Channel, PeerSendingPastItsAllowanceIsDropped)
{
    // Lines of 14 bytes: those wholly inside the allowance count, nothing after them.
    const QByteArray line = "post 1125 0 5\n";
    const size_t inside = InstanceChannel::MaxBytesPerPeer / line.size();
    auto peer = rawPeer(path);
    ASSERT_TRUE(peer);
    ASSERT_TRUE(waitForPeers(first, 1));
    const qsizetype sent = qsizetype(inside) + 1000;
    ASSERT_EQ(peer->write(line.repeated(sent)), sent * line.size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return peer->state() == QLocalSocket::UnconnectedState; }, WaitMs));
    ASSERT_TRUE(waitForPeers(first, 0));
    EXPECT_EQ(received.messages.size(), inside);

    // Noise past the allowance after one good line.
    received.messages.clear();
    auto flood = rawPeer(path);
    ASSERT_TRUE(flood);
    ASSERT_TRUE(waitForPeers(first, 1));
    const QByteArray noise = "post 1125 0 3\n" + QByteArray(InstanceChannel::MaxBytesPerPeer + (1 << 20), 'z');
    ASSERT_EQ(flood->write(noise), noise.size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return flood->state() == QLocalSocket::UnconnectedState; }, WaitMs));
    ASSERT_TRUE(waitForPeers(first, 0));
    EXPECT_EQ(received.messages, (std::vector<Message> {{msg::SecondStart, 0, 3}}));

    InstanceChannel second(qstr(path));
    ASSERT_EQ(second.claim(true), Role::Second);
    ASSERT_TRUE(second.send({{msg::Close, 0, 0}}));
    ASSERT_TRUE(received.waitForCount(2));
    EXPECT_EQ(received.messages.back(), (Message {msg::Close, 0, 0}));
}

namespace {
// In a child that became another user: 0 when the connection was closed on it, 3 when the
// socket file kept it out, other values for anything else.
[[noreturn]] void connectAsNobody(const std::string& path, const char* line)
{
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
        ::_exit(10);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const sockaddr_un address = addressOf(path);
    if (fd < 0)
        ::_exit(11);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        ::_exit(errno == EACCES ? 3 : 2);
    (void)::send(fd, line, std::strlen(line), MSG_NOSIGNAL);  // may already be thrown out
    pollfd wait {fd, POLLIN, 0};
    if (::poll(&wait, 1, 2 * WaitMs) != 1)
        ::_exit(4);
    char byte = 0;
    const ssize_t got = ::recv(fd, &byte, 1, 0);
    ::_exit(got == 0 || (got < 0 && errno == ECONNRESET) ? 0 : 5);
}
}  // namespace

TEST(InstanceChannel, AnotherUserIsNotHeard)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to become another user";
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string path = dir.file("q.socket");
    InstanceChannel first(qstr(path));
    ASSERT_EQ(first.claim(true), Role::First);
    Received received(first);

    // The socket file's mode keeps the other user out.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        connectAsNobody(path, "post 16 0 0\n");
    EXPECT_EQ(waitForChild(child), 3);

    // Where the file is too open, the peer's uid still does.
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        connectAsNobody(path, "post 16 0 0\n");
    EXPECT_EQ(waitForChild(child), 0);
    EXPECT_EQ(peersOf(first), 0);

    InstanceChannel second(qstr(path));
    ASSERT_EQ(second.claim(true), Role::Second);
    ASSERT_TRUE(second.send({{msg::SecondStart, 0, 0}}));
    ASSERT_TRUE(received.waitForCount(1));
    EXPECT_EQ(received.messages, (std::vector<Message> {{msg::SecondStart, 0, 0}}));
}

TEST(InstanceChannel, DefaultPathIsInThePrivateRuntimeFolderNamedForTheDisplay)
{
    TempDir runtime;
    ASSERT_EQ(::chmod(runtime.path().c_str(), 0700), 0);
    Environment environment;
    environment.set("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path() + "/"));
    environment.set("WAYLAND_DISPLAY", "wayland-0");
    environment.set("DISPLAY", ":1");
    EXPECT_EQ(InstanceChannel::defaultSocketPath(), qstr(runtime.file("quintara-wayland-0.socket")));

    environment.unset("WAYLAND_DISPLAY");
    EXPECT_EQ(InstanceChannel::defaultSocketPath(), qstr(runtime.file("quintara-_1.socket")));
    environment.set("DISPLAY", "host/../x y:10.0");
    EXPECT_EQ(InstanceChannel::defaultSocketPath(), qstr(runtime.file("quintara-host_.._x_y_10.0.socket")));
    environment.unset("DISPLAY");
    EXPECT_EQ(InstanceChannel::defaultSocketPath(), qstr(runtime.file("quintara-none.socket")));
}

TEST(InstanceChannel, RuntimeFolderOthersCanEnterFallsBackToAPrivateTmpFolder)
{
    TempDir open;
    ASSERT_EQ(::chmod(open.path().c_str(), 0777), 0);
    Environment environment;
    environment.unset("WAYLAND_DISPLAY");
    environment.set("DISPLAY", ":7");
    const std::string tmpFolder = "/tmp/quintara-" + std::to_string(::geteuid());

    for (const std::string& runtime : {open.path(), std::string("relative/run"), open.write("file", "x")}) {
        environment.set("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime));
        EXPECT_EQ(InstanceChannel::defaultSocketPath(), qstr(tmpFolder + "/quintara-_7.socket")) << runtime;
        const mode_t mode = modeOf(tmpFolder);
        EXPECT_TRUE(S_ISDIR(mode));
        EXPECT_EQ(mode & 07777, 0700u);
    }
}

TEST(InstanceChannel, FallbackFolderMustBeOursAlone)
{
    TempDir dir;
    Environment environment;
    environment.unset("XDG_RUNTIME_DIR");
    environment.unset("WAYLAND_DISPLAY");
    environment.unset("DISPLAY");

    const mode_t previous = ::umask(0777);  // whatever the umask, the folder is made 0700
    const std::string made = dir.file("made");
    const QString path = InstanceChannel::defaultSocketPath(qstr(made));
    ::umask(previous);
    EXPECT_EQ(path, qstr(made + "/quintara-none.socket"));
    EXPECT_TRUE(S_ISDIR(modeOf(made)));
    EXPECT_EQ(modeOf(made) & 07777, 0700u);
    EXPECT_EQ(InstanceChannel::defaultSocketPath(qstr(made)), path);

    const std::string shared = dir.file("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 0755), 0);
    EXPECT_TRUE(InstanceChannel::defaultSocketPath(qstr(shared)).isEmpty());

    const std::string link = dir.file("link");
    ASSERT_EQ(::symlink(made.c_str(), link.c_str()), 0);
    EXPECT_TRUE(InstanceChannel::defaultSocketPath(qstr(link)).isEmpty());

    const std::string plain = dir.write("plain", "x");
    ASSERT_EQ(::chmod(plain.c_str(), 0700), 0);
    EXPECT_TRUE(InstanceChannel::defaultSocketPath(qstr(plain)).isEmpty());
    EXPECT_TRUE(InstanceChannel::defaultSocketPath(qstr(dir.file("missing/below"))).isEmpty());

    InstanceChannel refused(InstanceChannel::defaultSocketPath(qstr(link)));
    EXPECT_EQ(refused.claim(true), Role::Unavailable);
}

TEST_F(Channel, FilesTravelAsOneListPerOpenWhateverTheirNames)
{
    std::vector<std::vector<std::string>> lists;
    size_t messagesBeforeFiles = 0;
    QObject context;
    QObject::connect(&first, &InstanceChannel::filesReceived, &context, [&](const std::vector<std::string>& files) {
        lists.push_back(files);
        messagesBeforeFiles = received.messages.size();
    });

    const std::vector<std::string> files = {
        "/home/me/a clip.mpg",
        "/home/me/new\nline.mpg",
        "/home/me/\xC3\xA9t\xC3\xA9/\xff.dat",
        "/" + std::string(4094, 'x'),
    };
    InstanceChannel second(qstr(path));
    ASSERT_EQ(second.claim(true), Role::Second);
    ASSERT_TRUE(second.send({{msg::SecondStart, 1, 4}}, files, {{msg::SecondStart, 0, 0}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lists.empty(); }, WaitMs));
    ASSERT_TRUE(received.waitForCount(2));
    EXPECT_EQ(lists.front(), files);
    EXPECT_EQ(received.messages, (std::vector<Message>{{msg::SecondStart, 1, 4}, {msg::SecondStart, 0, 0}}));
    EXPECT_EQ(messagesBeforeFiles, 1u) << "the files come between the drive's disc and Play";

    // Relative, odd-length, uppercase or non-hex paths, NULs and an open without files are
    // dropped; the good file before the open still counts.
    lists.clear();
    auto peer = rawPeer(path);
    ASSERT_TRUE(peer);
    const QByteArray bytes = "open\n"
                             "file " + QByteArray("a.mpg").toHex() + "\n"
                             "file 2f6\n"
                             "file 2F61\n"
                             "file 2fzz\n"
                             "file " + QByteArray("/a\0b", 4).toHex() + "\n"
                             "file \n"
                             "file " + QByteArray("/ok.mpg").toHex() + "\n"
                             "open\n";
    ASSERT_TRUE(writeAll(*peer, bytes));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lists.empty(); }, WaitMs));
    EXPECT_EQ(lists, (std::vector<std::vector<std::string>>{{"/ok.mpg"}}));
}
