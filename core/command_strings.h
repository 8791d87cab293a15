#pragma once

#include <string_view>

#include "core/command_id.h"

// The program's string table: the tooltip text of each command, keyed by the command's number.
// Empty for a value that names no command.
std::string_view CommandTooltip(CommandId id);
