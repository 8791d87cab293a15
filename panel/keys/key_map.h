#pragma once

#include <cstdint>
#include <functional>

#include "core/command_id.h"

// The keyboard map shared by the panel, the video frame and the image window. Held keys
// (arrows, numeric-pad plus and minus) give one Press when they go down, however long they
// are held, and a Release when they go up; the other keys give one Click.

// Virtual-key codes of the keys the map knows.
namespace vk {
constexpr uint32_t Prior = 0x21;
constexpr uint32_t Next = 0x22;
constexpr uint32_t Left = 0x25;
constexpr uint32_t Up = 0x26;
constexpr uint32_t Right = 0x27;
constexpr uint32_t Down = 0x28;
constexpr uint32_t Delete = 0x2E;
constexpr uint32_t Multiply = 0x6A;
constexpr uint32_t Add = 0x6B;
constexpr uint32_t Subtract = 0x6D;
constexpr uint32_t Divide = 0x6F;
constexpr uint32_t F1 = 0x70;
}  // namespace vk

using CommandDispatcher = std::function<bool(CommandId command, CommandPhase phase)>;

// The two held-key flags and the tables that read them.
class KeyMap {
public:
    KeyMap() = default;
    explicit KeyMap(CommandDispatcher dispatch);

    void keyDown(uint32_t virtualKey);
    void keyUp(uint32_t virtualKey);
    void character(uint32_t code);

    bool seekKeyHeld() const { return seekKeyHeld_; }
    bool volumeKeyHeld() const { return volumeKeyHeld_; }
    void setDispatcher(CommandDispatcher dispatch) { dispatch_ = std::move(dispatch); }
    bool wired() const { return bool(dispatch_); }
    // Back to the start of a run: both flags clear.
    void reset();

private:
    CommandDispatcher dispatch_;
    bool seekKeyHeld_ = false;
    bool volumeKeyHeld_ = false;
};
