#include "app/desktop_parts.h"

#include <memory>

#include "app/app_context.h"
#include "components/hublet/hublet_desktop.h"
#include "components/nestwell/nestwell_file.h"
#include "disc/load_disc.h"
#include "disc/play_list.h"
#include "playback/app_command.h"
#include "playback/dispatch.h"
#include "playback/play_files.h"
#include "playback/position_poll.h"
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
    parts.dispatchCommand = DispatchCommand;
    parts.appCommandPost = AppCommand_Post;
    parts.appCommandRun = AppCommand_Run;
    parts.pollPosition = PollPosition;
    parts.loadDisc = LoadDisc;
    parts.playFiles = PlayFiles;
    return parts;
}
