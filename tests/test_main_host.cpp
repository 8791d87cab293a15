// The main window on Qt's loop: queued messages, real timers, and the desktop's ways of ending it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialog>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QKeyEvent>

#include <csignal>
#include <functional>

#include <pthread.h>

#include "app/player_records.h"
#include "app/main_host.h"
#include "app/wiring.h"
#include "tests/support/main_window_parts.h"
#include "core/modal_loop.h"
#include "core/qt_timers.h"
#include "app/shutdown_signals.h"
#include "tests/support/recording_components.h"
#include "tests/support/temp_dir.h"

namespace {
class MainHostTest : public ::testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    void SetUp() override
    {
        folder.write("quintara", "");
        records.windows.instance = folder.file("quintara");
        InstallRecordingComponents(records.components, journal);
    }

    // The commands and disc events, each noted in the journal.
    class RecordingParts : public NoParts {
    public:
        explicit RecordingParts(Journal& journal) : journal_(journal) {}
        bool dispatchCommand(CommandId command, CommandPhase phase) override
        {
            journal_.push_back("DispatchCommand(" + std::to_string(CommandNumber(command)) + "," +
                               std::to_string(CommandPhaseNumber(phase)) + ")");
            return true;
        }
        void loadDisc(uintptr_t drive, intptr_t mode) override
        {
            journal_.push_back("LoadDisc(" + std::to_string(drive) + "," + std::to_string(mode) + ")");
        }

    private:
        Journal& journal_;
    };

    TempDir folder;
    Journal journal;
    RecordingParts parts{journal};
    ShutdownSignals shutdownSignals;
};

TEST_F(MainHostTest, PostedMessagesWaitForTheLoopAndKeepTheirOrder)
{
    MainHost host(MainWindowLinksOf(records), records.modalLoops, nullptr, shutdownSignals, parts);
    ASSERT_EQ(host.create(), 0);
    journal.clear();
    host.mainWindow().post({msg::SecondStart, second_start::LoadDrive, 4});
    host.mainWindow().post({msg::SecondStart, second_start::Play, 0});
    EXPECT_TRUE(journal.empty());
    QTimer::singleShot(0, [&] { host.mainWindow().post({msg::Close, 0, 0}); });
    EXPECT_EQ(QCoreApplication::exec(), 18);
    EXPECT_EQ(journal, (Journal{"LoadDisc(4,0)", "DispatchCommand(10,3)", "Sonokit_UnHookDevice(0)",
                                "Discbay_DeInit", "Reelkit_DeInit"}));
}

// Keys as the panel takes them, noted in the journal.
class KeyNoter : public QWidget {
public:
    explicit KeyNoter(Journal& journal) : journal_(journal) {}

protected:
    void keyPressEvent(QKeyEvent* event) override { journal_.push_back("key " + event->text().toStdString()); }

private:
    Journal& journal_;
};

TEST_F(MainHostTest, WhileTheEngineOpensMessagesKeysAndTicksWaitThenComeInTheirOrder)
{
    MainHost host(MainWindowLinksOf(records), records.modalLoops, nullptr, shutdownSignals, parts);
    ASSERT_EQ(host.create(), 0);
    journal.clear();
    KeyNoter panel(journal);
    const auto tick = [this](TimerId id) { journal.push_back("tick " + std::to_string(id)); };
    QtTimers timers(tick, &records.turns);

    records.turns.wait();
    QTest::keyClick(&panel, Qt::Key_P);
    host.mainWindow().post({msg::SecondStart, second_start::LoadDrive, 4});
    host.mainWindow().post({msg::SecondStart, second_start::Play, 0});
    QTest::qWait(30);
    timers.start(7, 10);
    timers.start(8, 10);
    QTest::qWait(100);
    timers.stop(7);
    EXPECT_TRUE(journal.empty());

    // A tick that ran out ten times meanwhile comes once; one whose timer stopped, never.
    records.turns.resume();
    EXPECT_EQ(journal, (Journal{"key p", "LoadDisc(4,0)", "DispatchCommand(10,3)", "tick 8"}));
    EXPECT_EQ(records.turns.queued(), 0u);

    QTest::keyClick(&panel, Qt::Key_S);
    EXPECT_EQ(journal.back(), "key s") << "with nothing awaited, input goes straight through";
    timers.stop(8);
    QTimer::singleShot(0, [&] { host.mainWindow().post({msg::Close, 0, 0}); });
    EXPECT_EQ(QCoreApplication::exec(), 18);
}

