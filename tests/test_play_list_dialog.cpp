#include "disc/dialog/play_list_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "core/window.h"
#include "playback/playback.h"
#include "tests/support/icon_match.h"
#include "tests/support/manual_timers.h"
#include "tests/support/playback_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

PlayListDialogLinks dialogLinks(PlayerRecords& records)
{
    return {.playList = records.playList,
            .drives = records.drives,
            .modalLoops = records.modalLoops,
            .playback = records.playback};
}

std::vector<PlayListDialog*> openDialogs()
{
    std::vector<PlayListDialog*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<PlayListDialog*>(widget); dialog && dialog->isVisible())
            found.push_back(dialog);
    }
    return found;
}

// The dialog's controls by their names.
struct Controls {
    explicit Controls(PlayListDialog& dialog)
        : combo(dialog.findChild<QComboBox*>("folderCombo")),
          files(dialog.findChild<QListView*>("fileList")),
          chosen(dialog.findChild<QListView*>("playList")),
          add(dialog.findChild<QPushButton*>("add")),
          remove(dialog.findChild<QPushButton*>("remove")),
          clearAll(dialog.findChild<QPushButton*>("clearAll")),
          ok(dialog.findChild<QPushButton*>("ok")),
          cancel(dialog.findChild<QPushButton*>("cancel"))
    {
    }

    static std::vector<std::string> rows(const QListView* view)
    {
        std::vector<std::string> out;
        for (int row = 0; row < view->model()->rowCount(); ++row)
            out.push_back(view->model()->index(row, 0).data(PlayListModel::PathRole).toString().toStdString());
        return out;
    }
    static QPoint centreOf(const QListView* view, int row) { return view->visualRect(view->model()->index(row, 0)).center(); }
    static void click(QListView* view, int row, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, centreOf(view, row));
    }
    static void doubleClick(QListView* view, int row)
    {
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centreOf(view, row));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centreOf(view, row));
    }
    std::string comboPath() const { return combo->currentData().toString().toStdString(); }
    std::vector<bool> buttons() const { return {add->isEnabled(), remove->isEnabled(), clearAll->isEnabled()}; }

    QComboBox* combo;
    QListView* files;
    QListView* chosen;
    QPushButton* add;
    QPushButton* remove;
    QPushButton* clearAll;
    QPushButton* ok;
    QPushButton* cancel;
};

// Playback with the scripted engine, the dialog as the Play List command's dialog, and a
// CD-ROM drive D: bound to a folder holding sub-folders and mixed files.
class PlayListDialogTest : public PlaybackTest {
protected:
    PlayListDialogTest()
    {
        disc = dir.file("disc");
        std::filesystem::create_directories(disc + "/B");
        std::filesystem::create_directories(disc + "/a");
        dir.write("disc/a/inner.avi", "x");
        for (const char* name : {"Y.dat", "z.txt", "x.MPG"})
            dir.write(std::string("disc/") + name, "x");
        records.settings.cfgPath = dir.write("Quintara.CFG", "[Drives]\nD: = " + disc + ", CD-ROM\n");
        playback().setPlayListChooser(&chooser);
    }

    std::string inDisc(const std::string& name) const { return disc + "/" + name; }

    PlayListDialogChooser chooser{dialogLinks(records)};

    // Runs the Play List command; the script acts on the dialog once it shows and must close it.
    void runPlayList(const std::function<void(PlayListDialog&, Controls&)>& script)
    {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            const std::vector<PlayListDialog*> dialogs = openDialogs();
            ASSERT_EQ(dialogs.size(), 1u);
            Controls controls(*dialogs.front());
            script(*dialogs.front(), controls);
            ran = true;
            if (dialogs.front()->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                dialogs.front()->reject();
            }
        });
        EXPECT_TRUE(records.playback.DispatchCommand(CommandId::PlayList, CommandPhase::Click));
        EXPECT_TRUE(ran);
        EXPECT_TRUE(openDialogs().empty());
    }

    TempDir dir;
    std::string disc;
};

