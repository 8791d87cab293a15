#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <QImage>

// Bounds on a skin picture: anything beyond them is no picture, refused before any pixel
// memory is taken.
inline constexpr int kSkinBitmapMaxSide = 16384;
inline constexpr int64_t kSkinBitmapMaxPixels = int64_t{1} << 25;  // 128 MiB as 32-bit pixels
// A run-length picture's size does not follow from its file's: a few bytes may stand for any
// picture. Skin pictures are small, so these are held to a tighter bound.
inline constexpr int64_t kSkinBitmapMaxRunLengthPixels = int64_t{1} << 22;  // 2048 x 2048

// A skin picture: the Windows bitmap (BMP) named by fileName below rcDir, as an
// opaque 32-bit image of its own size. "\" separates folders as "/" does, and each name is
// found without regard to case, so skins made on Windows load unchanged. An empty name, a file
// that is missing, not a regular file, not a bitmap, truncated, or whose header claims more
// than the bounds above or than the file holds: none. The pixels that the codes of a run-length
// picture pass over (line ends, skips, an early end) take the first colour of its palette.
std::optional<QImage> Skin_LoadBitmap(std::string_view rcDir, std::string_view fileName);

// Where a skin is read from: the configuration and the folder its pictures' names start in.
struct SkinPaths {
    std::string cfgPath;
    std::string rcDir;
};
