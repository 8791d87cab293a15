// How long the running player takes to answer the desktop while it changes tracks and while
// it plays. The real player runs on a private session bus on the X display given; a thread of
// this process reads its MPRIS PlaybackStatus and Position in turn, one read every 2 ms, and
// keeps each answer's time, while the main thread asks for the next track again and again
// (files, then the tracks of a Video CD image), then lets a file play at the video window's
// first size and full screen (a double click on the picture, through the X server's test
// extension). The answer time of a read is, to within a read's own cost, how long the
// player's UI thread stood still.
//
//   quintara_bench_player_answer [--changes N] IMAGE.cue FILE...   (bench/ui_still.sh)
//
// Needs DISPLAY, a sound server (PULSE_SERVER, or the one in XDG_RUNTIME_DIR) and
// dbus-daemon; QUINTARA_PLAYER names another player executable to measure. The first FILE
// plays for the playing phases: it must last 25 s or more.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "bench/bench_stats.h"
#include "tests/support/x11_windows.h"

namespace {
using Clock = std::chrono::steady_clock;
const QString kName = QStringLiteral("org.mpris.MediaPlayer2.quintara");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int kCallTimeoutMs = 10000;
constexpr auto kReadEvery = std::chrono::milliseconds(2);
constexpr int kDwellMs = 300;     // played between two track changes
constexpr int kPlayMs = 8000;     // played at each size
constexpr int kSettleMs = 1000;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

QDBusMessage get(const QDBusConnection& bus, const QString& property)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kName, kPath, kProperties, QStringLiteral("Get"));
    call.setArguments({kPlayer, property});
    return bus.call(call, QDBus::Block, kCallTimeoutMs);
}

QString textOf(const QDBusMessage& reply)
{
    return reply.arguments().isEmpty() ? QString() : reply.arguments().front().value<QDBusVariant>().variant().toString();
}

// Reads a property every few ms on a connection of its own; keeps the answer times of the
// reads sent while a phase is set.
class Reader : public QThread {
public:
    explicit Reader(QString address) : address_(std::move(address)) {}
    void begin(int phase) { phase_ = phase; }
    // Returns once the read in flight, sent while the phase was set, has been answered.
    void end()
    {
        phase_ = -1;
        const uint64_t seen = finished_;
        while (finished_ < seen + 2 && isRunning())
            QThread::msleep(1);
    }
    std::atomic<bool> done{false};
    struct Read {
        int phase;
        double ms;
        bool answered;
    };
    std::vector<Read> reads;  // to be looked at once the thread has ended

protected:
    void run() override
    {
        {
            const QDBusConnection bus = QDBusConnection::connectToBus(address_, QStringLiteral("reader"));
            const QString properties[] = {QStringLiteral("PlaybackStatus"), QStringLiteral("Position")};
            for (size_t i = 0; !done; ++i) {
                const int now = phase_;
                const Clock::time_point sent = Clock::now();
                const bool answered = get(bus, properties[i % 2]).type() == QDBusMessage::ReplyMessage;
                if (now >= 0)
                    reads.push_back({now, msSince(sent), answered});
                ++finished_;
                std::this_thread::sleep_until(sent + kReadEvery);
            }
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("reader"));
    }

private:
    QString address_;
    std::atomic<int> phase_{-1};
    std::atomic<uint64_t> finished_{0};
};

// One start of the player, with a configuration and runtime folder of its own, so that its
// windows open at their first-start places and sizes.
class Player {
public:
    Player(const QString& bus, const QStringList& arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString runtime = environment.value("XDG_RUNTIME_DIR");
        if (!environment.contains("PULSE_SERVER") && !runtime.isEmpty())
            environment.insert("PULSE_SERVER", "unix:" + runtime + "/pulse/native");
        QFile::setPermissions(folder_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert("XDG_RUNTIME_DIR", folder_.path());
        environment.insert("XDG_CONFIG_HOME", folder_.filePath("config"));
        environment.insert("DBUS_SESSION_BUS_ADDRESS", bus);
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.remove("WAYLAND_DISPLAY");
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const QString executable = qEnvironmentVariableIsSet("QUINTARA_PLAYER") ? qEnvironmentVariable("QUINTARA_PLAYER")
                                                                                 : QStringLiteral(QUINTARA_EXE);
        process_.start(executable, arguments);
    }
    ~Player()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }
    int64_t pid() const { return process_.processId(); }

private:
    QTemporaryDir folder_;
    QProcess process_;
};

