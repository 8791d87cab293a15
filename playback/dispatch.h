#pragma once

#include "core/command_id.h"

// Every button, key, multimedia key and timer repeat ends here. Answers true when the command
// exists for that phase and its action ran (whatever the action's own success), false when
// refused. A number from outside becomes a command through CommandIdFromNumber first.
bool DispatchCommand(CommandId command, CommandPhase phase);
