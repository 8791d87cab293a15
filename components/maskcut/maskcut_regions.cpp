#include "components/maskcut/maskcut_regions.h"

#include <utility>
#include <vector>

namespace {

struct Run {
    int begin;
    int end;
    bool operator==(const Run&) const = default;
};

// The key as a pixel 0x..RRGGBB of Bitmap.
uint32_t keyPixel(uint32_t colourValue)
{
    const uint32_t red = colourValue & 0xFF, green = colourValue >> 8 & 0xFF, blue = colourValue >> 16 & 0xFF;
    return red << 16 | green << 8 | blue;
}

void rowRuns(const uint32_t* row, int width, uint32_t key, bool keyOutside, std::vector<Run>& runs)
{
    runs.clear();
    const auto inside = [&](int x) { return (((row[x] ^ key) & 0xFFFFFF) != 0) == keyOutside; };
    int x = 0;
    while (x < width) {
        while (x < width && !inside(x))
            ++x;
        const int begin = x;
        while (x < width && inside(x))
            ++x;
        if (x > begin)
            runs.push_back({begin, x});
    }
}

}  // namespace

std::optional<Region> MaskcutBitmapRegions::createRegionByBitmap(const Bitmap& picture, uint32_t keyColour,
                                                                 bool keyOutside)
{
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() < size_t(picture.width) * size_t(picture.height))
        return std::nullopt;

    const uint32_t key = keyPixel(keyColour);
    Region region;
    std::vector<Run> band, runs;
    size_t bandStart = 0;  // first rectangle of the band still growing downward
    for (int y = 0; y < picture.height; ++y) {
        rowRuns(picture.pixels.data() + size_t(y) * size_t(picture.width), picture.width, key, keyOutside, runs);
        if (y > 0 && runs == band) {
            for (size_t i = bandStart; i < region.rects.size(); ++i)
                region.rects[i].bottom = y + 1;
            continue;
        }
        bandStart = region.rects.size();
        for (const Run& run : runs)
            region.rects.push_back({run.begin, y, run.end, y + 1});
        std::swap(band, runs);
    }
    if (region.rects.empty())
        return std::nullopt;
    return region;
}
