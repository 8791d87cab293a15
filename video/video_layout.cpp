#include "video/video_layout.h"

#include <algorithm>

namespace {

struct PartTraits {
    int edges;
    SizeCursor cursor;
};

constexpr std::array<PartTraits, kBorderPartCount> kTraits = {{
    {edge::Left | edge::Top, SizeCursor::DiagonalDown},      // LT
    {edge::Top, SizeCursor::Vertical},                       // T
    {edge::Right | edge::Top, SizeCursor::DiagonalUp},       // RT
    {edge::Left, SizeCursor::Horizontal},                    // L
    {edge::Right, SizeCursor::Horizontal},                   // R
    {edge::Left | edge::Bottom, SizeCursor::DiagonalUp},     // LB
    {edge::Bottom, SizeCursor::Vertical},                    // B
    {edge::Right | edge::Bottom, SizeCursor::DiagonalDown},  // RB
}};

// A length kept within its bounds; the minimum wins when the bounds cross (a screen smaller
// than the border's corners), so the frame never loses its border.
int bounded(int length, int minimum, int maximum)
{
    return std::max(minimum, std::min(length, maximum));
}

}  // namespace

std::optional<Rect> VideoWnd_BorderRect(const BorderSizes& s, int w, int h, int part)
{
    if (part < 0 || part >= kBorderPartCount)
        return std::nullopt;
    const Size lt = partSize(s, BorderPart::LT), t = partSize(s, BorderPart::T), rt = partSize(s, BorderPart::RT),
               l = partSize(s, BorderPart::L), r = partSize(s, BorderPart::R), lb = partSize(s, BorderPart::LB),
               b = partSize(s, BorderPart::B), rb = partSize(s, BorderPart::RB);
    const std::array<Rect, kBorderPartCount> rects = {{
        {0, 0, lt.width, lt.height},
        {lt.width, 0, w - rt.width, t.height},
        {w - rt.width, 0, w, rt.height},
        {0, lt.height, l.width, h - lb.height},
        {w - r.width, rt.height, w, h - rb.height},
        {0, h - lb.height, lb.width, h},
        {lt.width, h - b.height, w - rb.width, h},
        {w - rb.width, h - rb.height, w, h},
    }};
    return rects[static_cast<size_t>(part)];
}

Size VideoSkin_MinTrackSize(const BorderSizes& s)
{
    const Size lt = partSize(s, BorderPart::LT), rb = partSize(s, BorderPart::RB);
    return {lt.width + partSize(s, BorderPart::T).width + rb.width,
            lt.height + partSize(s, BorderPart::L).height + rb.height};
}

Rect VideoWnd_ImageRect(const BorderSizes& s, int w, int h, bool maximised)
{
    if (maximised)
        return {0, 0, w, h};
    const Size lt = partSize(s, BorderPart::LT);
    const int width = w - lt.width - partSize(s, BorderPart::RT).width;
    const int height = h - lt.height - partSize(s, BorderPart::LB).height;
    return {lt.width, lt.height, lt.width + width, lt.height + height};
}

std::optional<BorderPart> VideoWnd_HitTest(const BorderSizes& s, int w, int h, int x, int y)
{
    for (int part = 0; part < kBorderPartCount; ++part) {
        const Rect r = *VideoWnd_BorderRect(s, w, h, part);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
            return static_cast<BorderPart>(part);
    }
    return std::nullopt;
}

int BorderPart_Edges(BorderPart part)
{
    return kTraits[static_cast<size_t>(part)].edges;
}

SizeCursor BorderPart_Cursor(BorderPart part)
{
    return kTraits[static_cast<size_t>(part)].cursor;
}

std::vector<BorderTile> VideoWnd_PaintPlan(const BorderSizes& s, int w, int h)
{
    const Size lt = partSize(s, BorderPart::LT), t = partSize(s, BorderPart::T), rt = partSize(s, BorderPart::RT),
               l = partSize(s, BorderPart::L), r = partSize(s, BorderPart::R), lb = partSize(s, BorderPart::LB),
               b = partSize(s, BorderPart::B), rb = partSize(s, BorderPart::RB);
    std::vector<BorderTile> plan;
    // A zero-sized tile would never advance; such a skin cannot be loaded, but stay finite.
    const auto tileAcross = [&](BorderPart part, int step, int y, int from, int to) {
        for (int x = from; step > 0 && x < to; x += step)
            plan.push_back({part, x, y});
    };
    const auto tileDown = [&](BorderPart part, int step, int x, int from, int to) {
        for (int y = from; step > 0 && y < to; y += step)
            plan.push_back({part, x, y});
    };

    plan.push_back({BorderPart::LT, 0, 0});
    tileAcross(BorderPart::T, t.width, 0, lt.width, w - rt.width);
    plan.push_back({BorderPart::RT, w - rt.width, 0});
    tileDown(BorderPart::L, l.height, 0, lt.height, h - lb.height);
    tileDown(BorderPart::R, r.height, w - r.width, lt.height, h - lb.height);
    plan.push_back({BorderPart::LB, 0, h - lb.height});
    tileAcross(BorderPart::B, b.width, h - b.height, lt.width, w - rt.width);
    plan.push_back({BorderPart::RB, w - rb.width, h - rb.height});
    return plan;
}

Rect VideoWnd_SizeRect(const Rect& start, int edges, int dx, int dy, Size minimum, Size maximum)
{
    Rect out = start;
    if (edges & edge::Left)
        out.left = start.right - bounded(start.width() - dx, minimum.width, maximum.width);
    else if (edges & edge::Right)
        out.right = start.left + bounded(start.width() + dx, minimum.width, maximum.width);
    if (edges & edge::Top)
        out.top = start.bottom - bounded(start.height() - dy, minimum.height, maximum.height);
    else if (edges & edge::Bottom)
        out.bottom = start.top + bounded(start.height() + dy, minimum.height, maximum.height);
    return out;
}
