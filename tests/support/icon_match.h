#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

// Whether the icon draws the picture of that resource, pixel for pixel, at the picture's size.
inline bool DrawsPicture(const QIcon& icon, const QString& resource)
{
    const QImage wanted = QImage(resource).convertToFormat(QImage::Format_ARGB32);
    return !wanted.isNull() && icon.pixmap(wanted.size()).toImage().convertToFormat(QImage::Format_ARGB32) == wanted;
}
