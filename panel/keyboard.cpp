#include "panel/keyboard.h"

#include "context/app_context.h"

KeyMap& Keys_Shared()
{
    return app().keys;
}

intptr_t Keys_OnKeyDown(Window*, uint32_t, uintptr_t virtualKey, intptr_t)
{
    Keys_Shared().keyDown(static_cast<uint32_t>(virtualKey));
    return 0;
}

intptr_t Keys_OnKeyUp(Window*, uint32_t, uintptr_t virtualKey, intptr_t)
{
    Keys_Shared().keyUp(static_cast<uint32_t>(virtualKey));
    return 0;
}

intptr_t Keys_OnChar(Window*, uint32_t, uintptr_t code, intptr_t)
{
    Keys_Shared().character(static_cast<uint32_t>(code));
    return 0;
}
