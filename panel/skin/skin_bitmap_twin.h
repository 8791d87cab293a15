#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <QImage>

// The twin's name of a skin picture's name: "@2x" before the last piece's extension
// ("Panel\face.bmp" gives "Panel\face@2x.bmp"); empty for an empty name.
std::string Skin_TwinName(std::string_view fileName);

// The twin of picture, loaded from fileName: its @2x file beside it, read as Skin_LoadBitmap
// reads any picture. None where no screen has a pixel ratio of kSkinTwinRatio or more (the
// twin would never be drawn), when there is no picture, or when the file is missing,
// unreadable or not exactly twice the picture's size.
std::optional<QImage> Skin_LoadTwin(std::string_view rcDir, std::string_view fileName,
                                    const std::optional<QImage>& picture);
