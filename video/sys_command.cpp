#include "video/sys_command.h"

#include "app/app_context.h"
#include "app/main_window.h"

bool SysCommand_CloseToMain(Window* /*window*/, uint32_t command)
{
    if (command != sys_command::Close)
        return false;
    if (MainWindow* main = app().windows.main)
        main->post({msg::Close, 0, 0});
    return true;
}
