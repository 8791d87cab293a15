#include "video/video_window.h"

#include <memory>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "context/app_context.h"
#include "core/settings.h"
#include "context/components.h"
#include "core/compositor.h"
#include "video/image_window.h"
#include "video/video_frame.h"

namespace {

constexpr const char* kSection = "Video";

std::string storedText(const char* key)
{
    return app().components.nestwell->getProfileString(kSection, key).value_or("");
}

}  // namespace

bool VideoWnd_Create(std::unique_ptr<VideoFrame>& video, const VideoHooks& hooks, std::string& why)
{
    if (video) {
        why = "the video window exists already";
        return false;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        why = "there is no screen to show the video window on";
        return false;
    }
    Settings_ReadFor(app().settings, SettingMoment::VideoWindow);
    const std::string title = app().settings.videoTitle;
    std::optional<VideoSkin> skin = VideoSkin_Load(why);
    if (!skin)
        return false;

    auto frame = std::make_unique<VideoFrame>(std::move(*skin), title, hooks, app().windows.main);
    const QRect area = screen->geometry();
    const Rect screenRect{area.x(), area.y(), area.x() + area.width(), area.y() + area.height()};
    // Where the compositor places windows only the stored size applies.
    const bool compositorPlaces = Compositor_PlacesWindows();
    frame->place(VideoWnd_InitialRect(storedText("Size"), compositorPlaces ? std::string() : storedText("Position"),
                                      screenRect));
    frame->show();
    frame->raise();
    app().windows.videoFrame = frame.get();
    app().windows.videoImage = &frame->image();
    video = std::move(frame);
    return true;
}

void VideoWnd_Destroy(std::unique_ptr<VideoFrame>& video)
{
    if (!video)
        return;
    // The last restored placement, also when the frame is full screen or minimised now.
    const VideoPlacement& placement = video->placement();
    // A position the compositor keeps to itself is not stored over the one of an X session.
    if (!Compositor_PlacesWindows())
        app().components.nestwell->setProfileString(kSection, "Position", VideoPlacement_PositionText(placement));
    app().components.nestwell->setProfileString(kSection, "Size", VideoPlacement_SizeText(placement));
    app().windows.videoFrame = nullptr;
    app().windows.videoImage = nullptr;
    video.reset();
}

void VideoWnd_SetTopmost(bool topmost)
{
    if (Window* frame = app().windows.videoFrame)
        frame->setTopmost(topmost);
}

void VideoWnd_SetTitle(std::string_view title)
{
    if (Window* frame = app().windows.videoFrame)
        frame->setTitle(std::string(title));
}

void SetStaysOnTop(QWidget& window, bool on)
{
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, on);
    if (flags == window.windowFlags())
        return;
    window.overrideWindowFlags(flags);
    if (QWindow* handle = window.windowHandle())
        handle->setFlags(flags);
}
