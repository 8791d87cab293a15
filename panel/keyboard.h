#pragma once

#include <cstdint>

#include "panel/keys/key_map.h"

class Window;

// The window's key messages, as they came, on the map the windows share (so that a key pressed
// in one window and released in another still releases). Each acts on the map, then gives the
// message default processing (which does nothing with a key) and answers its result, 0.
intptr_t Keys_OnKeyDown(KeyMap& keys, Window* window, uint32_t message, uintptr_t virtualKey, intptr_t keyData);
intptr_t Keys_OnKeyUp(KeyMap& keys, Window* window, uint32_t message, uintptr_t virtualKey, intptr_t keyData);
intptr_t Keys_OnChar(KeyMap& keys, Window* window, uint32_t message, uintptr_t code, intptr_t keyData);

namespace key_msg {
constexpr uint32_t KeyDown = 0x0100;
constexpr uint32_t KeyUp = 0x0101;
constexpr uint32_t Char = 0x0102;
}  // namespace key_msg
