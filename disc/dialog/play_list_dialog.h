#pragma once

#include <QDialog>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "disc/dialog/dialog_folder_combo.h"
#include "disc/dialog/dialog_views.h"
#include "components/discbay/drive_table.h"
#include "disc/play_list.h"
#include "playback/play_list_chooser.h"

class DriveView;
class Playback;
class ModalLoops;
class QListView;
class QPushButton;
class Window;

// What the dialog is handed: the play list it edits (none while there is no main window), the
// drives it lists, the modal loops it runs as one of, and playback, whose panel shows the busy
// cursor while a folder is read.
struct PlayListDialogLinks {
    PlayListStore& playList;
    DriveView& drives;
    ModalLoops& modalLoops;
    const Playback& playback;
};

// The play-list dialog, modal and owned by the given window (the panel) when it is a widget:
// answers true only when it was closed with OK, after the edited list replaced the play list.
// While one is open, a second call brings it forward and answers false.
bool ShowPlayListDialog(const PlayListDialogLinks& links, Window* owner);

// The dialog as playback's way of choosing a play list.
class PlayListDialogChooser : public PlayListChooser {
public:
    explicit PlayListDialogChooser(const PlayListDialogLinks& links) : links_(links) {}
    bool choose(Window* owner) const override { return ShowPlayListDialog(links_, owner); }

private:
    PlayListDialogLinks links_;
};

// Drives on the left, folders and playable files in the middle, the play-list copy on the
// right. Its controls are named for tests: folderCombo, fileList, playList, add, remove,
// clearAll, ok, cancel.
class PlayListDialog : public QDialog {
    Q_OBJECT
public:
    PlayListDialog(const PlayListDialogLinks& links, QWidget* owner);
    ~PlayListDialog() override;

    // Fills the drives, the first folder's files and the play-list copy; false without a play
    // list, and the dialog is then to be cancelled.
    bool initialise();
    const PlayList& playListCopy() const { return chosen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectControls();
    void checkFolderCombo();
    void selectFolder(int row);
    void openFileItem();
    void openPlayListItem();
    void addSelected();
    void removeSelected();
    void clearAll();
    void accepted();
    void updateAdd();
    void updateRemove();
    void updateClearAll();
    void listFolder(const std::string& folder);
    std::vector<uint32_t> selectedRows(const QListView& view) const;

    PlayListDialogLinks links_;
    DriveTable drives_;
    FolderCombo combo_;
    PlayList files_;
    PlayList chosen_;
    DialogIcons icons_;
    int itemHeight_ = 0;
    bool updatingAdd_ = false;

    FolderComboBox* folderCombo_ = nullptr;
    QListView* fileList_ = nullptr;
    QListView* playList_ = nullptr;
    PlayListModel* filesModel_ = nullptr;
    PlayListModel* chosenModel_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* clearAll_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
