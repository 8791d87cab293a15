#pragma once

#include <optional>
#include <string>

#include <QMetaObject>
#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include "core/qt_timers.h"
#include "core/window.h"
#include "video/video_skin.h"
#include "video/video_window.h"
#include "video/video_values.h"

class ImageWindow;
class QScreen;

// The frameless top-level window that draws the skin's border around the image window.
// Maximised is full screen; restoring brings back the last restored placement.
class VideoFrame : public QWidget, public Window {
    Q_OBJECT
public:
    // A close goes to links.main.
    VideoFrame(VideoSkin skin, const std::string& title, const VideoLinks& links, VideoHooks hooks = {});
    ~VideoFrame() override;

    void post(const Message& message) override;
    TimerHost& timers() override { return timers_; }
    void invalidate(const Rect& area) override;
    void repaintNow() override;
    void invalidateAll() override;
    // An empty title brings back the base title ("AP Name").
    void setTitle(const std::string& title) override;
    // In place: the window keeps its id and its place.
    void setTopmost(bool on) override;
    bool minimized() const override { return minimised(); }
    void setBusyCursor(bool on) override;
    // A posted message once the loop takes it: the system commands.
    void handle(const Message& message);

    // The keyboard's routes in the frame and its image window.
    VideoHooks& hooks() { return hooks_; }
    Window* mainWindow() const { return links_.main; }
    const VideoLinks& links() const { return links_; }

    // Moves and sizes the frame while it is restored, as at its creation.
    void place(const Rect& rect);
    void maximise();
    void restore();

    bool minimised() const;
    bool maximised() const;
    const VideoPlacement& placement() const { return placement_; }
    ImageWindow& image() { return *image_; }
    const BorderSizes& borderSizes() const { return skin_.sizes; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void layoutImage();
    void noteNormalPlacement();
    void compose();
    void showCursorAt(QPoint point);
    // The bounds of the user's sizing: the border's corners, and the primary screen as it is now.
    Size minimumTrackSize() const;
    Size maximumTrackSize() const;
    void followScreen(QScreen* screen);
    void hintTrackLimits();
    void showCursor(Qt::CursorShape shape);

    // Sizing by hand, where no window manager runs the sizing loop.
    struct Sizing {
        int edges = 0;
        Rect start;
        QPoint origin;  // global pointer position at the press
    };

    VideoSkin skin_;
    VideoLinks links_;
    VideoHooks hooks_;
    std::string baseTitle_;
    bool busy_ = false;
    QtTimers timers_;
    VideoPlacement placement_;
    ImageWindow* image_;  // child, owned by Qt
    QPixmap composed_;    // the border at the current size and pixel ratio
    std::optional<Sizing> sizing_;
    QMetaObject::Connection screenGeometry_;
};

// The border's composition and the frame's keys are shared with the image window.
bool VideoWnd_RouteKey(Window& target, VideoFrame& frame, QKeyEvent& event);
