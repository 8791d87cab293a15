#pragma once

#include <cstdint>
#include <optional>

#include "core/geometry.h"

// Cuts a window outline from a picture: pixels of the key colour lie outside.
class MaskcutRegions {
public:
    virtual ~MaskcutRegions() = default;
    // keyOutside false: the key colour's pixels are the inside instead.
    virtual std::optional<Region> createRegionByBitmap(const Bitmap& picture, uint32_t keyColour,
                                                       bool keyOutside) = 0;
};

// No region maker: no outline can be cut.
class NoRegions : public MaskcutRegions {
public:
    std::optional<Region> createRegionByBitmap(const Bitmap&, uint32_t, bool) override { return {}; }
};
