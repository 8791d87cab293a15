// The real player on a private session bus, driven by playerctl as a desktop would drive it,
// and what it signals of its own accord.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "tests/support/player_process.h"
#include "tests/support/private_services.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_clips.h"

namespace {
constexpr int kOrderly = 18;
constexpr int kWaitMs = 10000;
const QString kName = "org.mpris.MediaPlayer2.quintara";
const QString kPath = "/org/mpris/MediaPlayer2";
const QString kPlayer = "org.mpris.MediaPlayer2.Player";

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

    bool nameOwned()
    {
        return connection_->interface()->isServiceRegistered(kName).value();
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

struct Step {
    QStringList command;  // the program and its words; none to only look
    QStringList query;    // playerctl's words that read back
    QString answer;       // what the query prints, as a pattern
    QString signalled;    // what must be signalled without being asked for, when anything
    QString value;
};

TEST_F(Mpris, PlayerctlDrivesThePlayerAndEachChangeIsSignalledAsItHappens)
{
    TempDir dir;
    const std::string one = MakeClip(dir.file("one.mpg"), 30);
    const std::string two = MakeClip(dir.file("two.mpg"), 30);
    ASSERT_FALSE(one.empty() || two.empty()) << "ffmpeg could not make the clips";
    const QString oneUrl = QUrl::fromLocalFile(QString::fromStdString(one)).toString();
    const QString format = "{{xesam:trackNumber}} {{xesam:title}} {{mpris:length}} {{xesam:url}}";
    const QString executable = QUINTARA_EXE;

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
    for (const Step& step : steps) {
        const QString what = step.command.join(' ');
        if (!step.command.isEmpty()) {
            recorder_.heard.clear();
            const bool playerctl = step.command.front() == "playerctl";
            const QString said = run(step.command.front(),
                                     (playerctl ? QStringList{"-p", "quintara"} : QStringList{}) + step.command.mid(1),
                                     executable);
            EXPECT_FALSE(said.startsWith("failed")) << what.toStdString() << ": " << said.toStdString();
        }
        EXPECT_TRUE(waitFor([&] { return recorder_.heard[step.signalled] == step.value; }))
            << what.toStdString() << ": " << step.signalled.toStdString() << " is "
            << recorder_.heard[step.signalled].toStdString();
        const QString answer = run("playerctl", QStringList{"-p", "quintara"} + step.query);
        EXPECT_TRUE(QRegularExpression("^" + step.answer + "$").match(answer).hasMatch())
            << what.toStdString() << ": " << answer.toStdString();
    }

    // What cannot be played is refused, saying why; the panel can be raised.
    const std::pair<QString, QString> refused[] = {
        {"http://example.org/clip.mpg", "org.freedesktop.DBus.Error.NotSupported"},
        {QUrl::fromLocalFile(QString::fromStdString(dir.file("none.mpg"))).toString(),
         "org.freedesktop.DBus.Error.InvalidArgs"},
    };
    for (const auto& [uri, error] : refused)
        EXPECT_EQ(call(kPlayer, "OpenUri", {uri}).errorName().toStdString(), error.toStdString()) << uri.toStdString();
    EXPECT_EQ(call("org.mpris.MediaPlayer2", "Raise").errorMessage().toStdString(), "");

    EXPECT_EQ(call("org.mpris.MediaPlayer2", "Quit").errorMessage().toStdString(), "");
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), kOrderly);
    EXPECT_FALSE(nameOwned());
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
