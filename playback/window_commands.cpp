#include "playback/window_commands.h"

#include "context/app_context.h"
#include "core/player_ids.h"
#include "core/window.h"
#include "core/settings.h"
#include "context/components.h"
#include "core/command_id.h"
#include "context/playback_hooks.h"
#include "core/sys_command.h"

void Minimize()
{
    Window* panel = app().windows.panel;
    if (panel && !panel->minimized())
        panel->minimize();
}

void Help()
{
    // Read at each Help, so that an edited configuration takes effect at once.
    Settings_ReadFor(app().settings, SettingMoment::Help);
    const std::string& document = app().settings.helpFile;
    if (document.empty())
        return;
    app().components.hublet->executeCommand(app().settings.exeDir + document);
}

void Power()
{
    if (Window* main = app().windows.main)
        main->post({msg::Close, 0, 0});
}

void ToggleVideoTopmost()
{
    Window* frame = app().windows.videoFrame;
    if (!frame)
        return;
    bool& topmost = app().state.videoTopmost;
    topmost = !topmost;
    frame->setTopmost(topmost);
    Panel_SetButtonChecked(CommandId::VideoTopmost, topmost);
}

void ToggleVideoSize()
{
    if (Window* image = app().windows.videoImage)
        image->toggleVideoSize();
}
