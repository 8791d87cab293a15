// Draws the default skin's video pictures: a dark brushed-metal bezel in eight pieces (four
// corners, four edge tiles) and the idle picture, saved as 24-bit Windows bitmaps, each also
// drawn at twice the size as its @2x twin. Given the resources folder too, it also draws the
// panel (into skin/panel), the cursors and the icons (the launcher's in the hicolor sizes under
// icons/hicolor), and prints the panel's sections of Quintara.CFG.
//
//   quintara_make_default_skin <video folder> [<resources folder>]
//
// The drawing is deterministic (fixed noise seed), so running it again changes no byte.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "tools/panel_skin_art.h"

namespace {

constexpr int kThick = 24;   // bezel thickness: corner side and edge depth
constexpr int kTile = 48;    // edge tile length; the brushing repeats with it
constexpr double kRound = 9; // outer corner radius
const QColor kSurround(12, 12, 14);  // what the rounded corners cut away shows

// xorshift32: the same noise on every machine.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed) {}
    double next()  // -1 .. 1
    {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (state_ & 0xFFFFFF) / double(0x7FFFFF) - 1.0;
    }

private:
    uint32_t state_;
};

// Fine streaks of a brushed surface: for each depth, values along the brushing that repeat
// every kTile pixels, so tiles join without a seam.
struct Brushing {
    std::array<double, kThick> depthTone{};
    std::array<std::array<double, kTile>, kThick> streak{};

    explicit Brushing(uint32_t seed)
    {
        Noise noise(seed);
        for (double& tone : depthTone)
            tone = noise.next() * 3.0;
        for (auto& row : streak) {
            std::array<double, kTile> raw{};
            for (double& v : raw)
                v = noise.next();
            // A short circular blur: streaks, not sand.
            for (int i = 0; i < kTile; ++i) {
                double sum = 0;
                for (int k = -2; k <= 2; ++k)
                    sum += raw[size_t((i + k + kTile) % kTile)];
                row[size_t(i)] = sum / 5.0 * 4.0 + raw[size_t(i)] * 1.2;
            }
        }
    }

    double at(int depth, int along) const
    {
        return depthTone[size_t(depth)] + streak[size_t(depth)][size_t(((along % kTile) + kTile) % kTile)];
    }
};

enum class Face { Top, Bottom, Left, Right };

bool litFace(Face face)
{
    return face == Face::Top || face == Face::Left;
}

