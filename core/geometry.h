#pragma once

#include <cstdint>
#include <vector>

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

// A set of pixels as non-overlapping rectangles; turned into a QRegion only at the edge.
struct Region {
    std::vector<Rect> rects;
};

// A picture as 32-bit 0xAARRGGBB pixels, row by row.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};
