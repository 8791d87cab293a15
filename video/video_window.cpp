#include "video/video_window.h"

#include <memory>

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "components/components.h"
#include "core/app_windows.h"
#include "core/player_settings.h"
#include "core/settings.h"
#include "core/compositor.h"
#include "video/image_window.h"
#include "video/video_frame.h"

namespace {

constexpr const char* kSection = "Video";

std::string storedText(NestwellStore& store, const char* key)
{
    return store.getProfileString(kSection, key).value_or("");
}

}  // namespace

bool VideoWnd_Create(std::unique_ptr<VideoFrame>& video, const VideoLinks& links, const VideoHooks& hooks,
                     std::string& why)
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
    Settings_ReadFor(links.settings, SettingMoment::VideoWindow);
    const std::string title = links.settings.videoTitle;
    std::optional<VideoSkin> skin = VideoSkin_Load({links.settings.cfgPath, links.settings.rcDir}, why);
    if (!skin)
        return false;

    auto frame = std::make_unique<VideoFrame>(std::move(*skin), title, links, hooks);
    const QRect area = screen->geometry();
    const Rect screenRect{area.x(), area.y(), area.x() + area.width(), area.y() + area.height()};
    // Where the compositor places windows only the stored size applies.
    const bool compositorPlaces = Compositor_PlacesWindows();
    NestwellStore& store = *links.components.nestwell;
    frame->place(VideoWnd_InitialRect(storedText(store, "Size"),
                                      compositorPlaces ? std::string() : storedText(store, "Position"), screenRect));
    frame->show();
    frame->raise();
    links.windows.videoFrame = frame.get();
    links.windows.videoImage = &frame->image();
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
    const VideoLinks& links = video->links();
    NestwellStore& store = *links.components.nestwell;
    if (!Compositor_PlacesWindows())
        store.setProfileString(kSection, "Position", VideoPlacement_PositionText(placement));
    store.setProfileString(kSection, "Size", VideoPlacement_SizeText(placement));
    links.windows.videoFrame = nullptr;
    links.windows.videoImage = nullptr;
    video.reset();
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
