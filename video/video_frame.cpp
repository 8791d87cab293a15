#include "video/video_frame.h"

#include <array>

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include "core/app_icons.h"
#include "core/skin_twin.h"
#include "video/image_window.h"
#include "core/sys_command.h"
#include "video/video_window.h"

namespace {

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

Rect toRect(const QRect& r)
{
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

Qt::Edges toQtEdges(int edges)
{
    Qt::Edges out;
    out.setFlag(Qt::LeftEdge, edges & edge::Left);
    out.setFlag(Qt::TopEdge, edges & edge::Top);
    out.setFlag(Qt::RightEdge, edges & edge::Right);
    out.setFlag(Qt::BottomEdge, edges & edge::Bottom);
    return out;
}

// Assistive technologies see the frame as a window, named by its title (the open track's path).
QAccessibleInterface* frameAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("VideoFrame") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

constexpr std::array<Qt::CursorShape, 4> kSizeCursors = {
    Qt::SizeFDiagCursor,  // DiagonalDown
    Qt::SizeVerCursor,    // Vertical
    Qt::SizeBDiagCursor,  // DiagonalUp
    Qt::SizeHorCursor,    // Horizontal
};

}  // namespace

VideoFrame::VideoFrame(VideoSkin skin, const std::string& title, const VideoLinks& links, VideoHooks hooks)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      skin_(std::move(skin)),
      links_(links),
      hooks_(std::move(hooks)),
      baseTitle_(title),
      timers_([](TimerId) {})
{
    setObjectName("HalvexVideoWnd");
    static const bool accessible = (QAccessible::installFactory(frameAccessible), true);
    (void)accessible;
    setWindowTitle(QString::fromStdString(title));
    // Every pixel is drawn by the border or covered by the image window: nothing to erase.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    // Also what is dropped on the image window and the engine's picture: neither takes drops,
    // so Qt hands them to the frame.
    setAcceptDrops(hooks_.drops != nullptr);
    setWindowIcon(VideoIcon());
    // The sizing limits bound the user's sizing only. As the widget's own limits Qt would
    // apply them to every placement too, and cut a stored size larger than the screen.
    connect(qApp, &QGuiApplication::primaryScreenChanged, this, &VideoFrame::followScreen);
    followScreen(QGuiApplication::primaryScreen());

    const uint32_t c = skin_.imageBackground;
    // The idle picture is stretched over the image window: its twin, where loaded, only
    // gives it finer pixels.
    image_ = new ImageWindow(*this, QColor(int(c & 0xFF), int(c >> 8 & 0xFF), int(c >> 16 & 0xFF)),
                             std::move(skin_.idleImage2x ? skin_.idleImage2x : skin_.idleImage));
    skin_.idleImage.reset();
    skin_.idleImage2x.reset();
}

VideoFrame::~VideoFrame() = default;

void VideoFrame::post(const Message& message)
{
    QMetaObject::invokeMethod(this, [this, message] { handle(message); }, Qt::QueuedConnection);
}

bool VideoFrame::event(QEvent* event)
{
    return FileDrop_Event(*this, *event, hooks_.drops) || QWidget::event(event);
}

void VideoFrame::invalidate(const Rect& area)
{
    update(toQRect(area));
}

void VideoFrame::repaintNow()
{
    repaint();
}

void VideoFrame::invalidateAll()
{
    update();
}

void VideoFrame::setTitle(const std::string& title)
{
    setWindowTitle(QString::fromStdString(title.empty() ? baseTitle_ : title));
}

void VideoFrame::setTopmost(bool on)
{
    SetStaysOnTop(*this, on);
}

void VideoFrame::setBusyCursor(bool on)
{
    busy_ = on;
    if (on)
        setCursor(Qt::WaitCursor);
    else
        showCursorAt(mapFromGlobal(QCursor::pos()));
    image_->setBusyCursor(on);
}

void VideoFrame::showCursor(Qt::CursorShape shape)
{
    setCursor(busy_ ? Qt::WaitCursor : shape);
}

void VideoFrame::handle(const Message& message)
{
    if (message.id != msg::SysCommand)
        return;
    // The low four bits of a system command are the system's own.
    const uint32_t command = static_cast<uint32_t>(message.wParam) & 0xFFF0;
    if (SysCommand_CloseToMain(links_.main, command))
        return;
    switch (command) {
    case sys_command::Maximize:
        maximise();
        break;
    case sys_command::Restore:
        restore();
        break;
    case sys_command::Minimize:
        showMinimized();
        break;
    default:
        break;
    }
}

void VideoFrame::place(const Rect& rect)
{
    setGeometry(toQRect(rect));
    placement_.normalRect = toRect(geometry());
}

bool VideoFrame::minimised() const
{
    return windowState() & Qt::WindowMinimized;
}

bool VideoFrame::maximised() const
{
    // A desktop's own maximise counts too, until it is turned into full screen.
    return !minimised() && (windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized));
}

