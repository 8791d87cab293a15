#include "panel/panel_cursors.h"

#include <memory>

#include <QPixmap>

namespace {

// The shipped pictures, which travel inside the executable.
std::unique_ptr<Cursor> load(const char* name, QPoint hotSpot)
{
    const QPixmap picture(QString(":/cursors/") + name);
    if (picture.isNull())
        return nullptr;
    return std::make_unique<Cursor>(Cursor{QCursor(picture, hotSpot.x(), hotSpot.y())});
}

}  // namespace

bool Panel_LoadCursors(PanelCursors& c)
{
    c.button = load("pointing_hand.png", {11, 0});
    c.body = load("open_hand.png", {14, 0});
    return c.button && c.body;
}

void Panel_DestroyCursors(PanelCursors& cursors)
{
    cursors = {};
}