bool waitUntil(const std::function<bool()>& done, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done() && !deadline.hasExpired())
        QThread::msleep(10);
    return done();
}

bool playing(const QDBusConnection& bus)
{
    return textOf(get(bus, QStringLiteral("PlaybackStatus"))) == QLatin1String("Playing");
}

// The url of the track the player shows; "" when it answers none.
QString trackUrl(const QDBusConnection& bus)
{
    const QDBusMessage reply = get(bus, QStringLiteral("Metadata"));
    if (reply.arguments().isEmpty())
        return {};
    const QVariant metadata = reply.arguments().front().value<QDBusVariant>().variant();
    return qdbus_cast<QVariantMap>(metadata.value<QDBusArgument>()).value("xesam:url").toString();
}

bool startPlayer(std::unique_ptr<Player>& player, const QDBusConnection& bus, const QString& address,
                 const QStringList& arguments)
{
    player.reset();
    player = std::make_unique<Player>(address, arguments);
    const bool named = waitUntil([&] { return bus.interface()->isServiceRegistered(kName).value(); }, 15000);
    return named && waitUntil([&] { return playing(bus); }, 15000);
}

struct Changes {
    int asked = 0;
    int seen = 0;               // changes whose new track was shown and played
    std::vector<double> nextMs;  // Next's own answer times
};

// Next, again and again; each time waits until another track is shown and plays, then lets
// it play a little.
Changes changeTracks(const QDBusConnection& bus, Reader& reader, int phase, int changes)
{
    Changes result;
    reader.begin(phase);
    for (; result.asked < changes; ++result.asked) {
        const QString before = trackUrl(bus);
        const Clock::time_point sent = Clock::now();
        bus.call(QDBusMessage::createMethodCall(kName, kPath, kPlayer, QStringLiteral("Next")), QDBus::Block,
                 kCallTimeoutMs);
        result.nextMs.push_back(msSince(sent));
        if (waitUntil([&] { return trackUrl(bus) != before && playing(bus); }, 10000))
            ++result.seen;
        QThread::msleep(kDwellMs);
    }
    reader.end();
    return result;
}

void playFor(Reader& reader, int phase)
{
    reader.begin(phase);
    QThread::msleep(kPlayMs);
    reader.end();
}

// Double-clicks the centre of the video window (the one titled by the playing file) and
// waits until it stands at the screen's corner, larger; its place before and after.
bool goFullScreen(int64_t pid, const QString& fileName, QRect& before, QRect& after)
{
    X11Windows x11;
    std::optional<xcb_window_t> video;
    for (xcb_window_t window : x11.shownWindows(pid)) {
        if (x11.title(window).contains(fileName))
            video = window;
    }
    if (!video)
        return false;
    before = x11.geometry(*video);
    if (!x11.click(before.center()) || !x11.click(before.center()))
        return false;
    const auto full = [&] {
        const QRect now = x11.geometry(*video);
        return now.topLeft() == QPoint(0, 0) && now.width() > before.width() && now.height() > before.height();
    };
    const bool done = waitUntil(full, 5000);
    after = x11.geometry(*video);
    return done;
}

void printRow(const char* what, const std::vector<Reader::Read>& reads, int phase, const std::string& note = {})
{
    std::vector<double> times;
    int unanswered = 0;
    for (const Reader::Read& read : reads) {
        if (read.phase != phase)
            continue;
        times.push_back(read.ms);
        unanswered += read.answered ? 0 : 1;
    }
    const Spread spread = SpreadOf(times);
    std::printf("%-34s %6zu %7.2f %7.2f %8.2f  %s", what, spread.count, spread.median, spread.p95, spread.longest,
                note.c_str());
    if (unanswered)
        std::printf("  (%d unanswered)", unanswered);
    std::printf("\n");
}