TEST_F(PlayListDialogTest, OpensOnTheCdRomDriveWithFoldersFirstThenThePlayableFiles)
{
    loadTracks(2, 2, 0);
    runPlayList([&](PlayListDialog& dialog, Controls& c) {
        EXPECT_EQ(dialog.windowTitle(), "Video Player");
        EXPECT_TRUE(DrawsPicture(dialog.windowIcon(), ":/icons/quintara.png"));
        const auto* picture = dialog.findChild<QLabel*>("applicationIcon");
        ASSERT_NE(picture, nullptr);
        EXPECT_FALSE(picture->pixmap().isNull());
        EXPECT_EQ(picture->pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
                  QIcon(":/icons/quintara.png").pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32));
        EXPECT_EQ(c.comboPath(), disc);
        EXPECT_EQ(c.combo->currentText(), "disc (D:)");
        EXPECT_EQ(Controls::rows(c.files),
                  (std::vector<std::string>{inDisc("a"), inDisc("B"), inDisc("x.MPG"), inDisc("Y.dat")}));
        EXPECT_EQ(Controls::rows(c.chosen), (std::vector<std::string>{track(1), track(2)}));
        EXPECT_EQ(c.buttons(), (std::vector<bool>{false, false, true}));
        // Rows are at least as high as a small icon and a pixel above and below it.
        EXPECT_GE(c.files->visualRect(c.files->model()->index(0, 0)).height(), SmallIconSize(c.files) + 2);
        EXPECT_EQ(c.files->visualRect(c.files->model()->index(0, 0)).height(),
                  c.chosen->visualRect(c.chosen->model()->index(0, 0)).height());
        // Drawn once whole, delegates included.
        EXPECT_FALSE(dialog.grab().isNull());
        c.cancel->click();
    });
    // The folder was listed under the busy cursor, and the cursor came back.
    EXPECT_GE(busyBegins, 1);
    EXPECT_EQ(busyBegins, busyEnds);
}

TEST_F(PlayListDialogTest, TabWalksTheControlsInTheirOrder)
{
    runPlayList([&](PlayListDialog&, Controls& c) {
        const std::vector<QWidget*> order = {c.combo, c.files, c.add, c.remove, c.clearAll, c.chosen, c.ok, c.cancel};
        for (size_t at = 0; at + 1 < order.size(); ++at) {
            QWidget* next = order[at]->nextInFocusChain();
            while (next->focusPolicy() == Qt::NoFocus)
                next = next->nextInFocusChain();
            EXPECT_EQ(next, order[at + 1]) << at;
        }
        c.cancel->click();
    });
}

TEST_F(PlayListDialogTest, AFolderSelectedWithAFileLeavesOnlyTheFileAndTheSameFileAddsTwice)
{
    runPlayList([&](PlayListDialog&, Controls& c) {
        Controls::click(c.files, 0);
        EXPECT_FALSE(c.files->selectionModel()->hasSelection()) << "a folder alone is never selected";
        EXPECT_FALSE(c.add->isEnabled());
        Controls::click(c.files, 2, Qt::ShiftModifier);
        const QModelIndexList selected = c.files->selectionModel()->selectedRows();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.front().row(), 2);
        EXPECT_EQ(c.buttons(), (std::vector<bool>{true, false, false}));
        c.add->click();
        c.add->click();
        EXPECT_EQ(Controls::rows(c.chosen), (std::vector<std::string>{inDisc("x.MPG"), inDisc("x.MPG")}));
        EXPECT_EQ(c.buttons(), (std::vector<bool>{true, false, true}));
        c.ok->click();
    });
    EXPECT_EQ(listPaths(), (std::vector<std::string>{inDisc("x.MPG"), inDisc("x.MPG")}));
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(engine->openPath, inDisc("x.MPG"));
}

