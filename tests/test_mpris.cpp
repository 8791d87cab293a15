// The real player on a private session bus, driven by playerctl as a desktop would drive it,
// and what it signals of its own accord.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <filesystem>
#include <map>
#include <memory>
#include <span>
#include <string>

#include "tests/support/player_process.h"
#include "tests/support/private_services.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_clips.h"
#include "tests/support/vcd_pbc_image.h"

namespace {
constexpr int kOrderly = 18;
constexpr int kWaitMs = 10000;
const QString kName = "org.mpris.MediaPlayer2.quintara";
const QString kPath = "/org/mpris/MediaPlayer2";
const QString kPlayer = "org.mpris.MediaPlayer2.Player";
const QString kRoot = "org.mpris.MediaPlayer2";

// What the player signalled: each property's last value as text (a metadata entry as
// "Metadata.<key>"), and "Seeked" with its position in microseconds.
class SignalRecorder : public QObject {
    Q_OBJECT
public:
    std::map<QString, QString> heard;

public slots:
    void changed(const QString& interface, const QVariantMap& properties, const QStringList&)
    {
        if (interface != kPlayer)
            return;
        for (auto it = properties.begin(); it != properties.end(); ++it) {
            if (it.key() == "Metadata") {
                const QVariantMap metadata = qdbus_cast<QVariantMap>(it.value().value<QDBusArgument>());
                for (auto entry = metadata.begin(); entry != metadata.end(); ++entry)
                    heard["Metadata." + entry.key()] = entry.value().toString();
            } else {
                heard[it.key()] = it.value().typeId() == QMetaType::Double ? QString::number(it.value().toDouble(), 'f', 2)
                                                                            : it.value().toString();
            }
        }
    }
    void seeked(qlonglong position) { heard["Seeked"] = QString::number(position); }
};

bool waitFor(const std::function<bool()>& done)
{
    const QDeadlineTimer deadline(kWaitMs);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

struct Step {
    QStringList command;  // the program and its words; none to only look
    QStringList query;    // playerctl's words that read back
    QString answer;       // what the query prints, as a pattern
    QString signalled;    // what must be signalled without being asked for, when anything
    QString value;
};

class Mpris : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(bus_.address.isEmpty()) << "dbus-daemon did not start";
        sandbox_.environment.insert("DBUS_SESSION_BUS_ADDRESS", bus_.address);
        // The sandbox's runtime folder is its own: the sound server is named where it lies.
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (!sandbox_.environment.contains("PULSE_SERVER") && !runtime.isEmpty())
            sandbox_.environment.insert("PULSE_SERVER", "unix:" + runtime + "/pulse/native");
        connection_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(bus_.address, "mpris-test"));
        ASSERT_TRUE(connection_->isConnected());
        ASSERT_TRUE(connection_->connect("", kPath, "org.freedesktop.DBus.Properties", "PropertiesChanged",
                                         &recorder_, SLOT(changed(QString, QVariantMap, QStringList))));
        ASSERT_TRUE(connection_->connect("", kPath, kPlayer, "Seeked", &recorder_, SLOT(seeked(qlonglong))));
    }
    void TearDown() override
    {
        connection_.reset();
        QDBusConnection::disconnectFromBus("mpris-test");
    }

    // A program's words on the bus; its standard output, trimmed, or "failed: ..." when it failed.
    QString run(const QString& program, const QStringList& arguments, const QString& executable = {})
    {
        QProcess process;
        process.setProcessEnvironment(sandbox_.environment);
        process.start(program == "quintara" ? executable : program, arguments);
        if (!process.waitForFinished(kWaitMs) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            return "failed: " + QString::fromUtf8(process.readAllStandardError());
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    // Each step's command, then what it must have signalled and what playerctl reads back.
    void walk(std::span<const Step> steps)
    {
        for (const Step& step : steps) {
            const QString what = step.command.join(' ');
            if (!step.command.isEmpty()) {
                recorder_.heard.clear();
                const bool playerctl = step.command.front() == "playerctl";
                const QString said = run(step.command.front(),
                                         (playerctl ? QStringList{"-p", "quintara"} : QStringList{}) +
                                             step.command.mid(1),
                                         QUINTARA_EXE);
                EXPECT_FALSE(said.startsWith("failed")) << what.toStdString() << ": " << said.toStdString();
            }
            EXPECT_TRUE(waitFor([&] { return recorder_.heard[step.signalled] == step.value; }))
                << what.toStdString() << ": " << step.signalled.toStdString() << " is "
                << recorder_.heard[step.signalled].toStdString();
            const QString answer = run("playerctl", QStringList{"-p", "quintara"} + step.query);
            EXPECT_TRUE(QRegularExpression("^" + step.answer + "$").match(answer).hasMatch())
                << what.toStdString() << ": " << answer.toStdString();
        }
    }

    bool nameOwned()
    {
        return connection_->interface()->isServiceRegistered(kName).value();
    }

    QVariant property(const QString& interface, const QString& name)
    {
        const QDBusMessage answer = call("org.freedesktop.DBus.Properties", "Get", {interface, name});
        return answer.arguments().isEmpty() ? QVariant() : answer.arguments().front().value<QDBusVariant>().variant();
    }
    void setProperty(const QString& interface, const QString& name, const QVariant& value)
    {
        call("org.freedesktop.DBus.Properties", "Set", {interface, name, QVariant::fromValue(QDBusVariant(value))});
    }

    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(kName, kPath, interface, method);
        message.setArguments(arguments);
        return connection_->call(message, QDBus::Block, kWaitMs);
    }

    PrivateBus bus_;
    PlayerSandbox sandbox_;
    SignalRecorder recorder_;
    std::unique_ptr<QDBusConnection> connection_;
};

