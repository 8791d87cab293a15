#pragma once

#include <cstdint>

// Every button, key, multimedia key and timer repeat ends here. Answers 1 when the command
// exists for that phase and its action ran (whatever the action's own success), 0 when refused.
uint32_t DispatchCommand(int32_t command, int32_t phase);
