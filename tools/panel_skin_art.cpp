// The default panel: a dark graphite VCD deck with a cyan fluorescent display. Everything is
// drawn from the tables below, so the pictures and the configuration that places them always
// agree.

#include "tools/panel_skin_art.h"
#include "tools/panel_key_icons.h"

#include <array>
#include <cmath>
#include <functional>

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 236;
const QRect kDisplay(24, 8, 340, 118);

const QColor kOutside(12, 12, 14);
const QColor kGlass(7, 16, 18);
const QColor kLit(140, 255, 232);
const QColor kGlow(40, 210, 185);
const QColor kGhost(17, 39, 41);
const QColor kPrint(52, 108, 104);  // legends printed on the glass
const QColor kEngraved(150, 155, 162);
const QColor kAmber(255, 178, 64);

// ---- the body -------------------------------------------------------------------------------

QPainterPath bodyOutline()
{
    QPainterPath body;
    body.addRoundedRect(QRectF(0, 10, kWidth, kHeight - 10), 16, 16);
    QPainterPath hood;  // the display's housing rises above the body
    hood.addRoundedRect(QRectF(12, 0, 364, 40), 10, 10);
    return body.united(hood).simplified();
}

void drawBody(QPainter& p)
{
    p.fillRect(0, 0, kWidth, kHeight, kOutside);
    const QPainterPath outline = bodyOutline();
    QLinearGradient metal(0, 0, 0, kHeight);
    metal.setColorAt(0.0, QColor(74, 77, 83));
    metal.setColorAt(0.08, QColor(58, 61, 66));
    metal.setColorAt(1.0, QColor(34, 36, 40));
    p.setPen(Qt::NoPen);
    p.setBrush(metal);
    p.drawPath(outline);

    // Fine horizontal brushing, the same on every run.
    uint32_t noise = 0x2545F491u;
    p.setClipPath(outline);
    for (int y = 0; y < kHeight; ++y) {
        noise ^= noise << 13, noise ^= noise >> 17, noise ^= noise << 5;
        const int shade = int(noise % 9) - 4;
        p.setPen(shade > 0 ? QColor(255, 255, 255, shade * 3) : QColor(0, 0, 0, -shade * 4));
        p.drawLine(0, y, kWidth, y);
    }
    p.setClipping(false);

    // A lit rim along the top, a dark one along the bottom.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(150, 154, 162, 170), 1.2));
    p.drawPath(outline.translated(0, 0.6));
    p.setPen(QPen(QColor(6, 6, 8), 1.4));
    p.drawPath(outline);

    // A parting line between the display side and the keys.
    p.setPen(QColor(22, 23, 26));
    p.drawLine(382, 44, 382, kHeight - 14);
    p.setPen(QColor(96, 99, 106));
    p.drawLine(383, 44, 383, kHeight - 14);
}

void engrave(QPainter& p, const QRectF& box, const QString& text, int pixels = 8, Qt::Alignment align = Qt::AlignCenter)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixels);
    font.setWeight(QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.8);
    p.setFont(font);
    p.setPen(QColor(10, 10, 12));
    p.drawText(box.translated(0, 1), align, text);
    p.setPen(kEngraved);
    p.drawText(box, align, text);
}

void drawBrand(QPainter& p)
{
    QFont word("DejaVu Sans");
    word.setPixelSize(17);
    word.setWeight(QFont::Light);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 5.0);
    p.setFont(word);
    p.setPen(QColor(8, 8, 10));
    p.drawText(QRectF(396, 15, 200, 22), Qt::AlignLeft | Qt::AlignVCenter, "QUINTARA");
    p.setPen(QColor(205, 209, 216));
    p.drawText(QRectF(396, 14, 200, 22), Qt::AlignLeft | Qt::AlignVCenter, "QUINTARA");
    engrave(p, QRectF(526, 17, 80, 16), "VIDEO CD", 8, Qt::AlignLeft | Qt::AlignVCenter);
    engrave(p, QRectF(28, 212, 200, 12), "HALVEX  VCD-1", 8, Qt::AlignLeft | Qt::AlignVCenter);
}