TEST_F(Mpris, PlayerctlDrivesThePlayerAndEachChangeIsSignalledAsItHappens)
{
    TempDir dir;
    const std::string one = MakeClip(dir.file("one.mpg"), 30);
    const std::string two = MakeClip(dir.file("two.mpg"), 30);
    ASSERT_FALSE(one.empty() || two.empty()) << "ffmpeg could not make the clips";
    const QString oneUrl = QUrl::fromLocalFile(QString::fromStdString(one)).toString();
    const QString format = "{{xesam:trackNumber}} {{xesam:title}} {{mpris:length}} {{xesam:url}}";

    auto player = sandbox_.launch({QString::fromStdString(one), QString::fromStdString(two)});
    ASSERT_TRUE(player);
    ASSERT_TRUE(waitFor([this] { return nameOwned(); }));

    const Step steps[] = {
        {{}, {"status"}, "Playing", "PlaybackStatus", "Playing"},
        {{"playerctl", "pause"}, {"status"}, "Paused", "PlaybackStatus", "Paused"},
        {{"playerctl", "position", "12"}, {"position"}, "12\\.\\d+", "Seeked", "12000000"},
        {{"playerctl", "play"}, {"status"}, "Playing", "PlaybackStatus", "Playing"},
        {{"playerctl", "next"}, {"-f", format, "metadata"}, "2 two\\.mpg (29|30)\\d{6} file://.*/two\\.mpg",
         "Metadata.xesam:trackNumber", "2"},
        {{"playerctl", "loop", "Track"}, {"loop"}, "Track", "LoopStatus", "Track"},
        {{"playerctl", "loop", "Playlist"}, {"loop"}, "Playlist", "LoopStatus", "Playlist"},
        {{"playerctl", "loop", "None"}, {"loop"}, "None", "LoopStatus", "None"},
        {{"playerctl", "volume", "0.25"}, {"volume"}, "0\\.2[45]\\d*", "Volume", "0.25"},
        {{"playerctl", "stop"}, {"status"}, "Stopped", "PlaybackStatus", "Stopped"},
        // Changes that do not come over the bus are signalled all the same.
        {{"quintara", "/Play"}, {"status"}, "Playing", "PlaybackStatus", "Playing"},
        {{"playerctl", "previous"}, {"-f", format, "metadata"}, "1 one\\.mpg (29|30)\\d{6} file://.*/one\\.mpg",
         "Metadata.xesam:trackNumber", "1"},
        {{"playerctl", "open", oneUrl}, {"-f", format, "metadata"}, "1 one\\.mpg (29|30)\\d{6} file://.*/one\\.mpg",
         "CanGoPrevious", "false"},
    };
    walk(steps);

    // Each entry keeps the id it got as it entered the list: the same file opened again is a
    // new entry, and a position meant for the old one is passed over.
    const auto trackId = [&] {
        const QVariantMap metadata = qdbus_cast<QVariantMap>(property(kPlayer, "Metadata").value<QDBusArgument>());
        return metadata.value("mpris:trackid").value<QDBusObjectPath>().path();
    };
    const QString oldId = trackId();
    EXPECT_EQ(call(kPlayer, "OpenUri", {"file://localhost" + QString::fromStdString(one)}).errorMessage(), "");
    EXPECT_TRUE(waitFor([&] { return trackId() != oldId; })) << oldId.toStdString();
    EXPECT_TRUE(trackId().startsWith("/com/halvex/Quintara/track/")) << trackId().toStdString();
    call(kPlayer, "SetPosition", {QVariant::fromValue(QDBusObjectPath(oldId)), qlonglong(20'000'000)});
    EXPECT_LT(property(kPlayer, "Position").toLongLong(), 15'000'000) << "a stale id moved the track";

    // The rates the configuration offers, played and asked for; any other is passed over.
    EXPECT_EQ(property(kPlayer, "MinimumRate").toDouble(), 0.5);
    EXPECT_EQ(property(kPlayer, "MaximumRate").toDouble(), 3.0);
    for (const double rate : {3.0, 1.7, 0.5, 1.0}) {
        setProperty(kPlayer, "Rate", rate);
        const double expected = rate == 1.7 ? 3.0 : rate;
        EXPECT_TRUE(waitFor([&] { return property(kPlayer, "Rate").toDouble() == expected; })) << rate;
        EXPECT_TRUE(waitFor([&] { return recorder_.heard["Rate"].toDouble() == expected; })) << rate;
    }
    // The video window's full screen, both ways.
    EXPECT_TRUE(property(kRoot, "CanSetFullscreen").toBool());
    for (const bool on : {true, false}) {
        setProperty(kRoot, "Fullscreen", on);
        EXPECT_TRUE(waitFor([&] { return property(kRoot, "Fullscreen").toBool() == on; })) << on;
    }
    EXPECT_EQ(property(kRoot, "DesktopEntry").toString(), "com.halvex.Quintara");
    const QStringList types = property(kRoot, "SupportedMimeTypes").toStringList();
    for (const char* type : {"video/mpeg", "application/x-cue", "inode/directory"})
        EXPECT_TRUE(types.contains(type)) << type << " in " << types.join(',').toStdString();

    // What cannot be played is refused, saying why, and changes nothing; the panel can be raised.
    const std::pair<QString, QString> refused[] = {
        {"http://example.org/clip.mpg", "org.freedesktop.DBus.Error.NotSupported"},
        {QUrl::fromLocalFile(QString::fromStdString(dir.file("none.mpg"))).toString(),
         "org.freedesktop.DBus.Error.InvalidArgs"},
        {QUrl::fromLocalFile(QString::fromStdString(dir.write("notes.txt", "not a clip"))).toString(),
         "org.freedesktop.DBus.Error.NotSupported"},
    };
    const QString playing = trackId();
    for (const auto& [uri, error] : refused)
        EXPECT_EQ(call(kPlayer, "OpenUri", {uri}).errorName().toStdString(), error.toStdString()) << uri.toStdString();
    EXPECT_EQ(trackId(), playing);
    EXPECT_EQ(property(kPlayer, "PlaybackStatus").toString(), "Playing");
    EXPECT_EQ(call("org.mpris.MediaPlayer2", "Raise").errorMessage().toStdString(), "");

    EXPECT_EQ(call("org.mpris.MediaPlayer2", "Quit").errorMessage().toStdString(), "");
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
    EXPECT_FALSE(nameOwned());
}

