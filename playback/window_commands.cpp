#include "playback/playback.h"

#include "core/app_windows.h"
#include "core/player_settings.h"
#include "core/player_state.h"

#include "core/player_ids.h"
#include "core/window.h"
#include "core/settings.h"
#include "components/components.h"
#include "core/command_id.h"
#include "core/sys_command.h"

void Playback::Minimize()
{
    Window* panel = windows_.panel;
    if (panel && !panel->minimized())
        panel->minimize();
}

void Playback::Help()
{
    // Read at each Help, so that an edited configuration takes effect at once.
    Settings_ReadFor(settings_, SettingMoment::Help);
    const std::string& document = settings_.helpFile;
    if (document.empty())
        return;
    components_.hublet->executeCommand(settings_.exeDir + document);
}

void Playback::Power()
{
    if (Window* main = windows_.main)
        main->post({msg::Close, 0, 0});
}

void Playback::ToggleVideoTopmost()
{
    Window* frame = windows_.videoFrame;
    if (!frame)
        return;
    bool& topmost = state_.videoTopmost;
    topmost = !topmost;
    frame->setTopmost(topmost);
    if (panel_)
        panel_->setButtonChecked(CommandId::VideoTopmost, topmost);
}

void Playback::ToggleVideoSize()
{
    if (Window* image = windows_.videoImage)
        image->toggleVideoSize();
}
