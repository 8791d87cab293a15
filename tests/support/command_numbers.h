#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

#include "core/command_id.h"
#include "playback/playback.h"

// Tests that go through every number dispatch from outside, as a number from a file would
// come: a number that names no command or phase is refused before the dispatcher.
inline bool DispatchNumbers(Playback& playback, int32_t command, int32_t phase)
{
    const std::optional<CommandId> id = CommandIdFromNumber(command);
    const std::optional<CommandPhase> at = CommandPhaseFromNumber(phase);
    return id && at && playback.DispatchCommand(*id, *at);
}

// Failures name commands and phases by their numbers.
inline std::ostream& operator<<(std::ostream& out, CommandId id)
{
    return out << CommandNumber(id);
}

inline std::ostream& operator<<(std::ostream& out, CommandPhase phase)
{
    return out << CommandPhaseNumber(phase);
}
