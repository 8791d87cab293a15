#pragma once

#include <optional>

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QPointF>
#include <QWidget>

#include "core/qt_timers.h"
#include "core/window.h"

class VideoFrame;

// The child of the frame that the media engine shows the picture in. Idle, it shows the idle
// picture stretched over it or the background colour. It carries the frame's gestures: drag
// to move, double click to switch full screen, right-button release to bring up the panel.
class ImageWindow : public QWidget, public Window {
    Q_OBJECT
public:
    ImageWindow(VideoFrame& frame, QColor background, std::optional<QImage> idleImage);

    void post(const Message& message) override;
    TimerHost& timers() override { return timers_; }
    void invalidate(const Rect& area) override;
    void repaintNow() override;
    // The idle picture or the colour comes back once the engine's picture is gone.
    void invalidateAll() override;
    bool minimized() const override;
    void toggleVideoSize() override;
    void setBusyCursor(bool on) override;
    // A posted message once the loop takes it: the right button let go.
    void handle(const Message& message);

    // Whether the engine's picture is in it.
    bool videoShown() const;
    // The frame moved it or changed its state.
    void frameChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void childEvent(QChildEvent* event) override;

private:
    void doubleClick();
    void rightButtonUp();
    void updateEdgeLines();
    void showCursor(Qt::CursorShape shape);
    // The point's place on the picture when an area of the picture holds it.
    std::optional<QPointF> areaAt(QPointF point) const;

    // A press on the picture that may become a move of the frame.
    struct Press {
        QPoint origin;      // global pointer position at the press
        QPoint frameStart;  // the frame's position then
        bool following = false;  // moving the frame by hand, without a window manager
    };

    VideoFrame& frame_;
    QColor background_;
    std::optional<QImage> idleImage_;
    QtTimers timers_;
    std::optional<Press> press_;
    bool busy_ = false;
    // The screen's bottom row and right column, black over a full-screen picture.
    QWidget* bottomEdge_;
    QWidget* rightEdge_;
};
