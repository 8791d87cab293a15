#pragma once

#include "components/maskcut/maskcut.h"

// Outlines cut from pictures on Linux. A pixel of the key colour (a colour value 0x00BBGGRR,
// alpha ignored) lies outside when `outside` is nonzero, and is the only kind inside when it is
// 0. The rectangles come row by row, rows with the same runs joined into one band, so a
// smooth outline gives few rectangles. A picture with nothing inside gives no region: an empty
// outline would make its window vanish.
class MaskcutBitmapRegions : public MaskcutRegions {
public:
    std::optional<Region> createRegionByBitmap(const Bitmap& picture, uint32_t keyColour, bool keyOutside) override;
};
