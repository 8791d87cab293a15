#include "disc/dialog/dialog_views.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "disc/dialog/dialog_lists.h"

namespace {
QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString extensionOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return fromUtf8(std::string_view(path).substr(dot + 1)).toCaseFolded();
}

QStyle::StandardPixmap drivePixmap(DriveType type)
{
    switch (type) {
    case DriveType::CdRom:
        return QStyle::SP_DriveCDIcon;
    case DriveType::Remote:
        return QStyle::SP_DriveNetIcon;
    case DriveType::Removable:
        return QStyle::SP_DriveFDIcon;
    case DriveType::Fixed:
    case DriveType::RamDisk:
    case DriveType::Unknown:
        break;
    }
    return QStyle::SP_DriveHDIcon;
}

// The focus rectangle of the style around an item that has the focus.
void drawFocus(QPainter& painter, const QRect& rect, const QPalette& palette, const QWidget* widget)
{
    QStyleOptionFocusRect focus;
    focus.rect = rect;
    focus.palette = palette;
    focus.state = QStyle::State_HasFocus;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, widget);
}

void drawIcon(QPainter& painter, const QIcon& icon, int x, const QRect& rect, int size, QIcon::Mode mode)
{
    const QRect place(x, rect.top() + (rect.height() - size) / 2, size, size);
    icon.paint(&painter, place, Qt::AlignCenter, mode);
}

// One line, vertically centred, 2 pixels inside top, bottom and right.
QRect textRect(const QRect& rect, int left)
{
    return QRect(QPoint(left, rect.top() + 2), QPoint(rect.right() - 2, rect.bottom() - 2));
}
}  // namespace

int SmallIconSize(const QWidget* widget)
{
    QStyle* style = widget ? widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_SmallIconSize, nullptr, widget);
}

const QIcon& DialogIcons::forEntry(const PlayListEntry& entry)
{
    if (entry.directory) {
        if (folder_.isNull())
            folder_ = provider_.icon(QFileIconProvider::Folder);
        return folder_;
    }
    const QString extension = extensionOf(entry.path);
    auto found = byExtension_.find(extension);
    if (found == byExtension_.end())
        found = byExtension_.insert(extension, provider_.icon(QFileInfo(fromUtf8(entry.path))));
    return *found;
}

const QIcon& DialogIcons::forDrive(DriveType type)
{
    const int key = static_cast<int>(type);
    auto found = byDrive_.find(key);
    if (found == byDrive_.end())
        found = byDrive_.insert(key, QApplication::style()->standardIcon(drivePixmap(type)));
    return *found;
}

const QIcon& DialogIcons::openFolder()
{
    if (openFolder_.isNull())
        openFolder_ = QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon);
    return openFolder_;
}

PlayListModel::PlayListModel(PlayList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {}

int PlayListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(list_.entries.size());
}

QVariant PlayListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<size_t>(index.row()) >= list_.entries.size())
        return {};
    const PlayListEntry& entry = list_.entries[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case PathRole:
        return fromUtf8(entry.path);
    case DirectoryRole:
        return entry.directory;
    default:
        return {};
    }
}

void PlayListModel::reload()
{
    beginResetModel();
    endResetModel();
}

void PlayListModel::append(const std::vector<PlayListEntry>& entries)
{
    if (entries.empty())
        return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(entries.size()) - 1);
    list_.entries.insert(list_.entries.end(), entries.begin(), entries.end());
    endInsertRows();
}

ListItemDelegate::ListItemDelegate(DialogIcons& icons, int itemHeight, const DriveTable* drives, QObject* parent)
    : QStyledItemDelegate(parent), icons_(icons), itemHeight_(itemHeight), drives_(drives)
{
}

QSize ListItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), itemHeight_);
}

void ListItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const auto* model = static_cast<const PlayListModel*>(index.model());
    const PlayListEntry& entry = model->list().entries[static_cast<size_t>(index.row())];
    const QRect& rect = option.rect;
    const QPalette& palette = option.palette;
    const bool highlighted = !entry.directory && (option.state & QStyle::State_Selected);

    painter->save();
    painter->fillRect(rect, highlighted ? palette.highlight() : palette.base());
    const int icon = SmallIconSize(option.widget);
    const ItemPlaces places = ItemPlacesAt(icon, 0);
    drawIcon(*painter, icons_.forEntry(entry), rect.left() + places.iconX, rect, icon,
             highlighted ? QIcon::Selected : QIcon::Normal);

    const QRect text = textRect(rect, rect.left() + places.textX);
    const QFontMetrics metrics(option.font);
    QString label;
    if (drives_) {
        label = fromUtf8(entry.path);
        if (metrics.horizontalAdvance(label) >= text.width()) {
            const auto widthOf = [&](std::string_view candidate) { return metrics.horizontalAdvance(fromUtf8(candidate)); };
            const std::optional<uint32_t> drive = drives_->driveOf(entry.path);
            const std::string root = drive ? drives_->slot(*drive).root : std::string();
            label = fromUtf8(ShortenPath(entry.path, root, text.width(), widthOf));
        }
    } else {
        const size_t slash = entry.path.find_last_of('/');
        label = fromUtf8(slash == std::string::npos ? std::string_view(entry.path) : std::string_view(entry.path).substr(slash + 1));
    }
    painter->setFont(option.font);
    painter->setPen(highlighted ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
    painter->drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, label);
    if (option.state & QStyle::State_HasFocus)
        drawFocus(*painter, rect, palette, option.widget);
    painter->restore();
}

void PaintComboItem(QPainter& painter, const QRect& rect, const ComboItemLook& look, DialogIcons& icons,
                    const QPalette& palette, const QWidget* widget)
{
    if (!look.item)
        return;
    painter.save();
    painter.fillRect(rect, look.selected ? palette.highlight() : palette.base());
    const int icon = SmallIconSize(widget);
    const ItemPlaces places = ItemPlacesAt(icon, look.depth);
    const QIcon& picture = look.openFolder ? icons.openFolder()
                           : look.item->isRoot
                               ? icons.forDrive(look.driveType)
                               : icons.forEntry(PlayListEntry{look.item->path, 1});
    drawIcon(painter, picture, rect.left() + places.iconX, rect, icon, QIcon::Normal);
    painter.setPen(look.selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::Text));
    painter.drawText(textRect(rect, rect.left() + places.textX), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     look.label);
    if (look.focused)
        drawFocus(painter, rect, palette, widget);
    painter.restore();
}

FolderComboBox::FolderComboBox(const FolderCombo& combo, const DriveTable& drives, DialogIcons& icons,
                               int itemHeight, QWidget* parent)
    : QComboBox(parent), combo_(combo), drives_(drives), icons_(icons)
{
    setItemDelegate(new ComboItemDelegate(*this, icons, itemHeight));
}

void FolderComboBox::reload()
{
    const QSignalBlocker quiet(this);
    clear();
    for (const FolderComboItem& item : combo_.items)
        addItem(fromUtf8(FolderComboLabel(item, drives_.slot(item.drive))), fromUtf8(item.path));
    setCurrentIndex(combo_.selected ? static_cast<int>(*combo_.selected) : -1);
}

ComboItemLook FolderComboBox::lookOf(int row, bool field) const
{
    ComboItemLook look;
    if (row < 0 || static_cast<size_t>(row) >= combo_.items.size())
        return look;
    look.item = &combo_.items[static_cast<size_t>(row)];
    look.label = fromUtf8(FolderComboLabel(*look.item, drives_.slot(look.item->drive)));
    look.driveType = drives_.slot(look.item->drive).type;
    look.depth = field ? 0 : FolderDepth(*look.item);
    look.openFolder = field || look.item->mark == 0;
    return look;
}

void FolderComboBox::showPopup()
{
    emit aboutToPopUp();
    QComboBox::showPopup();
}

void FolderComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    ComboItemLook look = lookOf(currentIndex(), true);
    look.selected = hasFocus();
    PaintComboItem(painter, field, look, icons_, palette(), this);
}

ComboItemDelegate::ComboItemDelegate(FolderComboBox& combo, DialogIcons& icons, int itemHeight)
    : QStyledItemDelegate(&combo), combo_(combo), icons_(icons), itemHeight_(itemHeight)
{
}

QSize ComboItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return QSize(option.rect.width(), itemHeight_);
}

void ComboItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    ComboItemLook look = combo_.lookOf(index.row(), false);
    look.selected = option.state & QStyle::State_Selected;
    look.focused = option.state & QStyle::State_HasFocus;
    PaintComboItem(*painter, option.rect, look, icons_, option.palette, option.widget);
}
