#include "panel/keyboard.h"

intptr_t Keys_OnKeyDown(KeyMap& keys, Window*, uint32_t, uintptr_t virtualKey, intptr_t)
{
    keys.keyDown(static_cast<uint32_t>(virtualKey));
    return 0;
}

intptr_t Keys_OnKeyUp(KeyMap& keys, Window*, uint32_t, uintptr_t virtualKey, intptr_t)
{
    keys.keyUp(static_cast<uint32_t>(virtualKey));
    return 0;
}

intptr_t Keys_OnChar(KeyMap& keys, Window*, uint32_t, uintptr_t code, intptr_t)
{
    keys.character(static_cast<uint32_t>(code));
    return 0;
}
