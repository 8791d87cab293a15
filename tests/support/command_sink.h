#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <utility>

#include "core/command_id.h"
#include "panel/keys/key_map.h"

// A command as the tests note it: its number and its phase's.
struct CommandEvent {
    int32_t command;
    int32_t phase;
    bool operator==(const CommandEvent&) const = default;
};

inline void PrintTo(const CommandEvent& e, std::ostream* os)
{
    *os << "(" << e.command << ", " << e.phase << ")";
}

// The phases' numbers, for tables of noted commands.
namespace phase_number {
constexpr int32_t P = CommandPhaseNumber(CommandPhase::Press);
constexpr int32_t R = CommandPhaseNumber(CommandPhase::Release);
constexpr int32_t C = CommandPhaseNumber(CommandPhase::Click);
}  // namespace phase_number

// The key map's commands, handed to a function of the test.
class CommandsTo : public CommandSink {
public:
    explicit CommandsTo(std::function<bool(CommandId command, CommandPhase phase)> take) : take_(std::move(take)) {}
    bool DispatchCommand(CommandId command, CommandPhase phase) override { return take_(command, phase); }

private:
    std::function<bool(CommandId command, CommandPhase phase)> take_;
};
