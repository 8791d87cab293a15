// The panel's two hand cursors, monochrome as cursors of old were, and the application icons.

#include <array>
#include <functional>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "tools/panel_skin_art.h"

namespace {

QPainterPath finger(double x, double top, double width, double bottom)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, top, width, bottom - top), width / 2, width / 2);
    return path;
}

// White inside a one-pixel black outline, clear around it; no grey, so it reads as monochrome.
QImage monochrome(const QPainterPath& shape, const std::function<void(QPainter&)>& creases)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(shape);
    creases(p);
    return image;
}

}  // namespace

namespace {

struct Line {
    int x1, y1, x2, y2;
};

// A hand as four fingers on a palm with a thumb, and the creases drawn over it.
struct HandShape {
    std::array<QRectF, 4> fingers;  // x, top, width, bottom - top
    QRectF palm;
    double palmRadius;
    std::array<QPointF, 5> thumb;  // start, line to, curve control and end, line to
    std::array<Line, 3> creases;
};

QImage drawHand(const HandShape& shape)
{
    QPainterPath hand;
    for (const QRectF& f : shape.fingers)
        hand = hand.united(finger(f.x(), f.y(), f.width(), f.y() + f.height()));
    QPainterPath palm;
    palm.addRoundedRect(shape.palm, shape.palmRadius, shape.palmRadius);
    QPainterPath thumb;
    thumb.moveTo(shape.thumb[0]);
    thumb.lineTo(shape.thumb[1]);
    thumb.quadTo(shape.thumb[2], shape.thumb[3]);
    thumb.lineTo(shape.thumb[4]);
    thumb.closeSubpath();
    hand = hand.united(palm).united(thumb).simplified();
    return monochrome(hand, [&](QPainter& p) {
        for (const Line& l : shape.creases)
            p.drawLine(l.x1, l.y1, l.x2, l.y2);
    });
}

}  // namespace

QImage DrawPointingHandCursor()
{
    // The index finger's tip is the hot spot, (11, 0).
    return drawHand({{QRectF(9, 0, 5, 16), QRectF(13, 9, 4, 8), QRectF(16, 10, 4, 8), QRectF(19, 11, 4, 8)},
                     QRectF(8, 13, 15, 15),
                     4,
                     {QPointF(9, 22), QPointF(3, 16), QPointF(1.5, 14), QPointF(3.5, 13.5), QPointF(9, 16)},
                     {Line{13, 12, 13, 16}, Line{16, 12, 16, 16}, Line{19, 13, 19, 17}}});
}

QImage DrawOpenHandCursor()
{
    // The middle finger's tip is the hot spot, (14, 0).
    return drawHand({{QRectF(12, 0, 5, 16), QRectF(7, 2, 5, 14), QRectF(17, 2, 5, 14), QRectF(22, 6, 4, 11)},
                     QRectF(7, 11, 19, 18),
                     5,
                     {QPointF(8, 24), QPointF(1, 15), QPointF(0.5, 12.5), QPointF(3, 13), QPointF(9, 18)},
                     {Line{12, 9, 12, 15}, Line{17, 9, 17, 15}, Line{22, 10, 22, 15}}});
}

namespace {

QImage iconBase(int side, QPainter& p, QImage& image)
{
    image = QImage(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    p.begin(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 64.0, side / 64.0);
    QLinearGradient metal(0, 2, 0, 62);
    metal.setColorAt(0.0, QColor(92, 96, 104));
    metal.setColorAt(1.0, QColor(30, 32, 36));
    p.setPen(QPen(QColor(8, 8, 10), 1.5));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);
    return image;
}

}  // namespace

QImage DrawPlayerIcon(int side)
{
    QImage image;
    QPainter p;
    iconBase(side, p, image);
    // The mark: a cyan ring with a tail, and the play triangle inside.
    QPainterPath ring;
    ring.addEllipse(QPointF(31, 30), 19, 19);
    ring.addEllipse(QPointF(31, 30), 14, 14);
    QPainterPath tail;
    tail.moveTo(40, 41);
    tail.lineTo(44, 37);
    tail.lineTo(54, 47);
    tail.lineTo(50, 51);
    tail.closeSubpath();
    p.setPen(Qt::NoPen);
    QRadialGradient glow(QPointF(31, 30), 26);
    glow.setColorAt(0.0, QColor(150, 255, 235));
    glow.setColorAt(1.0, QColor(30, 180, 160));
    p.setBrush(glow);
    p.drawPath(ring.united(tail));
    QPolygonF play;
    play << QPointF(26, 21) << QPointF(40, 30) << QPointF(26, 39);
    p.setBrush(QColor(235, 240, 245));
    p.drawPolygon(play);
    p.end();
    return image;
}

QImage DrawVideoIcon(int side)
{
    QImage image;
    QPainter p;
    iconBase(side, p, image);
    // A screen with the play triangle, on a small stand.
    p.setPen(QPen(QColor(10, 10, 12), 1.5));
    p.setBrush(QColor(12, 28, 32));
    p.drawRoundedRect(QRectF(11, 14, 42, 30), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(140, 255, 232));
    QPolygonF play;
    play << QPointF(27, 21) << QPointF(39, 29) << QPointF(27, 37);
    p.drawPolygon(play);
    p.setBrush(QColor(180, 184, 192));
    p.drawRect(QRectF(28, 44, 8, 5));
    p.drawRoundedRect(QRectF(20, 49, 24, 3), 1.5, 1.5);
    p.end();
    return image;
}