// The bezel's cross-section, lit from the top left: outline, outer bevel, brushed face, inner
// chamfer down to a dark lip around the picture. depth 0 is the outer edge.
QColor profile(Face face, double depth, double brush)
{
    const bool lit = litFace(face);
    double r, g, b;
    if (depth < 1.0) {
        r = 9, g = 9, b = 10;
    } else if (depth < 2.0) {
        r = lit ? 150 : 34, g = lit ? 153 : 35, b = lit ? 160 : 38;
    } else if (depth < 17.0) {
        // Slightly convex: brighter toward the outer bevel.
        const double base = 66.0 - (depth - 2.0) * 0.8 + (lit ? 6.0 : -5.0);
        r = base + brush, g = base + 2.0 + brush, b = base + 6.0 + brush;
    } else if (depth < 20.0) {
        const double step = depth - 17.0;  // 0..3, into the recess
        r = lit ? 34 - step * 4 : 104 - step * 12;
        g = r + 1;
        b = r + 4;
    } else if (depth < 23.0) {
        r = 17, g = 17, b = 19;
    } else {
        r = 4, g = 4, b = 5;
    }
    const auto clamp = [](double v) { return std::clamp(int(std::lround(v)), 0, 255); };
    return QColor(clamp(r), clamp(g), clamp(b));
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

struct Brushes {
    Brushing horizontal{0x51A7E3u};
    Brushing vertical{0x2B9D41u};
};

// An edge tile: depth runs across the tile, the brushing along it. scale pixels a skin pixel
// (2 for the twin): the profile is sampled at the finer pixels, the brushing keeps its grain.
QImage edgeTile(Face face, const Brushes& brushes, int scale)
{
    const bool across = face == Face::Top || face == Face::Bottom;
    QImage image((across ? kTile : kThick) * scale, (across ? kThick : kTile) * scale, QImage::Format_RGB32);
    const double last = kThick - 1.0 / scale;  // the innermost pixel's depth
    for (int py = 0; py < image.height(); ++py)
        for (int px = 0; px < image.width(); ++px) {
            const double x = double(px) / scale, y = double(py) / scale;
            double depth = 0, along = 0;
            switch (face) {
            case Face::Top: depth = y, along = x; break;
            case Face::Bottom: depth = last - y, along = x; break;
            case Face::Left: depth = x, along = y; break;
            case Face::Right: depth = last - x, along = y; break;
            }
            const Brushing& brushing = across ? brushes.horizontal : brushes.vertical;
            image.setPixelColor(px, py, profile(face, depth, brushing.at(int(depth), int(along))));
        }
    return image;
}

// A corner: mitred where the horizontal and vertical faces meet, rounded on the outside.
// right and bottom say which sides of the frame it joins; scale as for edgeTile.
QImage corner(bool right, bool bottom, const Brushes& brushes, int scale)
{
    QImage image(kThick * scale, kThick * scale, QImage::Format_RGB32);
    const double last = kThick - 1.0 / scale, half = 0.5 / scale;
    for (int py = 0; py < image.height(); ++py)
        for (int px = 0; px < image.width(); ++px) {
            const double x = double(px) / scale, y = double(py) / scale;
            const double dx = right ? last - x : x;   // from the outer vertical side
            const double dy = bottom ? last - y : y;  // from the outer horizontal side
            double depth = std::min(dx, dy);
            if (dx < kRound && dy < kRound)
                depth = kRound - std::hypot(kRound - dx - half, kRound - dy - half);
            const bool horizontal = dy <= dx;
            const Face face = horizontal ? (bottom ? Face::Bottom : Face::Top) : (right ? Face::Right : Face::Left);
            // Brushing continues into the edge tile that follows a left or top corner.
            const int along = int(horizontal ? x + (right ? 0 : kTile - kThick) : y + (bottom ? 0 : kTile - kThick));
            const Brushing& brushing = horizontal ? brushes.horizontal : brushes.vertical;
            const int band = std::clamp(int(depth), 0, kThick - 1);
            QColor colour = profile(face, std::max(depth, 0.0), brushing.at(band, along));
            // The mitre seam: a hairline, darker on the shadowed side.
            if (dx == dy && dx >= 2 && dx < 17)
                colour = colour.darker(right != bottom ? 112 : 125);
            if (depth < half)  // anti-aliased rounding against the surround
                colour = mix(kSurround, colour, std::clamp(depth * scale + 0.5, 0.0, 1.0));
            image.setPixelColor(px, py, colour);
        }
    return image;
}

// A countersunk screw head in the middle of a corner's face.
void screw(QImage& image, QPointF centre, double turn, int scale)
{
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sink(centre + QPointF(0.6, 0.6), 4.2);
    sink.setColorAt(0.0, QColor(20, 21, 24));
    sink.setColorAt(1.0, QColor(44, 46, 50));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sink);
    painter.drawEllipse(centre, 4.0, 4.0);
    QRadialGradient head(centre - QPointF(1.2, 1.2), 4.0);
    head.setColorAt(0.0, QColor(170, 173, 180));
    head.setColorAt(0.6, QColor(92, 95, 101));
    head.setColorAt(1.0, QColor(48, 50, 54));
    painter.setBrush(head);
    painter.drawEllipse(centre, 3.1, 3.1);
    painter.setPen(QPen(QColor(22, 23, 26), 1.0, Qt::SolidLine, Qt::RoundCap));
    painter.translate(centre);
    painter.rotate(turn);
    painter.drawLine(QPointF(-2.0, 0), QPointF(2.0, 0));
    painter.drawLine(QPointF(0, -2.0), QPointF(0, 2.0));
}

// The sizing grip: raised dots in a triangle toward the outer corner.
void grip(QImage& image, int scale)
{
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col <= row; ++col) {
            // Counted from the outer corner's inside, along the diagonal.
            const QPointF dot(kThick - 6.5 - 4.0 * (row - col), kThick - 6.5 - 4.0 * col);
            painter.setBrush(QColor(12, 12, 14));
            painter.drawEllipse(dot + QPointF(0.6, 0.6), 1.3, 1.3);
            painter.setBrush(QColor(150, 153, 160));
            painter.drawEllipse(dot - QPointF(0.3, 0.3), 1.0, 1.0);
        }
}