TEST_F(PlayListDialogTest, OkReplacesThePlayListAndTrackOnePlaysAsThePlayerDid)
{
    struct Case {
        uint16_t status;
        uint16_t after;
    };
    for (const Case c : {Case{2, 2}, Case{0, 0}}) {
        SCOPED_TRACE(c.status);
        loadTracks(3, 2, c.status);
        runPlayList([&](PlayListDialog&, Controls& controls) {
            controls.clearAll->click();
            EXPECT_EQ(controls.buttons(), (std::vector<bool>{false, false, false}));
            Controls::doubleClick(controls.files, 3);
            Controls::doubleClick(controls.files, 2);
            EXPECT_EQ(Controls::rows(controls.chosen), (std::vector<std::string>{inDisc("Y.dat"), inDisc("x.MPG")}));
            // Enter in a list is the dialog's OK.
            QTest::keyClick(controls.files, Qt::Key_Return);
        });
        EXPECT_EQ(listPaths(), (std::vector<std::string>{inDisc("Y.dat"), inDisc("x.MPG")}));
        EXPECT_EQ(records.state.currentTrack, 1u);
        EXPECT_EQ(engine->openPath, inDisc("Y.dat"));
        EXPECT_EQ(engine->status, c.after);
    }
}

TEST_F(PlayListDialogTest, OkWithoutChangesStillReopensTrackOne)
{
    loadTracks(3, 3, 0);
    runPlayList([&](PlayListDialog&, Controls& c) { c.ok->click(); });
    EXPECT_EQ(listPaths(), (std::vector<std::string>{track(1), track(2), track(3)}));
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(engine->openPath, track(1));
}

TEST_F(PlayListDialogTest, CancelAndEscapeChangeNothing)
{
    const std::vector<std::function<void(Controls&)>> closers = {
        [](Controls& c) { c.cancel->click(); },
        [](Controls& c) { QTest::keyClick(c.files, Qt::Key_Escape); },
        [](Controls& c) { QTest::keyClick(c.chosen, Qt::Key_Escape); },
    };
    for (size_t at = 0; at < closers.size(); ++at) {
        SCOPED_TRACE(at);
        loadTracks(3, 2, 2);
        runPlayList([&](PlayListDialog&, Controls& c) {
            c.clearAll->click();
            Controls::doubleClick(c.files, 2);
            EXPECT_EQ(Controls::rows(c.chosen).size(), 1u);
            closers[at](c);
        });
        EXPECT_EQ(listPaths(), (std::vector<std::string>{track(1), track(2), track(3)}));
        EXPECT_EQ(records.state.currentTrack, 2u);
        EXPECT_TRUE(engine->log.empty());
    }
}

TEST_F(PlayListDialogTest, DeleteAndDoubleClickRemoveFromThePlayListCopy)
{
    loadTracks(4, 1, 0);
    runPlayList([&](PlayListDialog&, Controls& c) {
        Controls::click(c.chosen, 1);
        Controls::click(c.chosen, 3, Qt::ControlModifier);
        EXPECT_EQ(c.buttons(), (std::vector<bool>{false, true, true}));
        QTest::keyClick(c.chosen, Qt::Key_Delete);
        EXPECT_EQ(Controls::rows(c.chosen), (std::vector<std::string>{track(1), track(3)}));
        EXPECT_EQ(c.buttons(), (std::vector<bool>{false, false, true}));
        Controls::doubleClick(c.chosen, 0);
        EXPECT_EQ(Controls::rows(c.chosen), (std::vector<std::string>{track(3)}));
        Controls::click(c.chosen, 0);
        c.remove->click();
        EXPECT_TRUE(Controls::rows(c.chosen).empty());
        EXPECT_EQ(c.buttons(), (std::vector<bool>{false, false, false}));
        c.ok->click();
    });
    EXPECT_TRUE(listPaths().empty());
    EXPECT_EQ(records.state.currentTrack, 0u) << "an empty list leaves no track";
}

