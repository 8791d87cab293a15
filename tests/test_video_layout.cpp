#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include "video/video_layout.h"

namespace {

// Every part a different size, so a width read for a height or one part for another shows.
BorderSizes unevenSizes()
{
    BorderSizes s;
    s[size_t(BorderPart::LT)] = {8, 8};
    s[size_t(BorderPart::T)] = {4, 6};
    s[size_t(BorderPart::RT)] = {10, 7};
    s[size_t(BorderPart::L)] = {5, 4};
    s[size_t(BorderPart::R)] = {6, 3};
    s[size_t(BorderPart::LB)] = {9, 11};
    s[size_t(BorderPart::B)] = {3, 5};
    s[size_t(BorderPart::RB)] = {12, 13};
    return s;
}

BorderSizes evenSizes(int corner, int tileLength)
{
    BorderSizes s;
    for (BorderPart p : {BorderPart::LT, BorderPart::RT, BorderPart::LB, BorderPart::RB})
        s[size_t(p)] = {corner, corner};
    s[size_t(BorderPart::T)] = s[size_t(BorderPart::B)] = {tileLength, corner};
    s[size_t(BorderPart::L)] = s[size_t(BorderPart::R)] = {corner, tileLength};
    return s;
}

struct BorderRectCase {
    BorderPart part;
    Rect expected;
};

TEST(VideoBorderRect, EachPartForA400By300Client)
{
    const BorderRectCase cases[] = {
        {BorderPart::LT, {0, 0, 8, 8}},       {BorderPart::T, {8, 0, 390, 6}},
        {BorderPart::RT, {390, 0, 400, 7}},   {BorderPart::L, {0, 8, 5, 289}},
        {BorderPart::R, {394, 7, 400, 287}},  {BorderPart::LB, {0, 289, 9, 300}},
        {BorderPart::B, {8, 295, 388, 300}},  {BorderPart::RB, {388, 287, 400, 300}},
    };
    for (const BorderRectCase& c : cases) {
        SCOPED_TRACE(int(c.part));
        EXPECT_EQ(VideoWnd_BorderRect(unevenSizes(), 400, 300, c.part), c.expected);
    }
}

TEST(VideoBorderRect, NoRectangleOutsideTheEightParts)
{
    for (int part : {-1, 8, 100})
        EXPECT_EQ(VideoWnd_BorderRect(unevenSizes(), 400, 300, part), std::nullopt) << part;
}

TEST(VideoMinTrackSize, CornersPlusTopTileWidthAndLeftTileHeight)
{
    BorderSizes s;
    s[size_t(BorderPart::LT)] = {8, 8};
    s[size_t(BorderPart::T)] = {4, 8};
    s[size_t(BorderPart::L)] = {8, 4};
    s[size_t(BorderPart::RB)] = {8, 8};
    EXPECT_EQ(VideoSkin_MinTrackSize(s), (Size{20, 20}));
    // Width from LT, T and RB widths; height from LT, L and RB heights, nothing else.
    EXPECT_EQ(VideoSkin_MinTrackSize(unevenSizes()), (Size{8 + 4 + 12, 8 + 4 + 13}));
}

TEST(VideoImageRect, InsetWhileRestoredWholeWhileMaximised)
{
    const BorderSizes even = evenSizes(8, 4);
    EXPECT_EQ(VideoWnd_ImageRect(even, 400, 300, false), (Rect{8, 8, 392, 292}));
    EXPECT_EQ(VideoWnd_ImageRect(even, 1024, 768, true), (Rect{0, 0, 1024, 768}));
    // The inset takes LT's corner, then RT's width and LB's height off.
    EXPECT_EQ(VideoWnd_ImageRect(unevenSizes(), 400, 300, false), (Rect{8, 8, 8 + 382, 8 + 281}));
}

struct HitCase {
    int x, y;
    std::optional<BorderPart> expected;
};

TEST(VideoHitTest, FirstPartHoldingThePoint)
{
    const HitCase cases[] = {
        {0, 0, BorderPart::LT},    {7, 7, BorderPart::LT},     {8, 0, BorderPart::T},
        {200, 5, BorderPart::T},   {200, 6, std::nullopt},     {399, 0, BorderPart::RT},
        {0, 100, BorderPart::L},   {5, 100, std::nullopt},     {399, 100, BorderPart::R},
        {0, 299, BorderPart::LB},  {200, 299, BorderPart::B},  {399, 299, BorderPart::RB},
        {200, 150, std::nullopt},  {400, 0, std::nullopt},     {0, 300, std::nullopt},
        {-1, 0, std::nullopt},
    };
    for (const HitCase& c : cases)
        EXPECT_EQ(VideoWnd_HitTest(unevenSizes(), 400, 300, c.x, c.y), c.expected) << c.x << "," << c.y;
}

TEST(VideoHitTest, OverlappingPartsGoToTheEarlierOne)
{
    // In a client smaller than two corners RT covers LT's pixels too; LT comes first.
    EXPECT_EQ(VideoWnd_HitTest(evenSizes(8, 4), 10, 10, 3, 3), BorderPart::LT);
    EXPECT_EQ(VideoWnd_HitTest(evenSizes(8, 4), 10, 10, 9, 9), BorderPart::RB);
}

struct TraitCase {
    BorderPart part;
    int edges;
    SizeCursor cursor;
};

TEST(VideoBorderPart, SidesDraggedAndCursor)
{
    const TraitCase cases[] = {
        {BorderPart::LT, edge::Left | edge::Top, SizeCursor::DiagonalDown},
        {BorderPart::T, edge::Top, SizeCursor::Vertical},
        {BorderPart::RT, edge::Right | edge::Top, SizeCursor::DiagonalUp},
        {BorderPart::L, edge::Left, SizeCursor::Horizontal},
        {BorderPart::R, edge::Right, SizeCursor::Horizontal},
        {BorderPart::LB, edge::Left | edge::Bottom, SizeCursor::DiagonalUp},
        {BorderPart::B, edge::Bottom, SizeCursor::Vertical},
        {BorderPart::RB, edge::Right | edge::Bottom, SizeCursor::DiagonalDown},
    };
    for (const TraitCase& c : cases) {
        EXPECT_EQ(BorderPart_Edges(c.part), c.edges) << int(c.part);
        EXPECT_EQ(BorderPart_Cursor(c.part), c.cursor) << int(c.part);
    }
}

TEST(VideoPaintPlan, CornersWholeAndEdgesTiledUpToTheNextCorner)
{
    using P = BorderPart;
    const std::vector<BorderTile> expected = {
        {P::LT, 0, 0},
        {P::T, 8, 0},  {P::T, 18, 0},  {P::T, 28, 0},  // the last runs under RT at 32
        {P::RT, 32, 0},
        {P::L, 0, 8},  {P::L, 0, 18},
        {P::R, 32, 8}, {P::R, 32, 18},
        {P::LB, 0, 22},
        {P::B, 8, 22}, {P::B, 18, 22}, {P::B, 28, 22},
        {P::RB, 32, 22},
    };
    EXPECT_EQ(VideoWnd_PaintPlan(evenSizes(8, 10), 40, 30), expected);
}

TEST(VideoPaintPlan, NothingTiledBelowTheCornerSizes)
{
    using P = BorderPart;
    const std::vector<BorderTile> expected = {{P::LT, 0, 0}, {P::RT, 4, 0}, {P::LB, 0, 4}, {P::RB, 4, 4}};
    EXPECT_EQ(VideoWnd_PaintPlan(evenSizes(8, 10), 12, 12), expected);
}

TEST(VideoPaintPlan, EdgeBoundsComeFromTheLeftCornersAndRtWidth)
{
    // R tiles stop at H - LB height (not RB), B tiles at W - RT width (not RB).
    BorderSizes s = evenSizes(8, 10);
    s[size_t(BorderPart::LB)] = {8, 20};
    s[size_t(BorderPart::RT)] = {20, 8};
    int rTiles = 0, bTiles = 0;
    for (const BorderTile& tile : VideoWnd_PaintPlan(s, 60, 60)) {
        rTiles += tile.part == BorderPart::R;
        bTiles += tile.part == BorderPart::B;
    }
    EXPECT_EQ(rTiles, 4);  // y 8, 18, 28, 38 < 40
    EXPECT_EQ(bTiles, 4);  // x 8, 18, 28, 38 < 40
}

struct SizeCase {
    int edges, dx, dy;
    Rect expected;
};

TEST(VideoSizeRect, MovedSidesFollowWithinTheBounds)
{
    const Rect start{100, 100, 300, 250};  // 200 x 150
    const SizeCase cases[] = {
        {edge::Right | edge::Bottom, 30, 20, {100, 100, 330, 270}},
        {edge::Left | edge::Top, 30, 20, {130, 120, 300, 250}},
        {edge::Top, 30, -20, {100, 80, 300, 250}},              // a top drag ignores dx
        {edge::Left, 180, 0, {250, 100, 300, 250}},             // held at the minimum width
        {edge::Right, -500, 0, {100, 100, 150, 250}},
        {edge::Top, 0, -1000, {100, 250 - 768, 300, 250}},      // held at the maximum height
        {edge::Bottom, 0, 5000, {100, 100, 300, 100 + 768}},
    };
    for (const SizeCase& c : cases)
        EXPECT_EQ(VideoWnd_SizeRect(start, c.edges, c.dx, c.dy, {50, 40}, {1024, 768}), c.expected)
            << c.edges << " " << c.dx << "," << c.dy;
}

}  // namespace
