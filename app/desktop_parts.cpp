#include "app/desktop_parts.h"

#include <memory>

#include "app/app_context.h"
#include "components/hublet/hublet_desktop.h"
#include "components/nestwell/nestwell_file.h"
#include "disc/play_list.h"
#include "video/video_window.h"

void InstallDesktopComponents()
{
    Components& components = app().components;
    components.nestwell = std::make_unique<NestwellFile>();
    components.hublet = std::make_unique<HubletQtDesktop>();
}

MainWindowParts DesktopParts()
{
    MainWindowParts parts;
    parts.createVideoFrame = VideoWnd_Create;
    parts.destroyVideoFrame = VideoWnd_Destroy;
    parts.createPlayList = [](std::string&) { return PlayList_Create(); };
    return parts;
}
