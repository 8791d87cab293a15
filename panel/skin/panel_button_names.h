#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/command_id.h"

// A name a skin may give a button, and the command it binds.
struct PanelButtonName {
    std::string_view name;
    CommandId command;
};

// Every button name, in the order they are matched.
std::span<const PanelButtonName> PanelButtonNames();

// The command of the first row whose name equals the whole of name, without regard to case.
std::optional<CommandId> FindPanelButtonCommand(std::string_view name);
