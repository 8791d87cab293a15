#include "video/video_values.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr int32_t kLargestSide = (1 << 24) - 1;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Skips leading blanks and one sign; answers whether the sign was a minus.
bool takeSign(std::string_view& text)
{
    size_t at = 0;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    text.remove_prefix(at);
    return negative;
}

int32_t readDecimal(std::string_view text)
{
    const bool negative = takeSign(text);
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
        if (value > int64_t{INT32_MAX} + 1)
            break;  // saturated below; more digits change nothing
    }
    value = negative ? -value : value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

}  // namespace

uint32_t VideoSkin_ParseColour(std::string_view text)
{
    if (text.empty())
        return kDefaultImageBackground;
    const bool negative = takeSign(text);
    if (text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && hexDigit(text[2]) >= 0)
        text.remove_prefix(2);
    // Read as the 32-bit unsigned number it spells: too many digits saturate, a minus wraps.
    uint64_t value = 0;
    for (const char c : text) {
        const int digit = hexDigit(c);
        if (digit < 0)
            break;
        value = std::min<uint64_t>(value * 16 + static_cast<uint64_t>(digit), uint64_t{UINT32_MAX} + 1);
    }
    uint32_t number = value > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(value);
    if (negative)
        number = 0u - number;
    return number & 0x00FFFFFF;
}

void Skin_ReadPair(std::string_view text, int32_t& first, int32_t& second)
{
    int32_t* targets[] = {&first, &second};
    size_t filled = 0;
    while (!text.empty() && filled < 2) {
        const size_t comma = text.find(',');
        const std::string_view piece = text.substr(0, comma);
        if (!piece.empty())
            *targets[filled++] = readDecimal(piece);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
}

Rect VideoWnd_InitialRect(std::string_view sizeText, std::string_view positionText, const Rect& screen)
{
    int32_t width = 0, height = 0;
    Skin_ReadPair(sizeText, width, height);
    if (width <= 0)
        width = screen.width() / 3;
    if (height <= 0)
        height = screen.height() / 3;
    // Beyond any window system's limit; keeps the corner arithmetic below within 32 bits.
    width = std::min(width, kLargestSide);
    height = std::min(height, kLargestSide);

    int32_t x = screen.left + (screen.width() - width) / 2;
    int32_t y = screen.top + (screen.height() - height) / 2;
    Skin_ReadPair(positionText, x, y);

    // Only the corner is kept on the screen; a large frame may run past the right or bottom.
    if (x < screen.left)
        x = screen.left;
    else if (x >= screen.right)
        x = screen.right - width;
    if (y < screen.top)
        y = screen.top;
    else if (y >= screen.bottom)
        y = screen.bottom - height;
    return {x, y, x + width, y + height};
}

std::string VideoPlacement_PositionText(const VideoPlacement& placement)
{
    return std::to_string(placement.normalRect.left) + "," + std::to_string(placement.normalRect.top);
}

std::string VideoPlacement_SizeText(const VideoPlacement& placement)
{
    return std::to_string(placement.normalRect.width()) + "," + std::to_string(placement.normalRect.height());
}
