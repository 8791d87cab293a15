#pragma once

#include <cstdint>

// The application command of a WM_APPCOMMAND's lParam.
constexpr uint32_t AppCommandOf(intptr_t lParam)
{
    return static_cast<uint32_t>((lParam >> 16) & 0xFFF);
}
