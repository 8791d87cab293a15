#include "panel/keys/key_map.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/command_id.h"

namespace {

enum class Held { None, Seek, Volume };

struct KeyRow {
    uint32_t key;
    CommandId command;
    Held held;  // a held key: Press on the way down, Release on the way up; else Click on the way up
};

constexpr std::array kKeys = {
    KeyRow{vk::Back, CommandId::MenuReturn, Held::None},
    KeyRow{vk::Prior, CommandId::PreviousTrack, Held::None},
    KeyRow{vk::Next, CommandId::NextTrack, Held::None},
    KeyRow{vk::Left, CommandId::Backward, Held::Seek},
    KeyRow{vk::Up, CommandId::Backward, Held::Seek},
    KeyRow{vk::Right, CommandId::Forward, Held::Seek},
    KeyRow{vk::Down, CommandId::Forward, Held::Seek},
    KeyRow{vk::Delete, CommandId::MuteUnMute, Held::None},
    KeyRow{vk::Multiply, CommandId::FastForward, Held::None},
    KeyRow{vk::Add, CommandId::VolumeDown, Held::Volume},  // 32 raises the volume
    KeyRow{vk::Subtract, CommandId::VolumeUp, Held::Volume},
    KeyRow{vk::Divide, CommandId::FastBackward, Held::None},
    KeyRow{vk::F1, CommandId::Help, Held::None},
};

struct CharRow {
    uint32_t code;
    CommandId command;
};

constexpr std::array kCharacters = {
    CharRow{13, CommandId::Return},
    CharRow{'0', CommandId::Digit0},
    CharRow{'1', CommandId::Digit1},
    CharRow{'2', CommandId::Digit2},
    CharRow{'3', CommandId::Digit3},
    CharRow{'4', CommandId::Digit4},
    CharRow{'5', CommandId::Digit5},
    CharRow{'6', CommandId::Digit6},
    CharRow{'7', CommandId::Digit7},
    CharRow{'8', CommandId::Digit8},
    CharRow{'9', CommandId::Digit9},
    CharRow{'P', CommandId::PlayPause},
    CharRow{'p', CommandId::PlayPause},
    CharRow{'S', CommandId::Stop},
    CharRow{'s', CommandId::Stop},
};

std::optional<KeyRow> findKey(uint32_t key)
{
    const auto row = std::find_if(kKeys.begin(), kKeys.end(), [key](const KeyRow& r) { return r.key == key; });
    return row == kKeys.end() ? std::nullopt : std::optional<KeyRow>(*row);
}

}  // namespace

void KeyMap::dispatch(CommandId command, CommandPhase phase) const
{
    if (sink_)
        sink_->DispatchCommand(command, phase);
}

void KeyMap::reset()
{
    seekKeyHeld_ = false;
    volumeKeyHeld_ = false;
}

void KeyMap::keyDown(uint32_t virtualKey)
{
    const std::optional<KeyRow> row = findKey(virtualKey);
    if (!row || row->held == Held::None)
        return;
    bool& flag = row->held == Held::Seek ? seekKeyHeld_ : volumeKeyHeld_;
    // Set: the keyboard's repeats and a second key of the same kind go nowhere.
    if (flag)
        return;
    flag = true;
    dispatch(row->command, CommandPhase::Press);
}

void KeyMap::keyUp(uint32_t virtualKey)
{
    const std::optional<KeyRow> row = findKey(virtualKey);
    if (!row)
        return;
    if (row->held == Held::None) {
        dispatch(row->command, CommandPhase::Click);
        return;
    }
    // Whether or not this key's own press went out.
    (row->held == Held::Seek ? seekKeyHeld_ : volumeKeyHeld_) = false;
    dispatch(row->command, CommandPhase::Release);
}

void KeyMap::character(uint32_t code)
{
    for (const CharRow& row : kCharacters) {
        if (code == row.code) {
            dispatch(row.command, CommandPhase::Click);
            return;
        }
    }
}