// What the image window shows while nothing plays: the mark on a dark, softly lit field.
QImage idlePicture(int scale)
{
    const QSize size(480, 360);
    QImage image(size * scale, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QRadialGradient field(QPointF(size.width() / 2.0, size.height() * 0.42), size.width() * 0.62);
    field.setColorAt(0.0, QColor(34, 38, 46));
    field.setColorAt(0.55, QColor(18, 20, 25));
    field.setColorAt(1.0, QColor(6, 7, 9));
    painter.fillRect(QRect(QPoint(0, 0), size), field);

    // Faint horizontal lines, as on a screen at rest.
    painter.setPen(QColor(255, 255, 255, 6));
    for (int y = 0; y < size.height(); y += 3)
        painter.drawLine(0, y, size.width(), y);

    const QPointF centre(size.width() / 2.0, 150.0);
    const double outer = 54.0, inner = 42.0;
    QLinearGradient ring(centre - QPointF(0, outer), centre + QPointF(0, outer));
    ring.setColorAt(0.0, QColor(190, 194, 202));
    ring.setColorAt(0.5, QColor(104, 108, 116));
    ring.setColorAt(1.0, QColor(58, 61, 67));
    QPainterPath band;
    band.addEllipse(centre, outer, outer);
    band.addEllipse(centre, inner, inner);
    // The tail of the Q: a short bar through the ring at the lower right.
    QPainterPath tail;
    tail.moveTo(centre + QPointF(24, 30));
    tail.lineTo(centre + QPointF(34, 20));
    tail.lineTo(centre + QPointF(64, 50));
    tail.lineTo(centre + QPointF(54, 60));
    tail.closeSubpath();
    painter.setPen(QPen(QColor(8, 9, 11), 1.5));
    painter.setBrush(ring);
    painter.drawPath(band.united(tail));

    // The play mark inside the ring.
    QPainterPath play;
    play.moveTo(centre + QPointF(-14, -22));
    play.lineTo(centre + QPointF(24, 0));
    play.lineTo(centre + QPointF(-14, 22));
    play.closeSubpath();
    QLinearGradient glow(centre - QPointF(0, 22), centre + QPointF(0, 22));
    glow.setColorAt(0.0, QColor(120, 196, 255));
    glow.setColorAt(1.0, QColor(36, 110, 196));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawPath(play);

    QFont word("DejaVu Sans");
    word.setPixelSize(30);
    word.setWeight(QFont::Light);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 9.0);
    painter.setFont(word);
    painter.setPen(QColor(196, 200, 208));
    painter.drawText(QRectF(0, 232, size.width(), 40), Qt::AlignHCenter | Qt::AlignVCenter, "QUINTARA");

    QFont maker("DejaVu Sans");
    maker.setPixelSize(12);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 4.0);
    painter.setFont(maker);
    painter.setPen(QColor(110, 116, 126));
    painter.drawText(QRectF(0, 272, size.width(), 20), Qt::AlignHCenter | Qt::AlignVCenter, "HALVEX VIDEO");
    return image;
}

bool save(const QImage& image, const QDir& folder, const QString& name)
{
    // RGB888 makes the writer emit 24 bits a pixel, as older skin tools expect.
    const QString path = folder.filePath(name);
    if (image.convertToFormat(QImage::Format_RGB888).save(path, "BMP"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

bool savePng(const QImage& image, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name);
    if (QDir().mkpath(folder.path()) && image.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

// The launcher's icon in the sizes of the desktop's hicolor theme, each drawn at its size
// rather than scaled from another.
bool drawThemeIcons(const QDir& icons)
{
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString size = QString("%1x%1").arg(side);
        if (!savePng(DrawPlayerIcon(side), QDir(icons.filePath("hicolor/" + size + "/apps")), "com.halvex.Quintara.png"))
            return false;
    }
    return true;
}

bool drawPanel(const QDir& resources)
{
    const QDir panel(resources.filePath("skin/panel"));
    if (!QDir().mkpath(panel.path()))
        return false;
    const PanelArt art = DrawPanelArt(1);
    for (const PanelArt& each : {art, DrawPanelArt(2)})
        for (const auto& [name, picture] : each.pictures)
            if (!save(picture, panel, name))
                return false;
    std::fputs(qPrintable(art.configSections), stdout);
    const QDir cursors(resources.filePath("cursors")), icons(resources.filePath("icons"));
    return savePng(DrawPointingHandCursor(), cursors, "pointing_hand.png") &&
           savePng(DrawOpenHandCursor(), cursors, "open_hand.png") &&
           savePng(DrawPlayerIcon(64), icons, "quintara.png") && savePng(DrawVideoIcon(64), icons, "video.png") &&
           drawThemeIcons(icons);
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s <video folder> [<resources folder>]\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }

    // Every picture twice: at the skin's size and, for dense screens, drawn at twice it.
    bool saved = true;
    for (const auto& [scale, mark] : {std::pair{1, ""}, std::pair{2, "@2x"}}) {
        const Brushes brushes;
        QImage lt = corner(false, false, brushes, scale), rt = corner(true, false, brushes, scale);
        QImage lb = corner(false, true, brushes, scale), rb = corner(true, true, brushes, scale);
        screw(lt, QPointF(9.5, 9.5), 20, scale);
        screw(rt, QPointF(kThick - 9.5, 9.5), 65, scale);
        screw(lb, QPointF(9.5, kThick - 9.5), 110, scale);
        grip(rb, scale);
        const std::array<std::pair<const char*, QImage>, 9> pictures = {{
            {"border_lt", lt}, {"border_t", edgeTile(Face::Top, brushes, scale)},
            {"border_rt", rt}, {"border_l", edgeTile(Face::Left, brushes, scale)},
            {"border_r", edgeTile(Face::Right, brushes, scale)}, {"border_lb", lb},
            {"border_b", edgeTile(Face::Bottom, brushes, scale)}, {"border_rb", rb},
            {"idle", idlePicture(scale)},
        }};
        for (const auto& [name, picture] : pictures)
            saved = saved && save(picture, folder, QString(name) + mark + ".bmp");
    }
    if (saved && argc == 3)
        return drawPanel(QDir(QString::fromLocal8Bit(argv[2]))) ? 0 : 1;
    return saved ? 0 : 1;
}