// A Video CD with menus, as the desktop's media controls see and drive it: the list and its
// item in the metadata, Play/Pause as the menu's default, Stop parked on a list, Previous as
// the list's link. Each list checked stays put for seconds: the menu 10, list 2 six.
TEST_F(Mpris, AVideoCdsListsAreToldAndFollowed)
{
    const PbcImage image(PbcImage::Kind::VideoCd);
    auto player = sandbox_.launch({QString::fromStdString(image.cue)});
    ASSERT_TRUE(player);
    ASSERT_TRUE(waitFor([this] { return nameOwned(); }));

    const QString list = "'\\S+/Pbc/L%1/I\\d+' ";  // playerctl quotes a path
    const QStringList item{"-f", "{{mpris:trackid}} {{xesam:title}} {{xesam:album}}", "metadata"};
    const Step steps[] = {
        {{}, item, list.arg(1) + "Menu \\(list 1\\) PBCTEST", "Metadata.xesam:title", "Menu (list 1)"},
        {{"playerctl", "play-pause"}, item, list.arg(2) + "(Track 1|Picture \\(list 2\\)) PBCTEST", "CanGoPrevious",
         "true"},
        {{"playerctl", "stop"}, {"status"}, "Stopped", "PlaybackStatus", "Stopped"},
        {{"playerctl", "play"}, {"status"}, "Playing", "PlaybackStatus", "Playing"},
        {{"playerctl", "previous"}, item, list.arg(1) + "Menu \\(list 1\\) PBCTEST", "Metadata.xesam:title",
         "Menu (list 1)"},
    };
    walk(steps);
    EXPECT_FALSE(property(kPlayer, "CanGoPrevious").toBool()) << "the menu has no PREVIOUS";

    EXPECT_EQ(call(kRoot, "Quit").errorMessage().toStdString(), "");
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
}

