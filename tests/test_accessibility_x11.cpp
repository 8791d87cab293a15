// The real player on a real X server, seen from another process through the AT-SPI bus as a
// screen reader sees it: the panel's buttons and display, and the video window.

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/player_process.h"
#include "tests/support/private_services.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_clips.h"

namespace {

// Debian's own Python, where python3-pyatspi lies; another python3 on the PATH lacks it.
constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kProbe = QUINTARA_SOURCE_DIR "/tests/accessibility/panel_probe.py";
constexpr int kProbeMs = 90000;

// The shipped configuration and skin beside a copy of the player, the two volume buttons
// without tips of their own: their names then say the opposite of what they do.
class PlayerBeside {
public:
    explicit PlayerBeside(PlayerSandbox& sandbox)
        : executable(sandbox.copyOfShippedPlayer(folder, [](const std::string& config) {
              return QString::fromStdString(config).remove(QRegularExpression("\\nTip=Volume (Up|Down)")).toStdString();
          }))
    {
    }

    TempDir folder;
    QString executable;
};

QJsonObject childNamed(const QJsonArray& children, const QString& name)
{
    for (const QJsonValue& child : children)
        if (child["name"].toString() == name)
            return child.toObject();
    return {};
}

QJsonObject display(const QJsonArray& children)
{
    for (const QJsonValue& child : children)
        if (child["role"].toString() == "label")
            return child.toObject();
    return {};
}

// A list of names as one line, "Press Toggle".
std::string joined(const QJsonValue& list)
{
    QStringList names;
    for (const QJsonValue& item : list.toArray())
        names << item.toString();
    return names.join(' ').toStdString();
}

TEST(Accessibility, AScreenReaderReadsThePanelPressesItsButtonsAndReadsTheVideoWindowsTitle)
{
    if (QGuiApplication::platformName() != "xcb")
        GTEST_SKIP() << "needs a real X server: Qt's offscreen platform has no AT-SPI bridge";
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "dbus-daemon did not start";
    PrivateAccessibilityBus accessibility(bus.address);
    ASSERT_FALSE(accessibility.address.isEmpty()) << "at-spi-bus-launcher gave no accessibility bus";

    PlayerSandbox sandbox;
    PlayerBeside beside(sandbox);
    const std::string clip = MakeClip(beside.folder.file("clip.mpg"), 30);
    ASSERT_FALSE(clip.empty()) << "ffmpeg could not make the clip";
    QProcessEnvironment& environment = sandbox.environment;
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("DISPLAY", qEnvironmentVariable("DISPLAY"));
    // The desktop's session bus, where the player finds the accessibility bus; the switch makes
    // it speak there with no screen reader's flag set.
    environment.insert("DBUS_SESSION_BUS_ADDRESS", bus.address);
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!environment.contains("PULSE_SERVER") && !runtime.isEmpty())
        environment.insert("PULSE_SERVER", "unix:" + runtime + "/pulse/native");
    auto player = sandbox.launch({QString::fromStdString(clip)}, beside.executable);
    ASSERT_TRUE(player);

    QProcess probe;
    QProcessEnvironment probeEnvironment = QProcessEnvironment::systemEnvironment();
    probeEnvironment.insert("AT_SPI_BUS_ADDRESS", accessibility.address);
    probeEnvironment.insert("DBUS_SESSION_BUS_ADDRESS", bus.address);
    probe.setProcessEnvironment(probeEnvironment);
    // Each step presses a button by its action, then waits for what the display or the
    // button's state must show.
    probe.start(kPython, {kProbe, QString::number(player->processId()), ":playing", "Stop:stopped,0:00:00",
                          "Play/Pause:playing", "Mute/UnMute:checked,muted"});
    ASSERT_TRUE(probe.waitForFinished(kProbeMs)) << "the probe did not end";
    const QByteArray output = probe.readAllStandardOutput();
    ASSERT_EQ(probe.exitCode(), 0) << output.toStdString() << probe.readAllStandardError().toStdString();
    const QJsonObject seen = QJsonDocument::fromJson(output).object();
    const QJsonArray steps = seen["steps"].toArray();
    ASSERT_EQ(steps.size(), 4);
    // As the panel is once the command line's clip plays.
    const QJsonArray children = steps[0]["children"].toArray();

    // The panel's window, its 38 buttons in the skin's order, then the display.
    EXPECT_EQ(seen["panel"].toString().toStdString(), "Quintara");
    ASSERT_EQ(children.size(), 39);
    EXPECT_EQ(children.first()["name"].toString().toStdString(), "Minimize");
    EXPECT_EQ(children.last()["role"].toString().toStdString(), "label");
    const struct {
        const char* name;
        const char* role;
        const char* description;
        const char* actions;
    } buttons[] = {
        {"Play/Pause", "push button", "", "Press"},
        {"Stop", "push button", "", "Press"},
        {"Mute/UnMute", "check box", "", "Press Toggle"},
        {"Video Topmost", "check box", "", "Press Toggle"},
        {"Repeat", "push button", "", "Press"},
        // Named by the command's own text, they do the opposite.
        {"Volume Up", "push button", "Lowers the volume", "Press"},
        {"Volume Down", "push button", "Raises the volume", "Press"},
    };
    for (const auto& expected : buttons) {
        const QJsonObject button = childNamed(children, expected.name);
        EXPECT_EQ(button["role"].toString().toStdString(), expected.role) << expected.name;
        EXPECT_EQ(button["description"].toString().toStdString(), expected.description) << expected.name;
        EXPECT_EQ(joined(button["actions"]), expected.actions) << expected.name;
        EXPECT_EQ(joined(button["states"]), "showing") << expected.name;
    }
    const QJsonObject led = display(children);
    // Two reads of a running display: they agree but for the time, which may tick between them.
    const QRegularExpression clock("\\d:\\d\\d:\\d\\d of");
    EXPECT_EQ(led["name"].toString().replace(clock, "T of").toStdString(),
              led["text"].toString().replace(clock, "T of").toStdString());
    const QRegularExpression reading("^Track 01, \\d:\\d\\d:\\d\\d of 0:00:(29|30), playing, volume \\d+ of 16$");
    EXPECT_TRUE(reading.match(led["text"].toString()).hasMatch()) << led["text"].toString().toStdString();

    const char* const shown[] = {"playing", "stopped", "playing", "muted"};
    for (int i = 0; i < 4; ++i) {
        const QJsonObject step = steps[i].toObject();
        const QString text = display(step["children"].toArray())["text"].toString();
        EXPECT_TRUE(step["shown"].toBool()) << step["button"].toString().toStdString() << ": " << text.toStdString();
        EXPECT_TRUE(text.contains(shown[i])) << text.toStdString();
    }
    const QJsonArray last = steps[3]["children"].toArray();
    EXPECT_EQ(joined(childNamed(last, "Mute/UnMute")["states"]), "checked showing");
    EXPECT_EQ(joined(childNamed(last, "Video Topmost")["states"]), "showing");

    // The video window is a window named by its title: the open track.
    QStringList windows;
    for (const QJsonValue& window : steps[3]["windows"].toArray())
        windows << window["role"].toString() + " " + window["name"].toString();
    EXPECT_EQ(windows.join(", ").toStdString(), "frame Quintara, frame " + clip);

    // The player still ends in order.
    player->terminate();
    EXPECT_EQ(PlayerSandbox::waitForEnd(*player), 18);
}

}  // namespace