void VideoFrame::maximise()
{
    sizing_.reset();
    showFullScreen();
    // Without a window manager the full-screen request alone moves nothing. Through the
    // window, not the widget: a widget's own setGeometry would drop the full-screen state.
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary && windowHandle())
        windowHandle()->setGeometry(primary->geometry());
}

void VideoFrame::restore()
{
    if (minimised()) {
        // Back to what it was before, full screen included.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        return;
    }
    const Rect normal = placement_.normalRect;
    showNormal();
    if (!normal.isEmpty())
        setGeometry(toQRect(normal));
}

Size VideoFrame::minimumTrackSize() const
{
    return skin_.minTrackSize;
}

Size VideoFrame::maximumTrackSize() const
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    // The minimum wins on a screen smaller than the border's corners.
    return {std::max(primary->geometry().width(), skin_.minTrackSize.width),
            std::max(primary->geometry().height(), skin_.minTrackSize.height)};
}

void VideoFrame::followScreen(QScreen* screen)
{
    disconnect(screenGeometry_);
    if (screen)
        screenGeometry_ = connect(screen, &QScreen::geometryChanged, this, &VideoFrame::hintTrackLimits);
    hintTrackLimits();
}

void VideoFrame::hintTrackLimits()
{
    // On the window, not the widget: a window manager's sizing keeps to them, a placement does not.
    QWindow* window = windowHandle();
    if (!window)
        return;
    const Size smallest = minimumTrackSize();
    const Size largest = maximumTrackSize();
    window->setMinimumSize(QSize(smallest.width, smallest.height));
    window->setMaximumSize(QSize(largest.width, largest.height));
}

void VideoFrame::noteNormalPlacement()
{
    if (!minimised() && !maximised())
        placement_.normalRect = toRect(geometry());
}

void VideoFrame::layoutImage()
{
    if (minimised())
        return;
    const Rect r = VideoWnd_ImageRect(skin_.sizes, width(), height(), maximised());
    image_->setGeometry(r.left, r.top, std::max(0, r.width()), std::max(0, r.height()));
    image_->frameChanged();
}

void VideoFrame::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The window exists from here on, before it is mapped.
    hintTrackLimits();
}

void VideoFrame::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    noteNormalPlacement();
    layoutImage();
}

void VideoFrame::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    noteNormalPlacement();
}

void VideoFrame::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (windowState() & Qt::WindowMaximized)
        post({msg::SysCommand, sys_command::Maximize, 0});  // the desktop's maximise stops at its panels
    if (maximised())
        showCursor(Qt::ArrowCursor);
    // The size may not change (a restored frame as big as the screen) while the inset does.
    layoutImage();
    update();
}

