#include "panel/keys/key_map.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/command_id.h"

namespace {

enum class Held { None, Seek, Volume };

struct KeyRow {
    uint32_t key;
    int32_t command;
    Held held;  // a held key: Press on the way down, Release on the way up; else Click on the way up
};

constexpr std::array kKeys = {
    KeyRow{vk::Prior, command_id::PreviousTrack, Held::None},
    KeyRow{vk::Next, command_id::NextTrack, Held::None},
    KeyRow{vk::Left, command_id::Backward, Held::Seek},
    KeyRow{vk::Up, command_id::Backward, Held::Seek},
    KeyRow{vk::Right, command_id::Forward, Held::Seek},
    KeyRow{vk::Down, command_id::Forward, Held::Seek},
    KeyRow{vk::Delete, command_id::MuteUnMute, Held::None},
    KeyRow{vk::Multiply, command_id::FastForward, Held::None},
    KeyRow{vk::Add, command_id::VolumeDown, Held::Volume},  // 32 raises the volume
    KeyRow{vk::Subtract, command_id::VolumeUp, Held::Volume},
    KeyRow{vk::Divide, command_id::FastBackward, Held::None},
    KeyRow{vk::F1, command_id::Help, Held::None},
};

struct CharRow {
    uint32_t code;
    int32_t command;
};

constexpr std::array kCharacters = {
    CharRow{13, command_id::Return},
    CharRow{'0', command_id::Digit0},
    CharRow{'1', command_id::Digit1},
    CharRow{'2', command_id::Digit2},
    CharRow{'3', command_id::Digit3},
    CharRow{'4', command_id::Digit4},
    CharRow{'5', command_id::Digit5},
    CharRow{'6', command_id::Digit6},
    CharRow{'7', command_id::Digit7},
    CharRow{'8', command_id::Digit8},
    CharRow{'9', command_id::Digit9},
    CharRow{'P', command_id::PlayPause},
    CharRow{'p', command_id::PlayPause},
    CharRow{'S', command_id::Stop},
    CharRow{'s', command_id::Stop},
};

std::optional<KeyRow> findKey(uint32_t key)
{
    const auto row = std::find_if(kKeys.begin(), kKeys.end(), [key](const KeyRow& r) { return r.key == key; });
    return row == kKeys.end() ? std::nullopt : std::optional<KeyRow>(*row);
}

}  // namespace

KeyMap::KeyMap(CommandDispatcher dispatch) : dispatch_(std::move(dispatch)) {}

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
    dispatch_(row->command, CommandPhase::Press);
}

void KeyMap::keyUp(uint32_t virtualKey)
{
    const std::optional<KeyRow> row = findKey(virtualKey);
    if (!row)
        return;
    if (row->held == Held::None) {
        dispatch_(row->command, CommandPhase::Click);
        return;
    }
    // Whether or not this key's own press went out.
    (row->held == Held::Seek ? seekKeyHeld_ : volumeKeyHeld_) = false;
    dispatch_(row->command, CommandPhase::Release);
}

void KeyMap::character(uint32_t code)
{
    for (const CharRow& row : kCharacters) {
        if (code == row.code) {
            dispatch_(row.command, CommandPhase::Click);
            return;
        }
    }
}
