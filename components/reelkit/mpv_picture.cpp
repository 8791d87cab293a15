#include "components/reelkit/mpv_picture.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPainter>

#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/render_gl.h>

#include <algorithm>
#include <utility>

void RenderContextDeleter::operator()(mpv_render_context* context) const
{
    mpv_render_context_free(context);
}

namespace {
// Rows padded to 64 bytes, as libmpv's software renderer asks for its fast path.
constexpr qsizetype kRowAlignment = 64;

// libmpv hands frames at most its timing offset (50 ms) before they are due; a longer wait
// would be a clock gone wrong, and is cut short rather than leave the picture standing.
constexpr int64_t kLongestWaitMs = 1000;

// In how many ms, rounded up, the frame libmpv has ready is due; 0 for one to show now: a
// redraw, one without a time (display-synced), or one already due.
int msUntilDue(mpv_render_context* render, mpv_handle* handle)
{
    mpv_render_frame_info info{};
    if (mpv_render_context_get_info(render, {MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info}) < 0)
        return 0;
    const bool timed = (info.flags & MPV_RENDER_FRAME_INFO_PRESENT) && !(info.flags & MPV_RENDER_FRAME_INFO_REDRAW) &&
                       info.target_time > 0;
    const int64_t earlyUs = timed ? info.target_time - mpv_get_time_us(handle) : 0;
    return earlyUs > 0 ? int(std::min((earlyUs + 999) / 1000, kLongestWaitMs)) : 0;
}

void preparePreciseTimer(QTimer& timer)
{
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
}

// Whether a timer still running has reached its time: the engine takes frames while it keeps
// the event loop from running, and with it the timer.
bool overdue(const QTimer& timer)
{
    return timer.isActive() && timer.remainingTime() == 0;
}
}  // namespace

// ---- software ----

SoftwarePicture::SoftwarePicture(QWidget* parent, mpv_handle* handle, PictureListener& listener)
    : QWidget(parent), handle_(handle), listener_(listener)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    preparePreciseTimer(showTimer_);
    connect(&showTimer_, &QTimer::timeout, this, &SoftwarePicture::showRendered);
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* context = nullptr;
    if (mpv_render_context_create(&context, handle, params) >= 0) {
        render_.reset(context);
        mpv_render_context_set_update_callback(context, &SoftwarePicture::updateNotice, this);
    }
}

SoftwarePicture::~SoftwarePicture()
{
    if (render_) {
        listener_.rendererLost();
        render_.reset();
    }
}

void SoftwarePicture::updateNotice(void* self)
{
    auto* picture = static_cast<SoftwarePicture*>(self);
    if (!picture->noticeQueued_.exchange(true))
        QMetaObject::invokeMethod(picture, &SoftwarePicture::takeFrame, Qt::QueuedConnection);
}

void SoftwarePicture::takeFrame()
{
    noticeQueued_ = false;
    if (overdue(showTimer_))
        showRendered();
    if (!render_ || !(mpv_render_context_update(render_.get()) & MPV_RENDER_UPDATE_FRAME))
        return;
    // libmpv hands a new frame only once the one before is due, so a frame still waiting
    // goes up now rather than be drawn over.
    if (showTimer_.isActive())
        showRendered();
    const int wait = msUntilDue(render_.get(), handle_);
    // Rendered even when hidden: libmpv waits for each frame to be taken before it shows
    // the next, and playback would stutter.
    if (!renderFrame())
        return;
    if (wait > 0)
        showTimer_.start(wait);
    else
        showRendered();
}

bool SoftwarePicture::Frame::fit(QSize size, qreal ratio)
{
    if (image.size() == size && image.devicePixelRatio() == ratio)
        return true;
    const qsizetype stride = (qsizetype(size.width()) * 4 + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    pixels.reset(static_cast<uchar*>(std::aligned_alloc(kRowAlignment, size_t(stride) * size.height())));
    if (!pixels) {
        image = QImage();
        return false;
    }
    image = QImage(pixels.get(), size.width(), size.height(), stride, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    return true;
}

namespace {
// libmpv leaves the fourth byte of "bgr0" at 0, while QImage::Format_RGB32 wants it 0xff: Qt
// copies it as alpha into a backing store that keeps one, as Wayland's does, and the
// compositor then blends the picture into what lies beneath it. Rows are whole 64-byte
// blocks, whose pixels the compiler does at once.
void makeOpaque(uchar* pixels, size_t bytes)
{
    constexpr size_t kBlock = kRowAlignment / sizeof(uint32_t);
    auto* pixel = reinterpret_cast<uint32_t*>(pixels);
    for (size_t i = 0, count = bytes / sizeof(uint32_t); i < count; i += kBlock)
        for (size_t j = 0; j < kBlock; ++j)
            pixel[i + j] |= 0xff000000u;
}
}  // namespace

bool SoftwarePicture::renderFrame()
{
    const qreal ratio = devicePixelRatioF();
    const QSize size = (QSizeF(this->size()) * ratio).toSize();
    if (!render_ || size.isEmpty() || !rendered_.fit(size, ratio))
        return false;
    int surface[2] = {size.width(), size.height()};
    int block = 0;  // the frame's time is kept by showTimer_
    size_t stride = size_t(rendered_.image.bytesPerLine());
    // QImage::Format_RGB32 lies in memory as blue, green, red, padding.
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_SW_SIZE, surface},
        {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char*>("bgr0")},
        {MPV_RENDER_PARAM_SW_STRIDE, &stride},
        {MPV_RENDER_PARAM_SW_POINTER, rendered_.pixels.get()},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    if (mpv_render_context_render(render_.get(), params) < 0)
        return false;
    makeOpaque(rendered_.pixels.get(), stride * size_t(size.height()));
    return true;
}

void SoftwarePicture::showRendered()
{
    showTimer_.stop();
    std::swap(shown_, rendered_);
    update();
}

void SoftwarePicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (shown_.image.isNull())
        painter.fillRect(rect(), Qt::black);
    else
        painter.drawImage(QPoint(0, 0), shown_.image);
}