TEST_F(PlayListDialogTest, DoubleClickingAFolderEntersItAndChoosingTheRootLeavesIt)
{
    runPlayList([&](PlayListDialog&, Controls& c) {
        const int rootRow = c.combo->currentIndex();
        Controls::doubleClick(c.files, 0);
        EXPECT_EQ(c.comboPath(), inDisc("a"));
        EXPECT_EQ(c.combo->currentIndex(), rootRow + 1);
        EXPECT_EQ(c.combo->currentText(), "a");
        EXPECT_EQ(Controls::rows(c.files), std::vector<std::string>{inDisc("a/inner.avi")});
        EXPECT_TRUE(Controls::rows(c.chosen).empty()) << "a folder never goes to the play list";

        // Up in the closed combo chooses the drive again: the chain goes.
        const int count = c.combo->count();
        c.combo->setFocus();
        QTest::keyClick(c.combo, Qt::Key_Up);
        EXPECT_EQ(c.comboPath(), disc);
        EXPECT_EQ(c.combo->count(), count - 1);
        EXPECT_EQ(Controls::rows(c.files).size(), 4u);
        c.cancel->click();
    });
}

TEST_F(PlayListDialogTest, OpeningTheDropDownDropsADriveThatVanished)
{
    runPlayList([&](PlayListDialog&, Controls& c) {
        Controls::doubleClick(c.files, 0);
        ASSERT_EQ(c.comboPath(), inDisc("a"));
        // The letter is no longer bound: its root goes when the list drops down, the folder
        // of its chain stays, being merely on a drive that went. (The bindings are read once
        // for a configuration file: the new ones come in a file of their own.)
        records.settings.cfgPath = dir.write("Quintara-unbound.CFG", "");
        c.combo->showPopup();
        c.combo->hidePopup();
        EXPECT_EQ(c.comboPath(), inDisc("a"));
        std::vector<std::string> items;
        for (int row = 0; row < c.combo->count(); ++row)
            items.push_back(c.combo->itemData(row).toString().toStdString());
        EXPECT_EQ(std::count(items.begin(), items.end(), disc), 0);
        EXPECT_EQ(std::count(items.begin(), items.end(), inDisc("a")), 1);
        EXPECT_EQ(std::count(items.begin(), items.end(), QDir::homePath().toStdString()), 1) << "the home folder stays";
        c.cancel->click();
    });
}

TEST_F(PlayListDialogTest, ASecondRequestBringsTheOpenDialogForwardAndAnswersNo)
{
    runPlayList([&](PlayListDialog& dialog, Controls& c) {
        // A second dialog would run a loop of its own: this closes it and tells. The timer
        // goes with the script, so it never reaches another test.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            for (PlayListDialog* other : openDialogs()) {
                if (other != &dialog) {
                    ADD_FAILURE() << "a second dialog opened";
                    other->reject();
                }
            }
        });
        guard.start(0);
        EXPECT_FALSE(ShowPlayListDialog(dialogLinks(records), &panel));
        EXPECT_EQ(openDialogs(), std::vector<PlayListDialog*>{&dialog});
        c.cancel->click();
    });
}

TEST_F(PlayListDialogTest, WithoutThePlayListTheDialogCancelsAtOnce)
{
    records.playList.list().reset();
    EXPECT_FALSE(ShowPlayListDialog(dialogLinks(records), &panel));
    EXPECT_TRUE(openDialogs().empty());
}

// A window of the player that is a widget, as the panel is.
class WidgetWindow : public QWidget, public Window {
public:
    explicit WidgetWindow(ManualClock& clock) : timers_(clock) {}
    void post(const Message&) override {}
    TimerHost& timers() override { return timers_; }

private:
    ManualTimers timers_;
};

TEST_F(PlayListDialogTest, OwnedByAnOwnerThatIsAWidgetAndModalToIt)
{
    WidgetWindow owner(clock);
    owner.show();
    records.windows.panel = &owner;
    runPlayList([&](PlayListDialog& dialog, Controls& c) {
        EXPECT_EQ(dialog.parentWidget(), &owner);
        EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
        c.cancel->click();
    });
    records.windows.panel = &panel;
}

}  // namespace