// ---- the display ----------------------------------------------------------------------------

void drawDisplayWindow(QPainter& p)
{
    const QRectF outer = QRectF(kDisplay).adjusted(-4, -4, 4, 4);
    QLinearGradient bezel(outer.topLeft(), outer.bottomLeft());
    bezel.setColorAt(0.0, QColor(20, 21, 24));
    bezel.setColorAt(1.0, QColor(92, 95, 102));
    p.setPen(Qt::NoPen);
    p.setBrush(bezel);
    p.drawRoundedRect(outer, 7, 7);
    p.setBrush(kGlass);
    p.drawRoundedRect(QRectF(kDisplay), 4, 4);
}

// One digit in a cell of the glass: seven slanted segments, unlit ones faintly visible.
// digit < 0 draws the unlit segments only.
void drawSevenSegment(QPainter& p, const QRectF& cell, int digit)
{
    static constexpr std::array<uint8_t, 10> kSegments = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const double w = cell.width(), h = cell.height();
    const double t = std::max(2.0, w * 0.17);          // segment thickness
    const double mx = w * 0.2, my = h * 0.08;         // margins leave room for the glow and slant
    const double left = cell.left() + mx, right = cell.right() - mx;
    const double top = cell.top() + my, bottom = cell.bottom() - my, middle = (top + bottom) / 2;
    const double g = 0.6;  // gap between segments

    const auto horizontal = [&](double y) {
        QPolygonF s;
        s << QPointF(left + g, y) << QPointF(left + g + t / 2, y - t / 2) << QPointF(right - g - t / 2, y - t / 2)
          << QPointF(right - g, y) << QPointF(right - g - t / 2, y + t / 2) << QPointF(left + g + t / 2, y + t / 2);
        return s;
    };
    const auto vertical = [&](double x, double y0, double y1) {
        QPolygonF s;
        s << QPointF(x, y0 + g) << QPointF(x + t / 2, y0 + g + t / 2) << QPointF(x + t / 2, y1 - g - t / 2)
          << QPointF(x, y1 - g) << QPointF(x - t / 2, y1 - g - t / 2) << QPointF(x - t / 2, y0 + g + t / 2);
        return s;
    };
    const std::array<QPolygonF, 7> segments = {
        horizontal(top + t / 2),                                   // a
        vertical(right - t / 2, top + t / 2, middle),              // b
        vertical(right - t / 2, middle, bottom - t / 2),           // c
        horizontal(bottom - t / 2),                                // d
        vertical(left + t / 2, middle, bottom - t / 2),            // e
        vertical(left + t / 2, top + t / 2, middle),               // f
        horizontal(middle),                                        // g
    };

    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // A slight forward slant about the cell's centre.
    p.translate(cell.center());
    p.shear(-0.07, 0);
    p.translate(-cell.center());
    const uint8_t lit = digit >= 0 ? kSegments[size_t(digit)] : 0;
    for (size_t i = 0; i < segments.size(); ++i) {
        if (lit & (1u << i))
            continue;
        p.setPen(Qt::NoPen);
        p.setBrush(kGhost);
        p.drawPolygon(segments[i]);
    }
    for (size_t i = 0; i < segments.size(); ++i) {
        if (!(lit & (1u << i)))
            continue;
        QColor halo = kGlow;
        halo.setAlpha(70);
        p.setPen(QPen(halo, t * 0.7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(kGlow);
        p.drawPolygon(segments[i]);
        p.setPen(Qt::NoPen);
        p.setBrush(kLit);
        p.drawPolygon(segments[i]);
    }
    p.restore();
}

QImage digitStrip(QSize cell, int scale)
{
    QImage strip(cell.width() * 10 * scale, cell.height() * scale, QImage::Format_RGB32);
    strip.fill(kGlass);
    QPainter p(&strip);
    p.scale(scale, scale);
    for (int d = 0; d < 10; ++d)
        drawSevenSegment(p, QRectF(d * cell.width(), 0, cell.width(), cell.height()), d);
    return strip;
}

const QSize kBigCell(22, 36);
const QSize kSmallCell(12, 20);

struct DigitRow {
    const char* element;  // its LED section
    QSize cell;
    std::array<QPoint, 5> places;  // Sec-Uint, Sec-Decimal, Min-Uint, Min-Decimal, Hour-Uint
    int count;
};

// Colons sit between the cells; the separators are printed on the glass.
const DigitRow kTrackDigits{"Track Numbers", kBigCell, {QPoint(62, 30), QPoint(38, 30)}, 2};
const DigitRow kTimeDigits{"Time Numbers", kBigCell,
                           {QPoint(226, 30), QPoint(202, 30), QPoint(166, 30), QPoint(142, 30), QPoint(106, 30)}, 5};
const DigitRow kTotalDigits{"Track Time Numbers", kSmallCell,
                            {QPoint(106, 92), QPoint(93, 92), QPoint(74, 92), QPoint(61, 92), QPoint(42, 92)}, 5};

void drawColon(QPainter& p, QPointF centre, double gap, double radius)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (double dy : {-gap, gap}) {
        QColor halo = kGlow;
        halo.setAlpha(80);
        p.setBrush(halo);
        p.drawEllipse(centre + QPointF(0, dy), radius + 0.8, radius + 0.8);
        p.setBrush(kLit);
        p.drawEllipse(centre + QPointF(0, dy), radius, radius);
    }
}

void printOnGlass(QPainter& p, const QRectF& box, const QString& text, QColor colour, int pixels = 8,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter)
{
    QFont font("DejaVu Sans");
    font.setPixelSize(pixels);
    font.setWeight(QFont::Bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, align, text);
}

// An indicator of the display: a rectangle that the faces show dark and the selected face lit.
struct Indicator {
    const char* element;
    const char* suffix;  // "" for single elements
    QRect rect;
    std::function<void(QPainter&, const QRectF&, QColor)> draw;
};

std::function<void(QPainter&, const QRectF&, QColor)> word(const QString& text)
{
    return [text](QPainter& p, const QRectF& box, QColor colour) {
        printOnGlass(p, box, text, colour, 8, Qt::AlignCenter);
    };
}

void playMark(QPainter& p, const QRectF& box, QColor colour)
{
    const QPointF c = box.center();
    QPolygonF t;
    t << c + QPointF(-4, -5) << c + QPointF(5, 0) << c + QPointF(-4, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(t);
}

void pauseMark(QPainter& p, const QRectF& box, QColor colour)
{
    const QPointF c = box.center();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(c + QPointF(-4.5, -5), QSizeF(3, 10)));
    p.drawRect(QRectF(c + QPointF(1.5, -5), QSizeF(3, 10)));
}

void stopMark(QPainter& p, const QRectF& box, QColor colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(box.center() - QPointF(4.5, 4.5), QSizeF(9, 9)));
}

