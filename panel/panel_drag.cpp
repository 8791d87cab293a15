#include "panel/panel_drag.h"

#include <QWidget>
#include <QWindow>

#include "core/compositor.h"

void PanelDrag::begin(QWidget& window, QPoint pointer)
{
    follow_.reset();
    if (QWindow* handle = window.windowHandle(); handle && handle->startSystemMove())
        return;
    // A window cannot move itself where the compositor places windows.
    if (!Compositor_PlacesWindows())
        follow_ = Follow{pointer, window.pos()};
}

void PanelDrag::follow(QWidget& window, QPoint pointer) const
{
    if (follow_)
        window.move(follow_->windowStart + (pointer - follow_->origin));
}
