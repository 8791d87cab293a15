#include "panel/keyboard.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/app_context.h"
#include "playback/command_id.h"
#include "playback/dispatch.h"

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
    uint32_t first;
    uint32_t last;
    int32_t command;  // of the first character; the others follow it in order
};

constexpr std::array kCharacters = {
    CharRow{13, 13, command_id::Return},
    CharRow{'0', '9', command_id::Digit0},
    CharRow{'P', 'P', command_id::PlayPause},
    CharRow{'p', 'p', command_id::PlayPause},
    CharRow{'S', 'S', command_id::Stop},
    CharRow{'s', 's', command_id::Stop},
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
        if (code >= row.first && code <= row.last) {
            dispatch_(row.command + static_cast<int32_t>(code - row.first), CommandPhase::Click);
            return;
        }
    }
}

KeyMap& Keys_Shared()
{
    return app().keys;
}

intptr_t Keys_OnKeyDown(Window*, uint32_t, uintptr_t virtualKey, intptr_t)
{
    Keys_Shared().keyDown(static_cast<uint32_t>(virtualKey));
    return 0;
}

intptr_t Keys_OnKeyUp(Window*, uint32_t, uintptr_t virtualKey, intptr_t)
{
    Keys_Shared().keyUp(static_cast<uint32_t>(virtualKey));
    return 0;
}

intptr_t Keys_OnChar(Window*, uint32_t, uintptr_t code, intptr_t)
{
    Keys_Shared().character(static_cast<uint32_t>(code));
    return 0;
}