const QRect kVolumeBar(170, 94, 96, 12);

std::vector<Indicator> indicators()
{
    return {
        {"Play", "", QRect(262, 30, 26, 16), playMark},
        {"Pause", "", QRect(290, 30, 26, 16), pauseMark},
        {"Stop", "", QRect(318, 30, 26, 16), stopMark},
        {"Repeat", "None", QRect(262, 52, 26, 12), word("OFF")},
        {"Repeat", "All", QRect(290, 52, 26, 12), word("ALL")},
        {"Repeat", "Track", QRect(318, 52, 26, 12), word("ONE")},
        {"Mute", "", QRect(121, 94, 34, 12), word("MUTE")},
        {"Sound Quality", "1", QRect(272, 80, 22, 11), word("HIFI")},
        {"Sound Quality", "2", QRect(294, 80, 22, 11), word("HI")},
        {"Sound Quality", "3", QRect(316, 80, 22, 11), word("MID")},
        {"Sound Quality", "4", QRect(338, 80, 22, 11), word("LO")},
        {"Audio Channel", "1", QRect(272, 95, 30, 11), word("L+R")},
        {"Audio Channel", "2", QRect(304, 95, 26, 11), word("L")},
        {"Audio Channel", "3", QRect(332, 95, 26, 11), word("R")},
        {"Sound Channel", "1", QRect(272, 110, 40, 11), word("STEREO")},
        {"Sound Channel", "2", QRect(314, 110, 40, 11), word("MONO")},
    };
}

