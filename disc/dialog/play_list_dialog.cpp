#include "disc/dialog/play_list_dialog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <iterator>
#include <utility>

#include "components/discbay/drive_view.h"
#include "core/modal_loop.h"
#include "core/app_icons.h"
#include "core/window.h"
#include "disc/dialog/dialog_lists.h"
#include "playback/playback.h"

namespace {
// A place in dialog units: x, y, width, height.
struct Units {
    int x, y, width, height;
};

constexpr Units kDialog{0, 0, 338, 150};
constexpr Units kFolderCombo{6, 3, 132, 166};
constexpr Units kFileList{6, 20, 132, 104};
constexpr Units kAdd{144, 45, 50, 14};
constexpr Units kRemove{143, 67, 50, 14};
constexpr Units kClearAll{143, 89, 50, 14};
constexpr Units kPlayListLabel{199, 6, 132, 8};
constexpr Units kPlayList{199, 20, 132, 104};
constexpr Units kOk{225, 131, 50, 14};
constexpr Units kCancel{281, 131, 50, 14};
constexpr Units kIcon{6, 128, 20, 20};

// Dialog units scale with the font: a quarter of its average character width across, an
// eighth of its height down.
class DialogScale {
public:
    explicit DialogScale(const QFontMetrics& metrics)
        : baseX_((metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) / 2),
          baseY_(metrics.height())
    {
    }
    QRect rect(const Units& units) const
    {
        return QRect(x(units.x), y(units.y), x(units.width), y(units.height));
    }

private:
    int x(int units) const { return (units * baseX_ + 2) / 4; }
    int y(int units) const { return (units * baseY_ + 4) / 8; }
    int baseX_;
    int baseY_;
};

QListView* makeList(QWidget* parent, const char* name)
{
    auto* view = new QListView(parent);
    view->setObjectName(QLatin1String(name));
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setUniformItemSizes(true);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setTextElideMode(Qt::ElideNone);
    return view;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* text)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

PlayListDialog* openDialog()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<PlayListDialog*>(widget))
            return dialog;
    }
    return nullptr;
}
}  // namespace

bool ShowPlayListDialog(const PlayListDialogLinks& links, Window* owner)
{
    if (PlayListDialog* open = openDialog()) {
        open->raise();
        open->activateWindow();
        return false;
    }
    auto dialog = std::make_unique<PlayListDialog>(links, dynamic_cast<QWidget*>(owner));
    const QPointer<PlayListDialog> alive(dialog.get());
    if (!dialog->initialise())
        return false;
    int result = QDialog::Rejected;
    {
        const ModalLoop loop(links.modalLoops);
        result = dialog->exec();
    }
    // An owner that went while the dialog ran took the dialog with it.
    if (!alive)
        (void)dialog.release();
    return result == QDialog::Accepted;
}

PlayListDialog::PlayListDialog(const PlayListDialogLinks& links, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      links_(links)
{
    setObjectName(QStringLiteral("playListDialog"));
    setWindowTitle(QStringLiteral("Video Player"));
    setWindowIcon(PlayerIcon());
    // Modal to the panel alone, so that the video window still takes its keys.
    setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);

    const int icon = SmallIconSize(this);
    itemHeight_ = std::max(fontMetrics().height(), icon + 2);

    folderCombo_ = new FolderComboBox(combo_, drives_, icons_, itemHeight_, this);
    folderCombo_->setObjectName(QStringLiteral("folderCombo"));
    folderCombo_->setMaxVisibleItems(std::max(1, fontMetrics().height() * 166 / 8 / itemHeight_));
    connect(folderCombo_, &FolderComboBox::aboutToPopUp, this, &PlayListDialog::checkFolderCombo);

    fileList_ = makeList(this, "fileList");
    filesModel_ = new PlayListModel(files_, this);
    fileList_->setModel(filesModel_);
    fileList_->setItemDelegate(new ListItemDelegate(icons_, itemHeight_, nullptr, fileList_));

    add_ = makeButton(this, "add", "Add ->");
    remove_ = makeButton(this, "remove", "<- Remove");
    clearAll_ = makeButton(this, "clearAll", "Clear All");
    for (QPushButton* button : {add_, remove_, clearAll_})
        button->setEnabled(false);

    auto* label = new QLabel(QStringLiteral("Play List:"), this);
    label->setObjectName(QStringLiteral("playListLabel"));

    playList_ = makeList(this, "playList");
    chosenModel_ = new PlayListModel(chosen_, this);
    playList_->setModel(chosenModel_);
    playList_->setItemDelegate(new ListItemDelegate(icons_, itemHeight_, &drives_, playList_));
    playList_->installEventFilter(this);

    ok_ = makeButton(this, "ok", "OK");
    ok_->setDefault(true);
    cancel_ = makeButton(this, "cancel", "Cancel");

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("applicationIcon"));
    picture->setPixmap(PlayerIcon().pixmap(32, 32));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    const DialogScale scale(fontMetrics());
    const std::pair<QWidget*, Units> places[] = {
        {folderCombo_, kFolderCombo}, {fileList_, kFileList}, {add_, kAdd}, {remove_, kRemove},
        {clearAll_, kClearAll}, {label, kPlayListLabel}, {playList_, kPlayList}, {ok_, kOk},
        {cancel_, kCancel}, {picture, kIcon},
    };
    for (const auto& [widget, units] : places)
        widget->setGeometry(scale.rect(units));
    folderCombo_->resize(folderCombo_->width(), folderCombo_->sizeHint().height());
    setFixedSize(scale.rect(kDialog).size());
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // The order of the controls, as Tab walks them.
    QWidget* const tabOrder[] = {folderCombo_, fileList_, add_, remove_, clearAll_, playList_, ok_, cancel_};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    connectControls();
}

