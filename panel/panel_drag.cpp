#include "panel/panel_drag.h"

#include <QWidget>
#include <QWindow>

void PanelDrag::begin(QWidget& window, QPoint pointer)
{
    follow_.reset();
    if (QWindow* handle = window.windowHandle(); handle && handle->startSystemMove())
        return;
    follow_ = Follow{pointer, window.pos()};
}

void PanelDrag::follow(QWidget& window, QPoint pointer) const
{
    if (follow_)
        window.move(follow_->windowStart + (pointer - follow_->origin));
}