void drawVolumeBar(QPainter& p, bool lit)
{
    // Sixteen steps of six pixels; the upper half is the left channel, the lower the right.
    for (int step = 0; step < 16; ++step) {
        QColor colour = kGhost;
        if (lit)
            colour = step >= 13 ? kAmber : kLit;
        const int x = kVolumeBar.x() + step * 6;
        p.fillRect(QRect(x, kVolumeBar.y(), 5, 5), colour);
        p.fillRect(QRect(x, kVolumeBar.y() + 6, 5, 5), colour);
    }
}

void drawDisplay(QPainter& p, bool lit)
{
    drawDisplayWindow(p);
    printOnGlass(p, QRectF(38, 15, 60, 12), "TRACK", kPrint);
    printOnGlass(p, QRectF(106, 15, 60, 12), "TIME", kPrint);
    printOnGlass(p, QRectF(262, 15, 84, 12), "PLAY", kPrint);
    printOnGlass(p, QRectF(262, 66, 84, 10), "REPEAT", kPrint, 7);
    printOnGlass(p, QRectF(42, 78, 70, 12), "TOTAL", kPrint);
    printOnGlass(p, QRectF(170, 78, 70, 12), "VOLUME", kPrint);
    printOnGlass(p, QRectF(162, 93, 8, 7), "L", kPrint, 6);
    printOnGlass(p, QRectF(162, 99, 8, 7), "R", kPrint, 6);

    for (const DigitRow* row : {&kTrackDigits, &kTimeDigits, &kTotalDigits})
        for (int i = 0; i < row->count; ++i)
            drawSevenSegment(p, QRectF(row->places[size_t(i)], row->cell), -1);
    drawColon(p, QPointF(135, 48), 6, 1.9);
    drawColon(p, QPointF(195, 48), 6, 1.9);
    drawColon(p, QPointF(58, 102), 3.5, 1.1);
    drawColon(p, QPointF(90, 102), 3.5, 1.1);

    p.setRenderHint(QPainter::Antialiasing);
    for (const Indicator& led : indicators()) {
        if (lit) {
            QColor halo = kGlow;
            halo.setAlpha(60);
            led.draw(p, QRectF(led.rect).translated(0, 0.5), halo);
        }
        led.draw(p, QRectF(led.rect), lit ? kLit : kGhost);
    }
    drawVolumeBar(p, lit);
}

// ---- the keys -------------------------------------------------------------------------------

enum class Look { Normal, Pressed, MouseIn };

using Icon = KeyIcon;

struct Key {
    const char* name;  // the button's name and section
    QRect rect;
    Icon icon;
    const char* label = "";  // engraved above the key
    const char* tip = "";    // when the command's own text would mislead
    bool check = false;      // has a lamp that the checked pictures light
    bool accent = false;
    const char* note = "";   // a comment for its section
};

constexpr int kKeyW = 46, kKeyGap = 5, kKeysLeft = 400;

QRect keyAt(int column, int top, int height)
{
    return QRect(kKeysLeft + column * (kKeyW + kKeyGap), top, kKeyW, height);
}

QRect padAt(int column, int row)
{
    return QRect(26 + column * 57, 150 + row * 32, 52, 24);
}

