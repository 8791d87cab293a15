#pragma once

#include <functional>
#include <utility>

#include "panel/keys/key_map.h"

// The key map's commands, handed to a function of the test.
class CommandsTo : public CommandSink {
public:
    explicit CommandsTo(std::function<bool(CommandId command, CommandPhase phase)> take) : take_(std::move(take)) {}
    bool DispatchCommand(CommandId command, CommandPhase phase) override { return take_(command, phase); }

private:
    std::function<bool(CommandId command, CommandPhase phase)> take_;
};
