#pragma once

#include <QAbstractListModel>
#include <QComboBox>
#include <QFileIconProvider>
#include <QHash>
#include <QIcon>
#include <QStyledItemDelegate>

#include <functional>
#include <string>
#include <string_view>

#include "disc/dialog/dialog_folder_combo.h"
#include "disc/play_list.h"

// The desktop's small icons for the dialog, one per kind of entry: folders, drives by type,
// files by extension, so that scrolling a long list asks the desktop once per extension.
class DialogIcons {
public:
    const QIcon& forEntry(const PlayListEntry& entry);
    const QIcon& forDrive(DriveType type);
    const QIcon& openFolder();

private:
    QFileIconProvider provider_;
    QHash<QString, QIcon> byExtension_;
    QHash<int, QIcon> byDrive_;
    QIcon folder_;
    QIcon openFolder_;
};

// A list of the dialog as a model over one PlayList; the view keeps the selection.
class PlayListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole + 1, DirectoryRole };

    explicit PlayListModel(PlayList& list, QObject* parent = nullptr);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    PlayList& list() { return list_; }
    const PlayList& list() const { return list_; }
    // After the list was replaced or had entries removed.
    void reload();
    // Appends entries, keeping the view's selection.
    void append(const std::vector<PlayListEntry>& entries);

private:
    PlayList& list_;
};

// Draws an entry of either list: icon at 2 pixels, text after it; folders never highlighted.
// The file list shows names; the play-list copy shows whole paths, shortened when too wide.
class ListItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // drives give the drive root a path is shortened below; without them names are shown.
    ListItemDelegate(DialogIcons& icons, int itemHeight, const DriveTable* drives, QObject* parent = nullptr);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    DialogIcons& icons_;
    int itemHeight_;
    const DriveTable* drives_;  // the dialog's, which outlives the delegate
};

// What a combo item is drawn from.
struct ComboItemLook {
    const FolderComboItem* item = nullptr;
    QString label;
    DriveType driveType = DriveType::Unknown;
    uint32_t depth = 0;
    bool openFolder = false;
    bool selected = false;
    bool focused = false;
};

// Paints one item of the folder combo into rect: indented by a quarter of the icon's width per
// level, the open folder for the selected item.
void PaintComboItem(QPainter& painter, const QRect& rect, const ComboItemLook& look, DialogIcons& icons,
                    const QPalette& palette, const QWidget* widget);

// The folder combo: a drop-down list whose items are drawn from the dialog's FolderCombo.
class FolderComboBox : public QComboBox {
    Q_OBJECT
public:
    FolderComboBox(const FolderCombo& combo, const DriveTable& drives, DialogIcons& icons, int itemHeight,
                   QWidget* parent = nullptr);
    // Shows the items of the FolderCombo again, its selection current.
    void reload();
    ComboItemLook lookOf(int row, bool field) const;

signals:
    // Before the drop-down opens, while its items may still change.
    void aboutToPopUp();

protected:
    void showPopup() override;
    void paintEvent(QPaintEvent* event) override;

private:
    const FolderCombo& combo_;
    const DriveTable& drives_;
    DialogIcons& icons_;
};

// Draws the items of the combo's drop-down.
class ComboItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    ComboItemDelegate(FolderComboBox& combo, DialogIcons& icons, int itemHeight);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    FolderComboBox& combo_;
    DialogIcons& icons_;
    int itemHeight_;
};

// The small-icon size of the desktop's style.
int SmallIconSize(const QWidget* widget);
