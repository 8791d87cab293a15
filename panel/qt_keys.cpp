#include "panel/qt_keys.h"

#include <algorithm>
#include <array>

#include <QKeyEvent>

#include "panel/keyboard.h"
#include "playback/app_command.h"
#include "playback/playback.h"

namespace {

struct KeyCode {
    int qtKey;
    bool keypadOnly;  // the same key of the main row is another key
    uint32_t virtualKey;
};

// Arrows, paging and Delete are the same keys on the numeric pad with Num Lock off.
constexpr std::array kKeyCodes = {
    KeyCode{Qt::Key_Backspace, false, vk::Back},
    KeyCode{Qt::Key_PageUp, false, vk::Prior},
    KeyCode{Qt::Key_PageDown, false, vk::Next},
    KeyCode{Qt::Key_Left, false, vk::Left},
    KeyCode{Qt::Key_Up, false, vk::Up},
    KeyCode{Qt::Key_Right, false, vk::Right},
    KeyCode{Qt::Key_Down, false, vk::Down},
    KeyCode{Qt::Key_Delete, false, vk::Delete},
    KeyCode{Qt::Key_Asterisk, true, vk::Multiply},
    KeyCode{Qt::Key_Plus, true, vk::Add},
    KeyCode{Qt::Key_Minus, true, vk::Subtract},
    KeyCode{Qt::Key_Slash, true, vk::Divide},
    KeyCode{Qt::Key_F1, false, vk::F1},
};

struct MediaKey {
    int qtKey;
    uint32_t appCommand;
};

constexpr std::array kMediaKeys = {
    MediaKey{Qt::Key_VolumeMute, 8},
    MediaKey{Qt::Key_VolumeDown, 9},
    MediaKey{Qt::Key_VolumeUp, 10},
    MediaKey{Qt::Key_MediaNext, 11},
    MediaKey{Qt::Key_MediaPrevious, 12},
    MediaKey{Qt::Key_MediaStop, 13},
    MediaKey{Qt::Key_MediaTogglePlayPause, 14},
    // Most keyboards' play/pause key reaches X as "play" alone.
    MediaKey{Qt::Key_MediaPlay, 14},
    MediaKey{Qt::Key_MediaPause, 14},
};

}  // namespace

uint32_t QtKey_VirtualKey(const QKeyEvent& event)
{
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    const auto row = std::find_if(kKeyCodes.begin(), kKeyCodes.end(), [&](const KeyCode& code) {
        return code.qtKey == event.key() && (keypad || !code.keypadOnly);
    });
    return row == kKeyCodes.end() ? 0 : row->virtualKey;
}

std::vector<uint32_t> QtKey_Characters(const QKeyEvent& event)
{
    std::vector<uint32_t> characters;
    for (const QChar c : event.text())
        characters.push_back(c.unicode());
    return characters;
}

uint32_t QtKey_AppCommand(const QKeyEvent& event)
{
    const auto row = std::find_if(kMediaKeys.begin(), kMediaKeys.end(),
                                  [&](const MediaKey& key) { return key.qtKey == event.key(); });
    return row == kMediaKeys.end() ? 0 : row->appCommand;
}

bool QtKey_RouteAppCommand(Playback& playback, Window& window, const QKeyEvent& event)
{
    const uint32_t command = QtKey_AppCommand(event);
    if (command == 0)
        return false;
    // The system sends one command for each press, its repeats included; releases say nothing.
    if (event.type() == QEvent::KeyPress)
        playback.AppCommand_Post(reinterpret_cast<uintptr_t>(&window), static_cast<intptr_t>(command) << 16);
    return true;
}

bool QtKey_Route(KeyMap& keys, Window& window, const QKeyEvent& event)
{
    const uint32_t virtualKey = QtKey_VirtualKey(event);
    const auto keyData = static_cast<intptr_t>(event.nativeScanCode() & 0xFF) << 16;
    if (event.type() == QEvent::KeyPress) {
        Keys_OnKeyDown(keys, &window, key_msg::KeyDown, virtualKey, keyData);
        for (const uint32_t c : QtKey_Characters(event))
            Keys_OnChar(keys, &window, key_msg::Char, c, keyData);
    } else if (event.type() == QEvent::KeyRelease && !event.isAutoRepeat()) {
        Keys_OnKeyUp(keys, &window, key_msg::KeyUp, virtualKey, keyData);
    }
    return true;
}