TEST_F(MainHostTest, TheSessionEndingRunsTheOrderlyShutDown)
{
    MainHost host(MainWindowLinksOf(records), records.modalLoops, nullptr, shutdownSignals, parts);
    ASSERT_EQ(host.create(), 0);
    // The session manager's request to end reaches the application as its quit request.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    EXPECT_EQ(QCoreApplication::exec(), 18);
    EXPECT_TRUE(host.mainWindow().destroyed());
}

TEST_F(MainHostTest, ACloseInsideADialogOrAMenuEndsItThenShutsDownOnceItsOpenerHasReturned)
{
    // Each runs its loop as the player's openers do, and tells how it ended.
    const std::pair<const char*, std::function<std::string()>> openers[] = {
        {"dialog",
         [] {
             QDialog dialog;
             dialog.setModal(true);
             return std::string(dialog.exec() == QDialog::Rejected ? "cancelled" : "accepted");
         }},
        {"menu",
         [] {
             QMenu menu;
             menu.addAction(QStringLiteral("E:"));
             return std::string(menu.exec(QPoint(10, 10)) ? "chosen" : "dismissed");
         }},
    };
    const char* ended[] = {"cancelled", "dismissed"};
    for (size_t i = 0; i < std::size(openers); ++i) {
        SCOPED_TRACE(openers[i].first);
        MainHost host(MainWindowLinksOf(records), records.modalLoops, nullptr, shutdownSignals, parts);
        ASSERT_EQ(host.create(), 0);
        journal.clear();
        QTimer::singleShot(0, [&] {
            {
                const ModalLoop loop(records.modalLoops);
                // Asked twice from inside the loop, as by a second start and a signal.
                QTimer::singleShot(0, [&] {
                    host.mainWindow().post({msg::Close, 0, 0});
                    host.mainWindow().post({msg::Close, 0, 0});
                });
                journal.push_back(openers[i].second());
                journal.push_back(host.mainWindow().destroyed() ? "shut down" : "still there");
            }
            journal.push_back("opener returned");
        });
        EXPECT_EQ(QCoreApplication::exec(), 18);
        EXPECT_EQ(journal, (Journal{ended[i], "still there", "opener returned", "Sonokit_UnHookDevice(0)",
                                    "Discbay_DeInit", "Reelkit_DeInit"}));
        EXPECT_FALSE(records.modalLoops.running());
    }
}

// A polite kill that comes while the player still starts waits for the handler, then takes
// the orderly way; once the handler is gone, kills are held again instead of ending the
// tear-down.
TEST(ShutdownSignalsTest, AKillBeforeTheHandlerWaitsForItAndOneAfterItIsHeld)
{
    ASSERT_TRUE(ShutdownSignals::hold());
    ::raise(SIGTERM);  // would end this program if it were not held
    {
        ShutdownSignals handler;
        QSignalSpy requested(&handler, &ShutdownSignals::requested);
        ASSERT_TRUE(requested.wait(5000));
        EXPECT_EQ(requested.takeFirst().at(0).toInt(), SIGTERM);
    }
    ::raise(SIGTERM);
    sigset_t pending;
    ::sigpending(&pending);
    EXPECT_TRUE(::sigismember(&pending, SIGTERM));
    // Let the held one go unheard, and leave the program as it was.
    ::signal(SIGTERM, SIG_IGN);
    sigset_t term;
    ::sigemptyset(&term);
    ::sigaddset(&term, SIGTERM);
    ::pthread_sigmask(SIG_UNBLOCK, &term, nullptr);
    ::signal(SIGTERM, SIG_DFL);
}

TEST(QtTimers, TicksByIdRestartAndStop)
{
    std::vector<TimerId> ticks;
    QtTimers timers([&](TimerId id) { ticks.push_back(id); });
    timers.start(1002, 1000);
    EXPECT_EQ(timers.period(1002), 1000u);
    timers.start(1002, 20);  // restarting takes the new period
    timers.start(1003, 0);
    EXPECT_EQ(timers.period(1002), 20u);
    EXPECT_EQ(timers.period(1003), kMinimumTimerPeriod);
    QTRY_VERIFY_WITH_TIMEOUT(std::count(ticks.begin(), ticks.end(), 1002) >= 2, 5000);
    timers.stop(1002);
    timers.stop(1003);
    EXPECT_FALSE(timers.isRunning(1002));
    EXPECT_EQ(timers.period(1002), 0u);
    const size_t seen = ticks.size();
    QTest::qWait(60);
    EXPECT_EQ(ticks.size(), seen);
}
}  // namespace
