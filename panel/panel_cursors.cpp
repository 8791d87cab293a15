#include "panel/panel_cursors.h"

#include <memory>

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include "app/app_context.h"

namespace {

struct Shape {
    QRect rect;
    int radius;
};

// Black outline, white inside, nothing anti-aliased: two colours, as a monochrome cursor.
QCursor drawHand(std::initializer_list<Shape> shapes, QPoint hotSpot)
{
    QImage picture(32, 32, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    // Outlines first, then every inside over them, so the parts join without inner seams.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const Shape& s : shapes)
        painter.drawRoundedRect(s.rect.adjusted(-1, -1, 1, 1), s.radius + 1, s.radius + 1);
    painter.setBrush(Qt::white);
    for (const Shape& s : shapes)
        painter.drawRoundedRect(s.rect, s.radius, s.radius);
    painter.end();
    return QCursor(QPixmap::fromImage(picture), hotSpot.x(), hotSpot.y());
}

QCursor pointingHand()
{
    return drawHand(
        {
            {QRect(10, 1, 3, 14), 1},   // the index finger, up
            {QRect(13, 9, 3, 6), 1},    // the folded fingers
            {QRect(16, 10, 3, 6), 1},
            {QRect(19, 11, 3, 6), 1},
            {QRect(5, 14, 4, 6), 1},    // the thumb
            {QRect(8, 13, 14, 13), 3},  // the palm
        },
        QPoint(11, 0));
}

QCursor openHand()
{
    return drawHand(
        {
            {QRect(9, 3, 3, 11), 1},    // index
            {QRect(13, 1, 3, 12), 1},   // middle, the tallest
            {QRect(17, 2, 3, 12), 1},   // ring
            {QRect(21, 5, 2, 10), 1},   // little
            {QRect(4, 13, 4, 6), 1},    // thumb
            {QRect(8, 12, 15, 14), 3},  // palm
        },
        QPoint(14, 0));
}

struct PanelCursors {
    std::unique_ptr<Cursor> button;
    std::unique_ptr<Cursor> body;
};

PanelCursors& cursors()
{
    static PanelCursors instance;
    return instance;
}

}  // namespace

bool Panel_LoadCursors()
{
    PanelCursors& c = cursors();
    c.button = std::make_unique<Cursor>(Cursor{pointingHand()});
    c.body = std::make_unique<Cursor>(Cursor{openHand()});
    app().windows.buttonCursor = c.button.get();
    app().windows.panelCursor = c.body.get();
    return true;
}

void Panel_DestroyCursors()
{
    app().windows.buttonCursor = nullptr;
    app().windows.panelCursor = nullptr;
    cursors() = {};
}
