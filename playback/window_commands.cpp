#include "playback/window_commands.h"

#include "app/app_context.h"
#include "app/main_window.h"
#include "app/settings.h"
#include "components/hublet.h"
#include "playback/command_id.h"
#include "playback/playback_hooks.h"
#include "video/sys_command.h"

namespace {
// The value of "Help File" is read into a buffer of this size, terminator included.
constexpr size_t kHelpFileBuffer = 128;
}  // namespace

void Minimize()
{
    Window* panel = app().windows.panel;
    if (panel && !panel->minimized())
        panel->post({msg::SysCommand, sys_command::Minimize, 0});
}

void Help()
{
    // Read at each Help, so that an edited configuration takes effect at once.
    const std::string document = ReadConfigText("Initiation", "Help File", kHelpFileBuffer);
    if (document.empty())
        return;
    Hublet_ExecuteCommand(0, app().settings.exeDir + document, 0, 1);
}

void Power()
{
    if (MainWindow* main = app().windows.main)
        main->post({msg::Close, 0, 0});
}

void ToggleVideoTopmost()
{
    Window* frame = app().windows.videoFrame;
    if (!frame)
        return;
    uint32_t& topmost = app().state.videoTopmost;
    topmost = !topmost;
    frame->setTopmost(topmost != 0);
    Panel_SetButtonChecked(command_id::VideoTopmost, topmost);
}

void ToggleVideoSize()
{
    if (Window* image = app().windows.videoImage)
        image->post({kLeftButtonDoubleClickMessage, 0, 0});
}
