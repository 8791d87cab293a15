#pragma once

#include <cstdint>
#include <optional>

#include "core/geometry.h"

// Cuts a window outline from a picture: pixels of the key colour lie outside.
class MaskcutRegions {
public:
    virtual ~MaskcutRegions() = default;
    virtual std::optional<Region> createRegionByBitmap(const Bitmap& picture, uint32_t reserved,
                                                       uint32_t keyColour, uint32_t outside,
                                                       uint32_t flags) = 0;
};
