#include "core/skin_twin.h"

#include <QPaintDevice>
#include <QPainter>

bool Skin_TwinsWanted(double devicePixelRatio)
{
    return devicePixelRatio >= kSkinTwinRatio;
}

bool Skin_IsTwin(const QImage& picture, const QImage& twin)
{
    return !picture.isNull() && twin.size() == picture.size() * 2;
}

void Skin_DrawPart(QPainter& target, QPoint to, const QImage& picture, const std::optional<QImage>& twin, QRect from)
{
    const QPaintDevice* device = target.device();
    if (twin && device && Skin_TwinsWanted(device->devicePixelRatioF()) && Skin_IsTwin(picture, *twin)) {
        const QRect fine(from.topLeft() * 2, from.size() * 2);
        target.drawImage(QRect(to, from.size()), *twin, fine);
        return;
    }
    target.drawImage(to, picture, from);
}
