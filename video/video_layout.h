#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/geometry.h"
#include "core/panel_skin.h"  // Size, shared with the panel

// The video frame's geometry: where its eight border pictures lie, where the image window
// goes, which border part is under the pointer. Plain arithmetic on client coordinates.

// The order is fixed: loading, painting and hit testing all go LT, T, RT, L, R, LB, B, RB.
enum class BorderPart : int { LT, T, RT, L, R, LB, B, RB };
inline constexpr int kBorderPartCount = 8;

// The picture sizes of the eight parts, indexed by BorderPart.
using BorderSizes = std::array<Size, kBorderPartCount>;

inline const Size& partSize(const BorderSizes& sizes, BorderPart part)
{
    return sizes[static_cast<size_t>(part)];
}

// The client rectangle of one part for a client of w x h; none for an index outside the eight.
std::optional<Rect> VideoWnd_BorderRect(const BorderSizes& sizes, int w, int h, int part);
inline std::optional<Rect> VideoWnd_BorderRect(const BorderSizes& sizes, int w, int h, BorderPart part)
{
    return VideoWnd_BorderRect(sizes, w, h, static_cast<int>(part));
}

// The smallest frame the user can drag: LT + T + RB wide, LT + L + RB high.
Size VideoSkin_MinTrackSize(const BorderSizes& sizes);

// The image window inside a client of w x h: inset by the corners while restored, the whole
// client while maximised.
Rect VideoWnd_ImageRect(const BorderSizes& sizes, int w, int h, bool maximised);

// The first part, in BorderPart order, whose rectangle holds the point (left and top edges
// inside, right and bottom outside).
std::optional<BorderPart> VideoWnd_HitTest(const BorderSizes& sizes, int w, int h, int x, int y);

// Which sides of the frame a part drags, as bits.
namespace edge {
constexpr int Left = 1;
constexpr int Top = 2;
constexpr int Right = 4;
constexpr int Bottom = 8;
}  // namespace edge

enum class SizeCursor { DiagonalDown, Vertical, DiagonalUp, Horizontal };  // \ | / -

int BorderPart_Edges(BorderPart part);
SizeCursor BorderPart_Cursor(BorderPart part);

// One picture to draw while composing the border: the part and its top-left corner.
struct BorderTile {
    BorderPart part;
    int x = 0;
    int y = 0;
    bool operator==(const BorderTile&) const = default;
};

// Every draw of the composed border for a client of w x h, in drawing order: corners whole,
// edges tiled from the corner on, the last tile of an edge possibly running under the next
// corner. Edges are left out where the client is smaller than the corners.
std::vector<BorderTile> VideoWnd_PaintPlan(const BorderSizes& sizes, int w, int h);

// The frame's screen rectangle after the pointer moved by dx, dy while sizing the given edges
// from start: the moved sides follow the pointer, the opposite ones stay, and the size stays
// within minimum and maximum.
Rect VideoWnd_SizeRect(const Rect& start, int edges, int dx, int dy, Size minimum, Size maximum);
