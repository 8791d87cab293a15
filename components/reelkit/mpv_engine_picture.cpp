// The engine's picture: the widget libmpv renders into, kept across files where it can be, and
// the video output that follows it.
#include "components/reelkit/mpv_engine.h"

#include <QWidget>

#include <mpv/client.h>

#include "components/reelkit/mpv_picture.h"
#include "components/reelkit/mpv_properties.h"

void MpvEngine::useVideoOutput(bool rendered)
{
    if (!handle_ || rendered == outputRendered_)
        return;
    outputRendered_ = rendered;
    const char* output = rendered ? mpvname::VideoOutputRenderApi : mpvname::VideoOutputNone;
    mpv_set_property_async(handle_.get(), 0, mpvname::VideoOutput, MPV_FORMAT_STRING, &output);
}

bool MpvEngine::showPicture(QWidget* parent)
{
    // A software picture lives as long as the engine, so that a track change neither makes
    // nor frees a render context; an OpenGL one belongs to its window's GL context.
    if (picture_ && !pictureIsOpenGl()) {
        if (picture_->parentWidget() != parent)
            picture_->setParent(parent);
        picture_->setGeometry(parent->rect());
        picture_->show();
        useVideoOutput(true);
        return true;
    }
    removePicture();
    return makePicture(parent);
}

void MpvEngine::hidePicture()
{
    if (!picture_ || pictureIsOpenGl()) {
        removePicture();
        return;
    }
    // Out of the image window, which then shows its idle picture; libmpv keeps its output.
    picture_->hide();
    picture_->setParent(nullptr);
}

// The render context may go only once libmpv has let go of the output: that one waits.
void MpvEngine::rendererLost()
{
    outputRendered_ = false;
    if (handle_)
        mpv_set_property_string(handle_.get(), mpvname::VideoOutput, mpvname::VideoOutputNone);
}

void MpvEngine::rendererReady()
{
    useVideoOutput(true);
}

bool MpvEngine::makePicture(QWidget* parent)
{
    PictureListener& listener = *this;
    MpvPicture* made = nullptr;
    if (useOpenGl_) {
        auto* gl = new GlPicture(parent, handle_.get(), listener);
        made = gl;
    } else {
        auto* software = new SoftwarePicture(parent, handle_.get(), listener);
        if (!software->hasRenderer()) {
            delete software;
            return false;
        }
        made = software;
    }
    QWidget* widget = made->widget();
    widget->setObjectName(QLatin1String(kReelkitPictureName));
    widget->setGeometry(parent->rect());
    widget->show();
    picture_ = widget;
    // An OpenGL picture gets its render context when first shown, and says so then.
    const bool ready = made->hasRenderer();
    const char* decoding = useOpenGl_ ? mpvname::HardwareDecodingAuto : mpvname::HardwareDecodingOff;
    mpv_set_property_async(handle_.get(), 0, mpvname::HardwareDecoding, MPV_FORMAT_STRING, &decoding);
    useVideoOutput(ready);
    return true;
}

void MpvEngine::removePicture()
{
    // Deleting the picture frees its render context; its hook lets go of the output first.
    delete picture_.data();
    picture_.clear();
}
