#include "core/sys_command.h"

#include "core/player_ids.h"
#include "core/window.h"

bool SysCommand_CloseToMain(Window* main, uint32_t command)
{
    if (command != sys_command::Close)
        return false;
    if (main)
        main->post({msg::Close, 0, 0});
    return true;
}