void SoftwarePicture::resizeEvent(QResizeEvent*)
{
    // libmpv draws the last frame taken again at the new size; one still waiting for its
    // time goes up a little early.
    if (renderFrame())
        showRendered();
}

// ---- OpenGL ----

namespace {
void* glProcAddress(void*, const char* name)
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context ? reinterpret_cast<void*>(context->getProcAddress(name)) : nullptr;
}
}  // namespace

GlPicture::GlPicture(QWidget* parent, mpv_handle* handle, PictureListener& listener)
    : QOpenGLWidget(parent), handle_(handle), listener_(listener)
{
    preparePreciseTimer(drawTimer_);
    connect(&drawTimer_, &QTimer::timeout, this, &GlPicture::drawFrame);
}

GlPicture::~GlPicture()
{
    // QOpenGLWidget's own destructor still announces the context's end; this part is gone by then.
    if (context())
        disconnect(context(), nullptr, this, nullptr);
    makeCurrent();
    releaseRenderer();
    doneCurrent();
}

void GlPicture::initializeGL()
{
    mpv_opengl_init_params init{&glProcAddress, nullptr};
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char*>(MPV_RENDER_API_TYPE_OPENGL)},
        {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context* context = nullptr;
    if (mpv_render_context_create(&context, handle_, params) < 0)
        return;
    render_.reset(context);
    mpv_render_context_set_update_callback(context, &GlPicture::updateNotice, this);
    // Qt makes a new GL context when the widget moves to another top-level window or that
    // window is made anew; the render context has to go with the old one.
    connect(this->context(), &QOpenGLContext::aboutToBeDestroyed, this, &GlPicture::releaseRenderer,
            Qt::DirectConnection);
    listener_.rendererReady();
}

void GlPicture::releaseRenderer()
{
    if (!render_)
        return;
    listener_.rendererLost();
    render_.reset();
}

void GlPicture::updateNotice(void* self)
{
    auto* picture = static_cast<GlPicture*>(self);
    if (!picture->noticeQueued_.exchange(true))
        QMetaObject::invokeMethod(picture, &GlPicture::takeFrame, Qt::QueuedConnection);
}

void GlPicture::takeFrame()
{
    noticeQueued_ = false;
    if (overdue(drawTimer_))
        drawFrame();
    if (!render_ || !(mpv_render_context_update(render_.get()) & MPV_RENDER_UPDATE_FRAME))
        return;
    if (const int wait = msUntilDue(render_.get(), handle_); wait > 0)
        drawTimer_.start(wait);
    else
        drawFrame();
}

void GlPicture::drawFrame()
{
    drawTimer_.stop();
    if (isVisible()) {
        update();
        return;
    }
    // Hidden: still take the frame, or libmpv would wait for it.
    makeCurrent();
    paintGL();
    doneCurrent();
}

void GlPicture::paintGL()
{
    const qreal ratio = devicePixelRatioF();
    if (!render_) {
        context()->functions()->glClearColor(0, 0, 0, 1);
        context()->functions()->glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    mpv_opengl_fbo target{static_cast<int>(defaultFramebufferObject()), int(width() * ratio), int(height() * ratio), 0};
    int flip = 1;
    int block = 0;  // the frame's time is kept by drawTimer_
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_OPENGL_FBO, &target},
        {MPV_RENDER_PARAM_FLIP_Y, &flip},
        {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
        {MPV_RENDER_PARAM_INVALID, nullptr},
    };
    mpv_render_context_render(render_.get(), params);
}

namespace {
// A hardware OpenGL driver needs a GPU device node; without one there is no point in making a
// context, which for Mesa's CPU renderers loads LLVM and costs some 50 MB for the life of the
// process.
bool GpuDevicePresent()
{
    if (!QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*"), QStringLiteral("card*")},
                                                      QDir::System).isEmpty())
        return true;
    return QFileInfo::exists(QStringLiteral("/dev/nvidia0"));
}
}  // namespace

bool HardwareOpenGlAvailable()
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || !GpuDevicePresent())
        return false;
    QOpenGLContext context;
    if (!context.create())
        return false;
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return false;
    const auto* text = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    const QString renderer = QString::fromLatin1(text ? text : "").toLower();
    context.doneCurrent();
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "software rasterizer"})
        if (renderer.contains(QLatin1String(software)))
            return false;
    return !renderer.isEmpty();
}
