#pragma once

#include <cstdint>

#include "core/command_id.h"

// The keyboard map shared by the panel, the video frame and the image window. Held keys
// (arrows, numeric-pad plus and minus) give one Press when they go down, however long they
// are held, and a Release when they go up; the other keys give one Click.

// Virtual-key codes of the keys the map knows.
namespace vk {
constexpr uint32_t Back = 0x08;
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

// Where the map's commands go: the playback logic, on a floor above, takes them.
class CommandSink {
public:
    virtual bool DispatchCommand(CommandId command, CommandPhase phase) = 0;

protected:
    ~CommandSink() = default;
};

// The two held-key flags and the tables that read them.
class KeyMap {
public:
    KeyMap() = default;
    explicit KeyMap(CommandSink* sink) : sink_(sink) {}

    void keyDown(uint32_t virtualKey);
    void keyUp(uint32_t virtualKey);
    void character(uint32_t code);

    bool seekKeyHeld() const { return seekKeyHeld_; }
    bool volumeKeyHeld() const { return volumeKeyHeld_; }
    // The sink outlives the map's use, or is taken back first.
    void setSink(CommandSink* sink) { sink_ = sink; }
    bool wired() const { return sink_ != nullptr; }
    // Back to the start of a run: both flags clear.
    void reset();

private:
    void dispatch(CommandId command, CommandPhase phase) const;

    CommandSink* sink_ = nullptr;
    bool seekKeyHeld_ = false;
    bool volumeKeyHeld_ = false;
};