void PlayListDialog::connectControls()
{
    connect(folderCombo_, &QComboBox::activated, this, &PlayListDialog::selectFolder);
    connect(fileList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        updateAdd();
        updateClearAll();
    });
    connect(fileList_, &QAbstractItemView::doubleClicked, this, [this] {
        openFileItem();
        updateAdd();
        updateClearAll();
    });
    connect(playList_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        updateRemove();
        updateClearAll();
    });
    connect(playList_, &QAbstractItemView::doubleClicked, this, [this] {
        openPlayListItem();
        updateRemove();
        updateClearAll();
    });
    connect(add_, &QPushButton::clicked, this, [this] {
        addSelected();
        updateClearAll();
    });
    connect(remove_, &QPushButton::clicked, this, &PlayListDialog::removeSelected);
    connect(clearAll_, &QPushButton::clicked, this, &PlayListDialog::clearAll);
    connect(ok_, &QPushButton::clicked, this, &PlayListDialog::accepted);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

PlayListDialog::~PlayListDialog() = default;

bool PlayListDialog::initialise()
{
    if (!links_.playList.list())
        return false;
    drives_ = links_.drives.current();
    FillDriveCombo(combo_, drives_);
    folderCombo_->reload();
    listFolder(combo_.selected ? combo_.items[*combo_.selected].path : std::string());
    CopyList(&chosen_, &*links_.playList.list());
    chosenModel_->reload();
    updateAdd();
    updateRemove();
    updateClearAll();
    folderCombo_->setFocus();
    return true;
}

bool PlayListDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == playList_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        removeSelected();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void PlayListDialog::checkFolderCombo()
{
    CheckFolderCombo(combo_, SystemFolderProbe(links_.drives));
    folderCombo_->reload();
}

void PlayListDialog::selectFolder(int row)
{
    if (row < 0)
        return;
    const std::optional<std::string> folder = SelectFolder(combo_, static_cast<size_t>(row));
    folderCombo_->reload();
    if (folder)
        listFolder(*folder);
}

void PlayListDialog::listFolder(const std::string& folder)
{
    ListDirectory(links_.playList, links_.playback.panel(), &files_, folder);
    filesModel_->reload();
}

std::vector<uint32_t> PlayListDialog::selectedRows(const QListView& view) const
{
    std::vector<uint32_t> rows;
    for (const QModelIndex& index : view.selectionModel()->selectedRows())
        rows.push_back(static_cast<uint32_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PlayListDialog::openFileItem()
{
    const QModelIndex caret = fileList_->currentIndex();
    if (!caret.isValid() || static_cast<size_t>(caret.row()) >= files_.entries.size())
        return;
    const PlayListEntry entry = files_.entries[static_cast<size_t>(caret.row())];
    if (!entry.directory) {
        chosenModel_->append({{entry.path, 0}});
        return;
    }
    if (!EnterFolder(combo_, entry.path))
        return;
    CheckFolderCombo(combo_, SystemFolderProbe(links_.drives));
    folderCombo_->reload();
    if (combo_.selected)
        selectFolder(static_cast<int>(*combo_.selected));
}

void PlayListDialog::openPlayListItem()
{
    const QModelIndex caret = playList_->currentIndex();
    if (!caret.isValid())
        return;
    RemoveEntries(chosen_, {static_cast<uint32_t>(caret.row())});
    chosenModel_->reload();
}

void PlayListDialog::addSelected()
{
    PlayList added;
    AppendEntries(added, files_, selectedRows(*fileList_));
    chosenModel_->append(added.entries);
}

void PlayListDialog::removeSelected()
{
    const std::vector<uint32_t> rows = selectedRows(*playList_);
    if (!rows.empty()) {
        RemoveEntries(chosen_, rows);
        chosenModel_->reload();
    }
    updateRemove();
    updateClearAll();
}

void PlayListDialog::clearAll()
{
    chosen_.entries.clear();
    chosenModel_->reload();
    updateRemove();
    updateClearAll();
}

void PlayListDialog::accepted()
{
    if (links_.playList.list())
        CopyList(&*links_.playList.list(), &chosen_);
    accept();
}

void PlayListDialog::updateAdd()
{
    // Deselecting below reports a selection change of its own.
    if (updatingAdd_)
        return;
    updatingAdd_ = true;
    std::vector<uint32_t> selected = selectedRows(*fileList_);
    const std::vector<uint32_t> folders = FoldersToDeselect(files_, selected);
    for (const uint32_t row : folders)
        fileList_->selectionModel()->select(filesModel_->index(static_cast<int>(row)), QItemSelectionModel::Deselect);
    add_->setEnabled(selected.size() > folders.size());
    updatingAdd_ = false;
}

void PlayListDialog::updateRemove()
{
    remove_->setEnabled(playList_->selectionModel()->hasSelection());
}

void PlayListDialog::updateClearAll()
{
    clearAll_->setEnabled(!chosen_.entries.empty());
}