std::string nextNote(const Changes& changes)
{
    const Spread next = SpreadOf(changes.nextMs);
    char note[160];
    std::snprintf(note, sizeof note, "Next answered: median %.1f, longest %.1f; %d of %d changes seen", next.median,
                  next.longest, changes.seen, changes.asked);
    return note;
}

std::string sizeNote(const QRect& place)
{
    return std::to_string(place.width()) + "x" + std::to_string(place.height());
}
}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    int changes = 50;
    int first = 1;
    if (argc > 2 && std::string_view(argv[1]) == "--changes") {
        changes = std::atoi(argv[2]);
        first = 3;
    }
    QStringList files;
    for (int i = first + 1; i < argc; ++i)
        files << QFileInfo(QString::fromLocal8Bit(argv[i])).absoluteFilePath();
    if (changes < 1 || files.size() < 2) {
        std::fprintf(stderr, "usage: %s [--changes N] IMAGE.cue FILE FILE...\n", argv[0]);
        return 2;
    }
    const QString cue = QFileInfo(QString::fromLocal8Bit(argv[first])).absoluteFilePath();
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "needs an X display (bench/ui_still.sh starts one)\n");
        return 2;
    }
    QTemporaryDir folder;
    QProcess daemon;
    daemon.start("dbus-daemon", {"--session", "--nofork", "--print-address=1", "--address=unix:path=" + folder.filePath("bus")});
    if (!daemon.waitForStarted(5000) || !daemon.waitForReadyRead(5000)) {
        std::fprintf(stderr, "dbus-daemon did not start\n");
        return 1;
    }
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    const QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("bench"));
    Reader reader(address);
    reader.start();

    enum Phase { Files, Image, Default, Full, Paused };
    std::unique_ptr<Player> player;
    const auto failed = [&](const char* what) {
        std::fprintf(stderr, "%s\n", what);
        player.reset();
        reader.done = true;
        reader.wait();
        return 1;
    };
    if (!startPlayer(player, bus, address, files))
        return failed("the player did not start playing the files");
    const Changes onFiles = changeTracks(bus, reader, Files, changes);
    if (!startPlayer(player, bus, address, {cue}))
        return failed("the player did not start playing the image");
    const Changes onImage = changeTracks(bus, reader, Image, changes);

    if (!startPlayer(player, bus, address, {files.front()}))
        return failed("the player did not start playing the first file");
    QThread::msleep(kSettleMs);
    playFor(reader, Default);
    QRect before, after;
    if (!goFullScreen(player->pid(), QFileInfo(files.front()).fileName(), before, after))
        return failed("the video window did not go full screen");
    QThread::msleep(kSettleMs);
    playFor(reader, Full);
    const bool stillPlaying = playing(bus);
    bus.call(QDBusMessage::createMethodCall(kName, kPath, kPlayer, QStringLiteral("Pause")), QDBus::Block,
             kCallTimeoutMs);
    QThread::msleep(kSettleMs);
    playFor(reader, Paused);
    player.reset();
    reader.done = true;
    reader.wait();

    std::printf("MPRIS property reads from another process, one every 2 ms: answer times in ms\n");
    std::printf("%-34s %6s %7s %7s %8s\n", "", "reads", "median", "p95", "longest");
    printRow((std::to_string(changes) + " track changes, files").c_str(), reader.reads, Files, nextNote(onFiles));
    printRow((std::to_string(changes) + " track changes, .cue").c_str(), reader.reads, Image, nextNote(onImage));
    printRow("playing, video window's first size", reader.reads, Default, sizeNote(before));
    printRow("playing, full screen", reader.reads, Full,
             sizeNote(after) + (stillPlaying ? "" : "  (no longer playing at the end)"));
    printRow("paused, full screen", reader.reads, Paused);
    daemon.terminate();
    daemon.waitForFinished(5000);
    return 0;
}
