// The symbols on the panel's keys, drawn in a box of the key with the painter's brush.

#include "tools/panel_key_icons.h"

#include <array>

#include <QFont>
#include <QPainterPath>

namespace {

QPolygonF triangle(QPointF tip, double width, double height, bool right)
{
    const double back = right ? -width : width;
    QPolygonF t;
    t << tip << tip + QPointF(back, -height / 2) << tip + QPointF(back, height / 2);
    return t;
}

void fill(QPainter& p, const QPolygonF& shape)
{
    p.drawPolygon(shape);
}

void text(QPainter& p, const QRectF& b, const QString& s, int pixels, QFont::Weight weight = QFont::Bold)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixels);
    font.setWeight(weight);
    p.setFont(font);
    p.setPen(p.brush().color());
    p.drawText(b, Qt::AlignCenter, s);
    p.setPen(Qt::NoPen);
}

void speaker(QPainter& p, QPointF at)
{
    p.drawRect(QRectF(at + QPointF(0, -2.5), QSizeF(3, 5)));
    QPolygonF cone;
    cone << at + QPointF(2.5, -2.5) << at + QPointF(7, -6) << at + QPointF(7, 6) << at + QPointF(2.5, 2.5);
    fill(p, cone);
}

}  // namespace

KeyIcon triangles(int count, bool right, bool bar)
{
    return [=](QPainter& p, const QRectF& b) {
        const double w = 7, h = 11;
        const double total = count * w + (bar ? 3.5 : 0);
        double x = b.center().x() - total / 2;
        if (bar && !right) {
            p.drawRect(QRectF(x, b.center().y() - h / 2, 2, h));
            x += 3.5;
        }
        for (int i = 0; i < count; ++i) {
            fill(p, triangle(QPointF(right ? x + w * (i + 1) : x + w * i, b.center().y()), w, h, right));
        }
        x += count * w;
        if (bar && right)
            p.drawRect(QRectF(x + 1.5, b.center().y() - h / 2, 2, h));
    };
}

void playPauseIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    fill(p, triangle(c + QPointF(1, 0), 10, 13, true));
    p.drawRect(QRectF(c + QPointF(3, -6.5), QSizeF(2.6, 13)));
    p.drawRect(QRectF(c + QPointF(7.4, -6.5), QSizeF(2.6, 13)));
}

void stopIcon(QPainter& p, const QRectF& b)
{
    p.drawRect(QRectF(b.center() - QPointF(5, 5), QSizeF(10, 10)));
}

KeyIcon label(const QString& s, int pixels)
{
    return [=](QPainter& p, const QRectF& b) { text(p, b, s, pixels); };
}

void repeatIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    const QColor colour = p.brush().color();
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath loop;
    loop.moveTo(c + QPointF(-6, 3));
    loop.lineTo(c + QPointF(-6, -3));
    loop.quadTo(c + QPointF(-6, -5), c + QPointF(-4, -5));
    loop.lineTo(c + QPointF(4, -5));
    loop.moveTo(c + QPointF(6, -3));
    loop.lineTo(c + QPointF(6, 3));
    loop.quadTo(c + QPointF(6, 5), c + QPointF(4, 5));
    loop.lineTo(c + QPointF(-4, 5));
    p.drawPath(loop);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    fill(p, triangle(c + QPointF(8, -5), 4.5, 6, true));
    fill(p, triangle(c + QPointF(-8, 5), 4.5, 6, false));
}

void muteIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    speaker(p, c + QPointF(-7, 0));
    p.setPen(QPen(p.brush().color(), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(2, -3.5), c + QPointF(8, 3.5));
    p.drawLine(c + QPointF(2, 3.5), c + QPointF(8, -3.5));
    p.setPen(Qt::NoPen);
}

KeyIcon volumeIcon(bool up)
{
    return [=](QPainter& p, const QRectF& b) {
        const QPointF c = b.center();
        speaker(p, c + QPointF(-8, 0));
        p.drawRect(QRectF(c + QPointF(2, -1), QSizeF(8, 2.2)));
        if (up)
            p.drawRect(QRectF(c + QPointF(4.9, -4), QSizeF(2.2, 8.2)));
    };
}

void discIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    QPainterPath disc;
    disc.addEllipse(c, 7.5, 7.5);
    disc.addEllipse(c, 2, 2);
    p.drawPath(disc);
}

void ejectIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    QPolygonF roof;
    roof << c + QPointF(0, -7) << c + QPointF(7, 1) << c + QPointF(-7, 1);
    fill(p, roof);
    p.drawRect(QRectF(c + QPointF(-7, 3.5), QSizeF(14, 2.6)));
}

void listIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    for (int i = -1; i <= 1; ++i) {
        p.drawEllipse(c + QPointF(-6, i * 4.5), 1.3, 1.3);
        p.drawRect(QRectF(c + QPointF(-3, i * 4.5 - 1), QSizeF(11, 2)));
    }
}

void slidersIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    const std::array<double, 3> knobs{2.5, -3, 1};
    for (int i = 0; i < 3; ++i) {
        const double x = c.x() + (i - 1) * 6;
        p.drawRect(QRectF(x - 0.6, c.y() - 7, 1.2, 14));
        p.drawRect(QRectF(x - 2.5, c.y() + knobs[size_t(i)] - 1.5, 5, 3));
    }
}

void topmostIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    const QColor colour = p.brush().color();
    p.setPen(QPen(colour, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(c + QPointF(-8, -3), QSizeF(12, 9)));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(c + QPointF(-3, -7), QSizeF(12, 9)));
}

void sizeIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    const QColor colour = p.brush().color();
    p.setPen(QPen(colour, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(c + QPointF(-9, -6), QSizeF(18, 12)));
    p.drawLine(c + QPointF(-5, 3), c + QPointF(4, -3));
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    fill(p, QPolygonF() << c + QPointF(5.5, -4) << c + QPointF(0.5, -4) << c + QPointF(5.5, 0.5));
}

void minimizeIcon(QPainter& p, const QRectF& b)
{
    p.drawRect(QRectF(b.center() + QPointF(-5, 2), QSizeF(10, 2)));
}

void powerIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center() + QPointF(0, 0.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(235, 96, 80), 1.7, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c - QPointF(5, 5), QSizeF(10, 10)), 120 * 16, 300 * 16);
    p.drawLine(c + QPointF(0, -6), c + QPointF(0, -1));
    p.setPen(Qt::NoPen);
}

void returnIcon(QPainter& p, const QRectF& b)
{
    const QPointF c = b.center();
    p.drawRect(QRectF(c + QPointF(4, -6), QSizeF(2, 8)));
    p.drawRect(QRectF(c + QPointF(-4, 0), QSizeF(10, 2)));
    fill(p, triangle(c + QPointF(-8, 1), 5, 8, false));
}