void VideoFrame::compose()
{
    const qreal ratio = devicePixelRatioF();
    composed_ = QPixmap(size() * ratio);
    composed_.setDevicePixelRatio(ratio);
    composed_.fill(Qt::black);
    QPainter painter(&composed_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, ratio != 1.0);
    for (const BorderTile& tile : VideoWnd_PaintPlan(skin_.sizes, width(), height())) {
        const auto part = static_cast<size_t>(tile.part);
        Skin_DrawPart(painter, QPoint(tile.x, tile.y), skin_.borders[part], skin_.borders2x[part],
                      skin_.borders[part].rect());
    }
}

void VideoFrame::paintEvent(QPaintEvent*)
{
    if (maximised())
        return;
    const qreal ratio = devicePixelRatioF();
    if (composed_.size() != size() * ratio || composed_.devicePixelRatio() != ratio)
        compose();
    // Only the border goes to the screen; the image window covers the centre.
    QPainter painter(this);
    for (int part = 0; part < kBorderPartCount; ++part) {
        const QRect target = toQRect(*VideoWnd_BorderRect(skin_.sizes, width(), height(), part));
        if (!target.isEmpty())
            painter.drawPixmap(target, composed_,
                               QRectF(QPointF(target.topLeft()) * ratio, QSizeF(target.size()) * ratio));
    }
}

void VideoFrame::closeEvent(QCloseEvent* event)
{
    // The window manager's close (its menu, Alt+F4) closes the player, not just this window.
    event->ignore();
    SysCommand_CloseToMain(links_.main, sys_command::Close);
}

void VideoFrame::showCursorAt(QPoint point)
{
    const std::optional<BorderPart> part =
        maximised() ? std::nullopt : VideoWnd_HitTest(skin_.sizes, width(), height(), point.x(), point.y());
    showCursor(part ? kSizeCursors[static_cast<size_t>(BorderPart_Cursor(*part))] : Qt::ArrowCursor);
}

void VideoFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || maximised())
        return QWidget::mousePressEvent(event);
    const QPoint point = event->position().toPoint();
    const std::optional<BorderPart> part = VideoWnd_HitTest(skin_.sizes, width(), height(), point.x(), point.y());
    if (!part)
        return;
    showCursorAt(point);
    const int edges = BorderPart_Edges(*part);
    if (windowHandle() && windowHandle()->startSystemResize(toQtEdges(edges)))
        return;
    sizing_ = Sizing{edges, toRect(geometry()), event->globalPosition().toPoint()};
}

void VideoFrame::mouseMoveEvent(QMouseEvent* event)
{
    if (!sizing_) {
        showCursorAt(event->position().toPoint());
        return;
    }
    const QPoint moved = event->globalPosition().toPoint() - sizing_->origin;
    const Rect target = VideoWnd_SizeRect(sizing_->start, sizing_->edges, moved.x(), moved.y(), minimumTrackSize(),
                                          maximumTrackSize());
    setGeometry(toQRect(target));
}

void VideoFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        sizing_.reset();
    showCursorAt(event->position().toPoint());
}

void VideoFrame::keyPressEvent(QKeyEvent* event)
{
    if (!VideoWnd_RouteKey(*this, *this, *event))
        QWidget::keyPressEvent(event);
}

void VideoFrame::keyReleaseEvent(QKeyEvent* event)
{
    if (!VideoWnd_RouteKey(*this, *this, *event))
        QWidget::keyReleaseEvent(event);
}

bool VideoWnd_RouteKey(Window& target, VideoFrame& frame, QKeyEvent& event)
{
    // Alt+F4 reaches the window only where no window manager takes it first.
    if (event.type() == QEvent::KeyPress && event.key() == Qt::Key_F4 &&
        (event.modifiers() & Qt::AltModifier))
        return SysCommand_CloseToMain(frame.mainWindow(), sys_command::Close);
    VideoKeys* keys = frame.hooks().keys;
    if (!keys)
        return false;
    return keys->appCommand(frame, event) || keys->key(target, event);
}
