#pragma once

#include <cstdint>

#include "core/player_state.h"

// Playing at some rate, as opposed to stopped or paused.
constexpr bool IsRunningStatus(uint16_t status)
{
    return status >= engine_status::Playing && status <= engine_status::Backward;
}

// The position poll's period at a rate: a tick per second of the file.
uint32_t PositionPollPeriod(int32_t rate);