std::vector<Key> keys()
{
    std::vector<Key> list = {
        {"Panel Minimize", QRect(614, 15, 26, 18), minimizeIcon},
        {"Help", QRect(644, 15, 26, 18), label("?", 11)},
        {"Power", QRect(674, 15, 30, 18), powerIcon},

        {"Previous Track", keyAt(0, 54, 32), triangles(2, false, true), "PREV"},
        {"Backward", keyAt(1, 54, 32), triangles(2, false), "SEARCH"},
        {"Play/Pause", keyAt(2, 54, 32), playPauseIcon, "PLAY", "", false, true},
        {"Forward", keyAt(3, 54, 32), triangles(2, true), "SEARCH"},
        {"Next Track", keyAt(4, 54, 32), triangles(2, true, true), "NEXT"},
        {"Stop", keyAt(5, 54, 32), stopIcon, "STOP"},

        {"Fast Backward", keyAt(0, 104, 24), triangles(3, false), "FAST"},
        {"Slow Backward", keyAt(1, 104, 24), triangles(1, false), "SLOW"},
        {"Slow Forward", keyAt(2, 104, 24), triangles(1, true), "SLOW"},
        {"Fast Forward", keyAt(3, 104, 24), triangles(3, true), "FAST"},
        {"Repeat", keyAt(4, 104, 24), repeatIcon, "REPEAT"},
        {"Disc", keyAt(5, 104, 24), discIcon, "DISC"},

        {"Mute", keyAt(0, 146, 24), muteIcon, "MUTE", "", true},
        // Command 31 turns the volume down and 32 up, whatever their names say.
        {"Volume Up", keyAt(1, 146, 24), volumeIcon(false), "VOL -", "Volume Down", false, false,
         "The name binds command 31, which turns the volume down: this is the minus key."},
        {"Volume Down", keyAt(2, 146, 24), volumeIcon(true), "VOL +", "Volume Up", false, false,
         "The name binds command 32, which turns the volume up: this is the plus key."},
        {"Eject", keyAt(3, 146, 24), ejectIcon, "OPEN"},
        {"Play List", keyAt(4, 146, 24), listIcon, "LIST"},
        {"Audio Properties", keyAt(5, 146, 24), slidersIcon, "AUDIO"},

        {"Sound Quality", keyAt(0, 188, 24), label("SQ", 10), "QUALITY"},
        {"Audio Channel", keyAt(1, 188, 24), label("L/R", 10), "CHANNEL"},
        {"Sound Channel", keyAt(2, 188, 24), label("ST", 10), "STEREO"},
        {"Video Topmost", keyAt(3, 188, 24), topmostIcon, "ON TOP", "", true},
        {"Video Size", keyAt(4, 188, 24), sizeIcon, "SIZE"},
    };
    static const std::array<const char*, 12> pad = {"NumPad 1", "NumPad 2", "NumPad 3", "NumPad 4",
                                                     "NumPad 5", "NumPad 6", "NumPad 7", "NumPad 8",
                                                     "NumPad 9", "NumPad 0", "NumPad 10", "Return"};
    static const std::array<const char*, 12> faces = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "+10", ""};
    for (size_t i = 0; i < pad.size(); ++i) {
        const QRect rect = padAt(int(i % 6), int(i / 6));
        list.push_back({pad[i], rect, i == 11 ? Icon(returnIcon) : label(faces[i], i == 10 ? 11 : 13)});
    }
    return list;
}

