#include "video/image_window.h"

#include <QApplication>
#include <QChildEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "core/app_windows.h"
#include "core/player_state.h"
#include "components/components.h"
#include "core/compositor.h"
#include "core/sys_command.h"
#include "video/video_frame.h"
#include "video/video_window.h"

namespace {

QWidget* makeEdgeLine(QWidget* parent)
{
    auto* line = new QWidget(parent);
    line->setObjectName("VideoEdgeLine");
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, Qt::black);
    line->setPalette(palette);
    line->hide();
    return line;
}

// The panel comes forward above the video, restored when minimised and activated. Above a
// topmost frame it needs the topmost band too, which it leaves again when it is deactivated.
void bringPanelForward(const VideoLinks& links)
{
    Window* panel = links.windows.panel;
    if (!panel)
        return;
    panel->setTopmost(links.state.videoTopmost);
    links.components.hublet->setWindowToForeground(panel);
}

}  // namespace

ImageWindow::ImageWindow(VideoFrame& frame, QColor background, std::optional<QImage> idleImage)
    : QWidget(&frame),
      frame_(frame),
      background_(background),
      idleImage_(std::move(idleImage)),
      timers_([](TimerId) {}),
      bottomEdge_(makeEdgeLine(this)),
      rightEdge_(makeEdgeLine(this))
{
    setObjectName("HalvexImageWnd");
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Its own arrow, or it would show the frame's sizing cursors.
    showCursor(Qt::ArrowCursor);
    // The pointer's moves show a menu's areas.
    setMouseTracking(true);
}

void ImageWindow::invalidate(const Rect& area)
{
    update(area.left, area.top, area.width(), area.height());
}

void ImageWindow::repaintNow()
{
    repaint();
}

void ImageWindow::invalidateAll()
{
    update();
}

bool ImageWindow::minimized() const
{
    return frame_.minimised();
}

void ImageWindow::setBusyCursor(bool on)
{
    busy_ = on;
    showCursor(press_ ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

void ImageWindow::showCursor(Qt::CursorShape shape)
{
    setCursor(busy_ ? Qt::WaitCursor : shape);
}

void ImageWindow::post(const Message& message)
{
    QMetaObject::invokeMethod(this, [this, message] { handle(message); }, Qt::QueuedConnection);
}

void ImageWindow::handle(const Message& message)
{
    if (message.id == video_msg::RButtonUp)
        rightButtonUp();
}

void ImageWindow::toggleVideoSize()
{
    QMetaObject::invokeMethod(this, [this] { doubleClick(); }, Qt::QueuedConnection);
}

bool ImageWindow::videoShown() const
{
    return findChild<QWidget*>(kReelkitPictureName, Qt::FindDirectChildrenOnly) != nullptr;
}

void ImageWindow::frameChanged()
{
    updateEdgeLines();
    if (videoShown())
        frame_.links().components.reelkit->resetImageSize();
    else
        update();
}

void ImageWindow::updateEdgeLines()
{
    const bool shown = frame_.maximised() && videoShown();
    bottomEdge_->setGeometry(0, height() - 1, width(), 1);
    rightEdge_->setGeometry(width() - 1, 0, 1, height());
    for (QWidget* line : {bottomEdge_, rightEdge_}) {
        line->setVisible(shown);
        if (shown)
            line->raise();
    }
}

void ImageWindow::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    // The picture passes the pointer's moves on to this window.
    if (event->added() && event->child()->isWidgetType())
        static_cast<QWidget*>(event->child())->setMouseTracking(true);
    // The engine names its picture after making it: look once it is done.
    if (event->added() || event->removed() || event->polished())
        QMetaObject::invokeMethod(
            this,
            [this] {
                updateEdgeLines();
                update();
            },
            Qt::QueuedConnection);
}

void ImageWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!videoShown() && idleImage_) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        // Stretched over the whole window, the aspect not kept.
        painter.drawImage(rect(), *idleImage_);
        return;
    }
    // Under a picture this never shows; it only keeps stale pixels away.
    painter.fillRect(event->rect(), background_);
}

void ImageWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || frame_.maximised())
        return QWidget::mousePressEvent(event);
    showCursor(Qt::SizeAllCursor);
    press_ = Press{event->globalPosition().toPoint(), frame_.pos()};
}

// Where the point lies on the picture, as shares of its width and height.
std::optional<QPointF> ImageWindow::areaAt(QPointF point) const
{
    PictureAreas* areas = frame_.hooks().areas;
    if (!areas || width() <= 0 || height() <= 0)
        return std::nullopt;
    const QPointF share(point.x() / width(), point.y() / height());
    return areas->hasAreaAt(share.x(), share.y()) ? std::optional(share) : std::nullopt;
}

void ImageWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (!press_ || !(event->buttons() & Qt::LeftButton)) {
        if (!press_)
            showCursor(areaAt(event->position()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return QWidget::mouseMoveEvent(event);
    }
    const QPoint moved = event->globalPosition().toPoint() - press_->origin;
    if (!press_->following) {
        // The move starts only once the pointer really moves, so a double click stays one.
        if (moved.manhattanLength() < QApplication::startDragDistance())
            return;
        // Where the compositor places windows its move is the only one.
        if ((frame_.windowHandle() && frame_.windowHandle()->startSystemMove()) || Compositor_PlacesWindows()) {
            press_.reset();
            showCursor(Qt::ArrowCursor);
            return;
        }
        press_->following = true;
    }
    frame_.move(press_->frameStart + moved);
}

void ImageWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        // A press that moved nothing is a click on the picture's area, if one is there.
        const bool click = press_ && !press_->following;
        press_.reset();
        const std::optional<QPointF> area = click ? areaAt(event->position()) : std::nullopt;
        if (area)
            frame_.hooks().areas->clickAt(area->x(), area->y());
        showCursor(area ? Qt::PointingHandCursor : Qt::ArrowCursor);
    } else if (event->button() == Qt::RightButton) {
        rightButtonUp();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void ImageWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseDoubleClickEvent(event);
    press_.reset();
    doubleClick();
}

void ImageWindow::doubleClick()
{
    const bool back = frame_.maximised() || frame_.minimised();
    frame_.post({msg::SysCommand, back ? sys_command::Restore : sys_command::Maximize, 0});
}

void ImageWindow::rightButtonUp()
{
    if (!frame_.minimised())
        bringPanelForward(frame_.links());
}

void ImageWindow::keyPressEvent(QKeyEvent* event)
{
    // Taken here either way: handed on, the frame would run the same keys a second time.
    VideoWnd_RouteKey(*this, frame_, *event);
}

void ImageWindow::keyReleaseEvent(QKeyEvent* event)
{
    VideoWnd_RouteKey(*this, frame_, *event);
}
