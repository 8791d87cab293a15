#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// A name a skin may give a button, and the command it binds.
struct PanelButtonName {
    std::string_view name;
    uint32_t command;
};

// Every button name, in the order they are matched.
std::span<const PanelButtonName> PanelButtonNames();

// The command of the first row whose name equals the whole of name, without regard to case.
std::optional<uint32_t> FindPanelButtonCommand(std::string_view name);
