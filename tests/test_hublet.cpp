#include "components/hublet/hublet_desktop.h"

#include <string>
#include <vector>

#include <QDesktopServices>
#include <QString>
#include <QTextBrowser>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include "core/message.h"
#include "core/window.h"
#include "tests/support/manual_timers.h"
#include "tests/support/temp_dir.h"

namespace {

// Stands in for the desktop's opener while it lives. QTextBrowser's setSource(QUrl) slot takes
// the URL, so no test class needs moc.
class DesktopOpenerStandIn {
public:
    DesktopOpenerStandIn() { QDesktopServices::setUrlHandler("file", &received_, "setSource"); }
    ~DesktopOpenerStandIn() { QDesktopServices::unsetUrlHandler("file"); }
    DesktopOpenerStandIn(const DesktopOpenerStandIn&) = delete;
    DesktopOpenerStandIn& operator=(const DesktopOpenerStandIn&) = delete;

    QUrl received() const { return received_.source(); }

private:
    QTextBrowser received_;
};

TEST(Hublet, ExecuteCommandHandsTheFileToTheDesktop)
{
    TempDir folder;
    for (const std::string name : {"help.txt", "Quintara Help #1 ?.txt", "Hilfe – Überblick.txt"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.write(name, "help");
        DesktopOpenerStandIn opener;
        HubletQtDesktop hublet;
        EXPECT_TRUE(hublet.executeCommand(path));
        EXPECT_EQ(opener.received(), QUrl::fromLocalFile(QString::fromStdString(path)));
        EXPECT_EQ(opener.received().toLocalFile().toStdString(), path);
    }
}

TEST(Hublet, ExecuteCommandRefusesWhatIsNotThere)
{
    TempDir folder;
    for (const std::string& path : {std::string(), folder.file("missing.txt"), folder.file("no/such/help.pdf")}) {
        SCOPED_TRACE(path);
        DesktopOpenerStandIn opener;
        HubletQtDesktop hublet;
        EXPECT_FALSE(hublet.executeCommand(path));
        EXPECT_TRUE(opener.received().isEmpty()) << "opened " << opener.received().toString().toStdString();
    }
}

TEST(Hublet, RegisteredMessageIsInTheRegisteredRangeAndFixed)
{
    const uint32_t id = RegisteredMessageId();
    EXPECT_NE(id, 0u);
    EXPECT_GE(id, 0xC000u);
    EXPECT_LE(id, 0xFFFFu);
    EXPECT_EQ(RegisteredMessageId(), id);

    HubletQtDesktop hublet;
    EXPECT_EQ(hublet.retrieveRegisterWindowMessage(), id);
    EXPECT_EQ(HubletQtDesktop().retrieveRegisterWindowMessage(), id) << "another object gives the same id";
}

class TestWindow : public QWidget, public Window {
public:
    void post(const Message& message) override { queue_.post(message); }
    TimerHost& timers() override { return timers_; }

private:
    ManualClock clock_;
    ManualTimers timers_{clock_};
    ManualQueue queue_;
};

class NotAWidget : public Window {
public:
    void post(const Message& message) override { queue_.post(message); }
    TimerHost& timers() override { return timers_; }

private:
    ManualClock clock_;
    ManualTimers timers_{clock_};
    ManualQueue queue_;
};

TEST(Hublet, ForegroundRestoresAMinimisedWindow)
{
    struct Case {
        const char* name;
        Qt::WindowStates before;
        Qt::WindowStates after;
    };
    const std::vector<Case> cases = {
        {"minimised", Qt::WindowMinimized, Qt::WindowNoState},
        {"minimised from full screen", Qt::WindowMinimized | Qt::WindowFullScreen, Qt::WindowFullScreen},
        {"already normal", Qt::WindowNoState, Qt::WindowNoState},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestWindow window;
        window.resize(200, 100);
        window.show();
        window.setWindowState(c.before);
        ASSERT_EQ(window.isMinimized(), c.before.testFlag(Qt::WindowMinimized));

        HubletQtDesktop hublet;
        EXPECT_TRUE(hublet.setWindowToForeground(&window));
        EXPECT_FALSE(window.isMinimized());
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.windowState() & ~Qt::WindowActive, c.after);
    }
}

TEST(Hublet, ForegroundRefusesWhatCannotComeForward)
{
    HubletQtDesktop hublet;
    EXPECT_FALSE(hublet.setWindowToForeground(nullptr));

    NotAWidget notAWidget;
    EXPECT_FALSE(hublet.setWindowToForeground(&notAWidget));

    TestWindow neverShown;
    EXPECT_FALSE(hublet.setWindowToForeground(&neverShown));
    EXPECT_FALSE(neverShown.isVisible());
}

}  // namespace
