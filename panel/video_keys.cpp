#include "panel/video_keys.h"

#include "panel/qt_keys.h"
#include "video/video_window.h"

void PanelKeys_PlugIntoVideo()
{
    VideoHooks& hooks = VideoWnd_Hooks();
    hooks.key = [](Window& target, QKeyEvent& event) { return QtKey_Route(target, event); };
    hooks.appCommand = [](Window& frame, QKeyEvent& event) { return QtKey_RouteAppCommand(frame, event); };
}
