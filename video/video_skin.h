#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include <QImage>

#include "panel/skin/skin_bitmap.h"
#include "video/video_layout.h"
#include "video/video_values.h"

// The video window's look, read from section "Video" of the configuration in one pass and
// handed whole to the frame, which passes the image window its part.
struct VideoSkin {
    std::array<QImage, kBorderPartCount> borders;  // indexed by BorderPart, all present
    BorderSizes sizes;                              // the borders' sizes, for the geometry
    Size minTrackSize;
    uint32_t imageBackground = kDefaultImageBackground;  // 0x00BBGGRR
    std::optional<QImage> idleImage;
    // The pictures' twins at twice the size, where the screen is dense and the skin has them.
    std::array<std::optional<QImage>, kBorderPartCount> borders2x;
    std::optional<QImage> idleImage2x;
};

// The configuration keys of the border pictures, in BorderPart order.
inline constexpr std::array<const char*, kBorderPartCount> kBorderKeys = {
    "LT-Border Bitmap", "T-Border Bitmap", "RT-Border Bitmap", "L-Border Bitmap",
    "R-Border Bitmap",  "LB-Border Bitmap", "B-Border Bitmap", "RB-Border Bitmap",
};

// The skin, or none when a border picture is missing: the parts are read in order and the
// first one without a picture stops the reading, with why naming its key or its file.
std::optional<VideoSkin> VideoSkin_Load(const SkinPaths& files, std::string& why);