// A desktop service that inhibits the screen saver, as the portal, the screen saver and GNOME's
// session manager do: it notes each call as "Member(arguments)" with the path it came to when
// that is not its own, and answers an inhibition with a cookie or, as the portal, a request;
// while it holds its answers, they wait for answerHeld().
class StandInInhibitor : public QDBusVirtualObject {
public:
    StandInInhibitor(QString name, QString path) : name_(std::move(name)), path_(std::move(path)) {}
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        QStringList words;
        for (const QVariant& argument : message.arguments()) {
            const bool map = argument.canConvert<QDBusArgument>();
            words << (map ? "{" + qdbus_cast<QVariantMap>(argument.value<QDBusArgument>()).keys().join(',') + "}"
                          : argument.toString());
        }
        const QString where = message.path() == path_ ? QString() : " at " + message.path();
        calls << message.member() + "(" + words.join(',') + ")" + where;
        QDBusMessage reply = message.createReply();
        if (message.member() == "Inhibit" && name_.contains("portal"))
            reply << QVariant::fromValue(QDBusObjectPath(path_ + "/request/" + QString::number(++made_)));
        else if (message.member() == "Inhibit")
            reply << uint32_t(40 + ++made_);
        if (holdAnswers) {
            message.setDelayedReply(true);
            held_.emplace_back(connection, reply);
            return true;
        }
        connection.send(reply);
        return true;
    }
    void answerHeld()
    {
        for (auto& [connection, reply] : std::exchange(held_, {}))
            connection.send(reply);
    }
    // Takes its name on the bus; false when it could not.
    bool appear(const QString& address)
    {
        QDBusConnection connection = QDBusConnection::connectToBus(address, name_);
        return connection.registerVirtualObject(path_, this, QDBusConnection::SubPath) &&
               connection.registerService(name_);
    }
    void leave() { QDBusConnection::disconnectFromBus(name_); }
    bool heard(const QString& call) { return waitFor([&] { return calls.contains(call); }); }

    QStringList calls;
    bool holdAnswers = false;

private:
    QString name_;
    QString path_;
    int made_ = 0;
    std::vector<std::pair<QDBusConnection, QDBusMessage>> held_;
};

TEST_F(Mpris, TheScreenStaysAwakeWhileAVideoPlaysThroughTheBestInhibitorPresent)
{
    TempDir dir;
    const std::string clip = MakeClip(dir.file("clip.mpg"), 30);
    ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the clip";
    StandInInhibitor portal("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop");
    StandInInhibitor saver("org.freedesktop.ScreenSaver", "/org/freedesktop/ScreenSaver");
    StandInInhibitor gnome("org.gnome.SessionManager", "/org/gnome/SessionManager");
    ASSERT_TRUE(portal.appear(bus_.address) && saver.appear(bus_.address));
    const QString request = " at /org/freedesktop/portal/desktop/request/";

    auto player = sandbox_.launch({QString::fromStdString(clip)});
    ASSERT_TRUE(player);
    EXPECT_TRUE(portal.heard("Inhibit(,8,{reason})")) << portal.calls.join('|').toStdString();
    EXPECT_EQ(run("playerctl", {"-p", "quintara", "pause"}), "");
    EXPECT_TRUE(portal.heard("Close()" + request + "1")) << portal.calls.join('|').toStdString();
    EXPECT_EQ(run("playerctl", {"-p", "quintara", "play"}), "");
    ASSERT_TRUE(waitFor([&] { return portal.calls.count("Inhibit(,8,{reason})") == 2; }));

    // A service that leaves takes its inhibition along; the best one left or the next to come
    // takes over.
    portal.leave();
    EXPECT_TRUE(saver.heard("Inhibit(com.halvex.Quintara,Playing a video)")) << saver.calls.join('|').toStdString();
    saver.leave();
    // The last one answers only once the player has been told to quit, which may be after its
    // loop has ended: what it grants so late is let go all the same.
    gnome.holdAnswers = true;
    ASSERT_TRUE(gnome.appear(bus_.address));
    EXPECT_TRUE(gnome.heard("Inhibit(com.halvex.Quintara,0,Playing a video,8)")) << gnome.calls.join('|').toStdString();

    EXPECT_EQ(call("org.mpris.MediaPlayer2", "Quit").errorMessage().toStdString(), "");
    gnome.answerHeld();
    EXPECT_TRUE(gnome.heard("Uninhibit(41)")) << gnome.calls.join('|').toStdString();
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
    EXPECT_EQ(portal.calls.size() + saver.calls.size(), 4) << "nothing else was asked";
    gnome.leave();
}

TEST(MprisWithoutABus, ThePlayerRunsAsBefore)
{
    TempDir dir;
    const QString absent[] = {QString(), "unix:path=" + QString::fromStdString(dir.file("no-bus-here"))};
    for (const QString& address : absent) {
        PlayerSandbox sandbox;
        if (!address.isEmpty())
            sandbox.environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
        auto player = sandbox.launch();
        ASSERT_TRUE(player) << address.toStdString();
        EXPECT_EQ(sandbox.run({"Close"}), 0);
        EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly) << address.toStdString();
    }
}
}  // namespace

#include "test_mpris.moc"
