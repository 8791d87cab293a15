#pragma once

#include <optional>

#include <QImage>
#include <QPoint>
#include <QRect>

class QPainter;

// A skin picture may have a twin drawn at twice its size (name@2x.bmp beside name.bmp) for
// dense screens. Positions, sizes, outlines and hit tests stay in the 1x picture's pixels; the
// twin only gives finer pixels where the target has them.

// The pixel ratio from which the twins are used.
inline constexpr double kSkinTwinRatio = 1.5;

bool Skin_TwinsWanted(double devicePixelRatio);

// Whether twin is a twin of picture: exactly twice its width and height.
bool Skin_IsTwin(const QImage& picture, const QImage& twin);

// Copies the part from (in the picture's pixels) of picture to to (in skin pixels) on target;
// from the twin, at the same place and size, when the target has a pixel ratio of
// kSkinTwinRatio or more and the twin exists.
void Skin_DrawPart(QPainter& target, QPoint to, const QImage& picture, const std::optional<QImage>& twin, QRect from);