void drawKey(QPainter& p, const Key& key, Look look, bool lampLit)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(key.rect).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool pressed = look == Look::Pressed;
    const bool hover = look == Look::MouseIn;

    // The well the key sits in.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(14, 14, 16));
    p.drawRoundedRect(r, 4.5, 4.5);

    const QRectF cap = r.adjusted(1, 1, -1, -1).translated(0, pressed ? 1 : 0).adjusted(0, 0, 0, pressed ? -1 : 0);
    QLinearGradient body(cap.topLeft(), cap.bottomLeft());
    if (pressed) {
        body.setColorAt(0.0, QColor(34, 36, 40));
        body.setColorAt(1.0, QColor(50, 52, 57));
    } else if (hover) {
        body.setColorAt(0.0, QColor(104, 108, 116));
        body.setColorAt(1.0, QColor(56, 59, 64));
    } else {
        body.setColorAt(0.0, QColor(86, 89, 96));
        body.setColorAt(1.0, QColor(46, 48, 53));
    }
    p.setBrush(body);
    p.drawRoundedRect(cap, 3.5, 3.5);
    if (!pressed) {  // the lit top edge of a raised cap
        p.setPen(QPen(QColor(170, 175, 184, hover ? 200 : 150), 1.0));
        p.drawLine(cap.topLeft() + QPointF(3, 0.5), cap.topRight() + QPointF(-3, 0.5));
        p.setPen(Qt::NoPen);
    }

    QColor ink = key.accent ? QColor(126, 236, 214) : QColor(222, 226, 232);
    if (hover)
        ink = key.accent ? QColor(170, 255, 238) : QColor(150, 242, 224);
    if (pressed)
        ink = ink.darker(125);
    QRectF iconBox = cap;
    if (key.check) {
        // The lamp at the left of a check key, lit while the key is checked.
        const QPointF lamp(cap.left() + 7, cap.center().y());
        if (lampLit) {
            QRadialGradient glow(lamp, 5);
            glow.setColorAt(0.0, QColor(255, 210, 120, 230));
            glow.setColorAt(1.0, QColor(255, 150, 40, 0));
            p.setBrush(glow);
            p.drawEllipse(lamp, 5, 5);
        }
        p.setBrush(lampLit ? kAmber : QColor(58, 40, 26));
        p.drawEllipse(lamp, 2.2, 2.2);
        iconBox.adjust(8, 0, 0, 0);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    key.icon(p, iconBox);
    p.restore();
}

void drawKeyLabels(QPainter& p)
{
    for (const Key& key : keys()) {
        if (*key.label)
            engrave(p, QRectF(key.rect.x() - 6, key.rect.y() - 12, key.rect.width() + 12, 10), key.label, 7);
    }
    engrave(p, QRectF(26, 134, 337, 12), "DIRECT TRACK SELECT", 7);
}

QImage drawFace(Look look, bool displayLit, bool lampsLit, int scale)
{
    QImage face(kWidth * scale, kHeight * scale, QImage::Format_RGB32);
    QPainter p(&face);
    p.scale(scale, scale);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawBody(p);
    drawBrand(p);
    drawDisplay(p, displayLit);
    drawKeyLabels(p);
    for (const Key& key : keys())
        drawKey(p, key, look, lampsLit);
    return face;
}

QImage drawRegion()
{
    QImage region(kWidth, kHeight, QImage::Format_RGB32);
    region.fill(Qt::white);
    QPainter p(&region);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(bodyOutline());
    return region;
}

// ---- the configuration ----------------------------------------------------------------------

QString fileNameOf(const QString& name)
{
    QString file = name.toLower();
    file.replace(' ', '_').replace('/', '_');
    return file;
}

