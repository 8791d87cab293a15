#include <memory>

#include "audio/audio.h"
#include "context/app_context.h"
#include "playback/app_command.h"
#include "playback/disc_menu.h"
#include "playback/playback.h"
#include "playback/panel_busy.h"
#include "playback/transport.h"

Playback& AppPlayback()
{
    AppContext& context = app();
    if (!context.playback)
        context.playback = std::make_shared<Playback>(context.components, context.settings, context.state,
                                                      context.windows, context.drives, context.playList,
                                                      context.turns, AppAudio());
    return *context.playback;
}

bool Panel_BeginBusyCursor()
{
    PanelFeedback* panel = AppPlayback().panel();
    return panel && panel->beginBusyCursor();
}

bool Panel_EndBusyCursor()
{
    PanelFeedback* panel = AppPlayback().panel();
    return panel && panel->endBusyCursor();
}

