#include "context/sys_command.h"

#include "context/app_context.h"
#include "core/player_ids.h"
#include "core/window.h"

bool SysCommand_CloseToMain(Window* /*window*/, uint32_t command)
{
    if (command != sys_command::Close)
        return false;
    if (Window* main = app().windows.main)
        main->post({msg::Close, 0, 0});
    return true;
}
