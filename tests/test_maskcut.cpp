#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "components/maskcut/maskcut_regions.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kWhiteKey = 0x00FFFFFF;

Bitmap picture(int width, int height, uint32_t fill = kWhite)
{
    return {width, height, std::vector<uint32_t>(size_t(width) * size_t(height), fill)};
}

// How many rectangles cover each pixel.
std::vector<int> coverage(const Region& region, int width, int height)
{
    std::vector<int> count(size_t(width) * size_t(height), 0);
    for (const Rect& r : region.rects) {
        EXPECT_FALSE(r.isEmpty());
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, width);
        EXPECT_LE(r.bottom, height);
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, height); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.right, width); ++x)
                ++count[size_t(y) * size_t(width) + size_t(x)];
    }
    return count;
}

void expectExactly(const Region& region, const Bitmap& bitmap, bool keyInside, uint32_t keyPixel)
{
    const std::vector<int> count = coverage(region, bitmap.width, bitmap.height);
    for (size_t i = 0; i < count.size(); ++i) {
        const bool isKey = (bitmap.pixels[i] & 0xFFFFFF) == keyPixel;
        ASSERT_EQ(count[i], isKey == keyInside ? 1 : 0) << "pixel " << i % size_t(bitmap.width) << ","
                                                        << i / size_t(bitmap.width);
    }
}

TEST(Maskcut, NothingInsideOrNoPictureGivesNoRegion)
{
    MaskcutBitmapRegions maskcut;
    EXPECT_FALSE(maskcut.createRegionByBitmap(picture(10, 10), kWhiteKey, true));
    EXPECT_FALSE(maskcut.createRegionByBitmap(picture(0, 0), kWhiteKey, true));
    Bitmap lying = picture(4, 4, 0);
    lying.height = 5;  // claims more rows than it holds
    EXPECT_FALSE(maskcut.createRegionByBitmap(lying, kWhiteKey, true));
    EXPECT_FALSE(maskcut.createRegionByBitmap(Bitmap{-3, 4, std::vector<uint32_t>(12, 0)}, kWhiteKey, true));
}

TEST(Maskcut, WhiteIsOutsideWhateverItsAlphaAndEverythingElseInside)
{
    Bitmap bitmap = picture(6, 3);
    bitmap.pixels[1] = 0xFF000000;   // black
    bitmap.pixels[2] = 0xFFFFFFFE;   // almost white
    bitmap.pixels[3] = 0x00FFFFFF;   // white, no alpha
    bitmap.pixels[6 + 4] = 0x00123456;
    MaskcutBitmapRegions maskcut;
    const std::optional<Region> region = maskcut.createRegionByBitmap(bitmap, kWhiteKey, true);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->rects, (std::vector<Rect>{{1, 0, 3, 1}, {4, 1, 5, 2}}));
}

TEST(Maskcut, RowsWithTheSameRunsJoinIntoOneBand)
{
    // A plus sign: three bands whatever its size.
    Bitmap bitmap = picture(30, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            if ((x >= 10 && x < 20) || (y >= 10 && y < 20))
                bitmap.pixels[size_t(y * 30 + x)] = 0xFF202020;
    MaskcutBitmapRegions maskcut;
    const std::optional<Region> region = maskcut.createRegionByBitmap(bitmap, kWhiteKey, true);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->rects, (std::vector<Rect>{{10, 0, 20, 10}, {0, 10, 30, 20}, {10, 20, 20, 30}}));
}

TEST(Maskcut, ScatteredPixelsAreCoveredExactlyOnce)
{
    // A fixed pseudo-random pattern with runs touching both edges.
    Bitmap bitmap = picture(97, 61);
    uint32_t state = 0x9E3779B9u;
    for (uint32_t& pixel : bitmap.pixels) {
        state ^= state << 13, state ^= state >> 17, state ^= state << 5;
        pixel = (state & 3) == 0 ? kWhite : 0xFF000000 | (state >> 8 & 0xFFFFFF);
    }
    MaskcutBitmapRegions maskcut;
    const std::optional<Region> region = maskcut.createRegionByBitmap(bitmap, kWhiteKey, true);
    ASSERT_TRUE(region);
    expectExactly(*region, bitmap, false, 0xFFFFFF);
}

TEST(Maskcut, TheKeyIsAColourValueWithRedInTheLowByteAndOutsideZeroKeepsOnlyIt)
{
    Bitmap bitmap = picture(4, 1, 0xFF00FF00);
    bitmap.pixels[0] = 0xFFFF0000;  // red
    bitmap.pixels[3] = 0xFF0000FF;  // blue
    MaskcutBitmapRegions maskcut;
    const std::optional<Region> withoutRed = maskcut.createRegionByBitmap(bitmap, 0x000000FF, true);
    ASSERT_TRUE(withoutRed);
    EXPECT_EQ(withoutRed->rects, (std::vector<Rect>{{1, 0, 4, 1}}));
    const std::optional<Region> onlyBlue = maskcut.createRegionByBitmap(bitmap, 0x00FF0000, false);
    ASSERT_TRUE(onlyBlue);
    EXPECT_EQ(onlyBlue->rects, (std::vector<Rect>{{3, 0, 4, 1}}));
}

}  // namespace
