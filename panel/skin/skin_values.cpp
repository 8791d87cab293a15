#include "panel/skin/skin_values.h"

#include <array>
#include <cstdint>
#include <limits>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi's reading, saturated instead of undefined past the range.
int pieceNumber(std::string_view piece)
{
    size_t at = 0;
    while (at < piece.size() && isBlank(piece[at]))
        ++at;
    bool negative = false;
    if (at < piece.size() && (piece[at] == '-' || piece[at] == '+'))
        negative = piece[at++] == '-';
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; at < piece.size() && piece[at] >= '0' && piece[at] <= '9'; ++at) {
        magnitude = magnitude * 10 + (piece[at] - '0');
        if (magnitude > limit)
            magnitude = limit;
    }
    if (negative)
        return static_cast<int>(-magnitude);
    return magnitude >= limit ? std::numeric_limits<int32_t>::max() : static_cast<int>(magnitude);
}

}  // namespace

void ReadSkinPair(std::string_view text, int& first, int& second)
{
    const std::array<int*, 2> targets{&first, &second};
    size_t filled = 0;
    size_t start = 0;
    while (filled < targets.size() && start < text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (end > start)
            *targets[filled++] = pieceNumber(text.substr(start, end - start));
        start = end + 1;
    }
}