void writeConfig(QTextStream& out, const std::vector<Key>& list)
{
    out << "[Panel]\n"
        << "; The panel's face; pressed keys and lit display parts are cut from the selected face, keys\n"
        << "; under the pointer from the mouse-in face. Black in the region picture is the panel's shape.\n"
        << "Normal Bitmap=panel/face.bmp\n"
        << "Selected Bitmap=panel/face_selected.bmp\n"
        << "MouseIn Bitmap=panel/face_mousein.bmp\n"
        << "Region Bitmap=panel/region.bmp\n"
        << "AP Name=Quintara\n\n";
    out << "[Panel\\Buttons]\n";
    for (size_t i = 0; i < list.size(); ++i)
        out << "Button " << (i + 1) << "=" << list[i].name << "\n";
    out << "\n";
    for (const Key& key : list) {
        out << "[" << key.name << "]\n";
        if (*key.note)
            out << "; " << key.note << "\n";
        out << "Size=" << key.rect.width() << "," << key.rect.height() << "\n";
        out << "Position=" << key.rect.x() << "," << key.rect.y() << "\n";
        if (*key.tip)
            out << "Tip=" << key.tip << "\n";
        if (key.check) {
            const QString base = "panel/" + fileNameOf(key.name);
            out << "Check Button=1\n"
                << "Checked-Normal Bitmap=" << base << "_checked.bmp\n"
                << "Checked-Selected Bitmap=" << base << "_checked_selected.bmp\n"
                << "Checked-MouseIn Bitmap=" << base << "_checked_mousein.bmp\n";
        }
        out << "\n";
    }

    out << "; The display: indicators are lit from the selected face.\n";
    QString lastSection;
    for (const Indicator& led : indicators()) {
        const QString section = QString("Panel\\LED\\") + led.element;
        if (section != lastSection)
            out << (lastSection.isEmpty() ? "" : "\n") << "[" << section << "]\n";
        lastSection = section;
        const QString suffix = *led.suffix ? QString(" ") + led.suffix : QString();
        out << "Size" << suffix << "=" << led.rect.width() << "," << led.rect.height() << "\n";
        out << "Position" << suffix << "=" << led.rect.x() << "," << led.rect.y() << "\n";
    }
    out << "\n[Panel\\LED\\Volume]\nSize=" << kVolumeBar.width() << "," << kVolumeBar.height()
        << "\nPosition=" << kVolumeBar.x() << "," << kVolumeBar.y() << "\n";

    static const std::array<const char*, 5> slotNames = {"Sec-Uint", "Sec-Decimal", "Min-Uint", "Min-Decimal",
                                                         "Hour-Uint"};
    for (const DigitRow* row : {&kTrackDigits, &kTimeDigits, &kTotalDigits}) {
        out << "\n[Panel\\LED\\" << row->element << "]\n";
        out << "Bitmap=panel/" << (row->cell == kBigCell ? "digits_large.bmp" : "digits_small.bmp") << "\n";
        for (int i = 0; i < row->count; ++i) {
            const char* slot = row->count == 2 ? (i == 0 ? "Uint" : "Decimal") : slotNames[size_t(i)];
            out << "Position " << slot << "=" << row->places[size_t(i)].x() << "," << row->places[size_t(i)].y()
                << "\n";
        }
    }
    out << "\n[SelectTrack Settings]\n"
        << "; Milliseconds of each blink of a track number being typed; 0 means 350.\n"
        << "Blink Track Interval=350\n"
        << "; Blinks before the entry ends by itself; 0 means 5.\n"
        << "Blink Track Times=5\n"
        << "; 1: an entry that ends by itself jumps to the track; 0: it is dropped.\n"
        << "Auto Return=1\n";
}

}  // namespace

PanelArt DrawPanelArt(int scale)
{
    PanelArt art;
    const std::vector<Key> list = keys();
    const QString mark = scale == 1 ? QString() : QString("@%1x").arg(scale);
    const auto add = [&](const QString& name, const QImage& picture) {
        QString file = name;
        art.pictures.push_back({file.insert(file.lastIndexOf('.'), mark), picture});
    };
    add("face.bmp", drawFace(Look::Normal, false, false, scale));
    add("face_selected.bmp", drawFace(Look::Pressed, true, false, scale));
    add("face_mousein.bmp", drawFace(Look::MouseIn, false, false, scale));
    if (scale == 1)
        add("region.bmp", drawRegion());
    add("digits_large.bmp", digitStrip(kBigCell, scale));
    add("digits_small.bmp", digitStrip(kSmallCell, scale));

    const std::array<std::pair<Look, const char*>, 3> checked = {
        {{Look::Normal, "_checked.bmp"}, {Look::Pressed, "_checked_selected.bmp"}, {Look::MouseIn, "_checked_mousein.bmp"}}};
    for (const auto& [look, suffix] : checked) {
        const QImage lit = drawFace(look, look == Look::Pressed, true, scale);
        for (const Key& key : list)
            if (key.check)
                add(fileNameOf(key.name) + suffix, lit.copy(QRect(key.rect.topLeft() * scale, key.rect.size() * scale)));
    }

    QTextStream out(&art.configSections);
    writeConfig(out, list);
    return art;
}
