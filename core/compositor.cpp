#include "core/compositor.h"

#include <QGuiApplication>

bool Compositor_PlacesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
