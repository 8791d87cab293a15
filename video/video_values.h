#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/geometry.h"

// How the video skin's values are written, and where the frame opens. Plain text in, numbers out.

// Blue 128: the image window's background when the skin names none.
inline constexpr uint32_t kDefaultImageBackground = 0x800000;

// "Image Background Color" as 0x00BBGGRR: leading blanks, one sign and "0x" allowed, hex digits
// up to the first other character, no digits giving black; only an empty text gives the default.
uint32_t VideoSkin_ParseColour(std::string_view text);

// The pair rule of skin values ("%d,%d"): pieces split at runs of commas, empty pieces skipped,
// each piece a decimal number (leading blanks and a sign allowed, 0 without digits, saturated to
// 32 bits). A number whose piece is missing keeps its value.
void Skin_ReadPair(std::string_view text, int32_t& first, int32_t& second);

// The frame's restored placement; all 0 until the frame is first placed.
struct VideoPlacement {
    Rect normalRect;
};

// Where the frame opens on a screen from its stored "Size" and "Position" texts (empty when the
// store has none): a third of the screen and centred unless stored, the top-left corner pulled
// back onto the screen, the size never limited.
Rect VideoWnd_InitialRect(std::string_view sizeText, std::string_view positionText, const Rect& screen);

// The texts stored at the frame's destruction, "%d,%d" each.
std::string VideoPlacement_PositionText(const VideoPlacement& placement);
std::string VideoPlacement_SizeText(const VideoPlacement& placement);
