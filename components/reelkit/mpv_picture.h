#pragma once

#include <QImage>
#include <QOpenGLWidget>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <cstdlib>
#include <memory>

struct mpv_handle;
struct mpv_render_context;

// Frees a render context; an OpenGL one needs its GL context current.
struct RenderContextDeleter {
    void operator()(mpv_render_context* context) const;
};
using RenderContextPtr = std::unique_ptr<mpv_render_context, RenderContextDeleter>;

// What a picture tells its engine. rendererLost comes before the render context goes, so
// that the engine can let go of the video output first (libmpv would otherwise drop the
// video track, and end a file that has no sound); rendererReady each time a render context
// has been made after the picture's construction (an OpenGL one waits for the first show).
class PictureListener {
public:
    virtual void rendererLost() = 0;
    virtual void rendererReady() = 0;

protected:
    ~PictureListener() = default;
};

// The widget libmpv draws the video into.
//
// libmpv hands each frame some time before it is due; neither picture waits inside libmpv
// for that time, which would hold the GUI thread for most of every frame. A single-shot
// timer brings the frame to the screen when it is due instead.
class MpvPicture {
public:
    virtual ~MpvPicture() = default;
    virtual QWidget* widget() = 0;
    virtual bool hasRenderer() const = 0;
};

// libmpv's software renderer into a QImage painted with QPainter: the cheapest way where
// OpenGL is emulated on the CPU, and the only one where there is no OpenGL at all. A frame is
// rendered as soon as libmpv has it, into an image of its own, and shown when due.
class SoftwarePicture : public QWidget, public MpvPicture {
    Q_OBJECT
public:
    SoftwarePicture(QWidget* parent, mpv_handle* handle, PictureListener& listener);
    ~SoftwarePicture() override;

    QWidget* widget() override { return this; }
    bool hasRenderer() const override { return render_ != nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct FreeDeleter {
        void operator()(void* p) const { std::free(p); }
    };
    struct Frame {
        std::unique_ptr<uchar, FreeDeleter> pixels;  // 64-byte aligned rows, as libmpv's fast path wants
        QImage image;                                // a view of pixels
        bool fit(QSize size, qreal ratio);
    };
    static void updateNotice(void* self);
    // Takes a frame libmpv has ready, if any, without waiting for its time.
    void takeFrame();
    bool renderFrame();
    void showRendered();

    mpv_handle* handle_;
    PictureListener& listener_;
    RenderContextPtr render_;
    std::atomic<bool> noticeQueued_{false};
    Frame shown_;        // what paintEvent paints
    Frame rendered_;     // the frame taken last, until it is due
    QTimer showTimer_;   // runs while rendered_ waits for its time
};

// libmpv's OpenGL renderer inside a QOpenGLWidget, for hardware OpenGL drivers. A frame is
// rendered when due: with graphics hardware the render call costs the GUI thread little.
class GlPicture : public QOpenGLWidget, public MpvPicture {
    Q_OBJECT
public:
    GlPicture(QWidget* parent, mpv_handle* handle, PictureListener& listener);
    ~GlPicture() override;

    QWidget* widget() override { return this; }
    bool hasRenderer() const override { return render_ != nullptr; }

protected:
    void initializeGL() override;
    void paintGL() override;

private:
    static void updateNotice(void* self);
    void takeFrame();
    void releaseRenderer();
    void drawFrame();

    mpv_handle* handle_;
    PictureListener& listener_;
    RenderContextPtr render_;
    std::atomic<bool> noticeQueued_{false};
    QTimer drawTimer_;  // runs while a frame libmpv has ready waits for its time
};

// Whether OpenGL here runs on graphics hardware: false on the offscreen platform, without a
// GPU device node, when no context can be made, and for Mesa's CPU renderers (llvmpipe,
// softpipe, swrast).
bool HardwareOpenGlAvailable();
