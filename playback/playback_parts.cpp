#include "playback/playback_parts.h"

#include "app/main_window.h"
#include "disc/load_disc.h"
#include "playback/app_command.h"
#include "playback/dispatch.h"
#include "playback/play_files.h"
#include "playback/position_poll.h"

void AddPlaybackParts(MainWindowParts& parts)
{
    parts.dispatchCommand = DispatchCommand;
    parts.appCommandPost = AppCommand_Post;
    parts.appCommandRun = AppCommand_Run;
    parts.pollPosition = PollPosition;
    parts.loadDisc = LoadDisc;
    parts.playFiles = PlayFiles;
}
