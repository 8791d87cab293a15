#include <string>
#include <vector>

#include <QKeyEvent>

#include <gtest/gtest.h>

#include "app/player_records.h"
#include "app/main_window.h"
#include "panel/keyboard.h"
#include "panel/qt_keys.h"
#include "app/wiring.h"
#include "core/command_id.h"
#include "playback/playback.h"
#include "tests/support/function_host.h"
#include "tests/support/command_sink.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/manual_timers.h"
#include "tests/support/recording_window.h"
#include "video/video_window.h"

namespace {

QKeyEvent press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {},
                bool repeat = false)
{
    return QKeyEvent(QEvent::KeyPress, key, modifiers, text, repeat);
}

struct CodeCase {
    const char* name;
    int key;
    Qt::KeyboardModifiers modifiers;
    uint32_t virtualKey;
};

const CodeCase kCodes[] = {
    {"PageUp", Qt::Key_PageUp, Qt::NoModifier, 0x21},
    {"PageDown", Qt::Key_PageDown, Qt::NoModifier, 0x22},
    {"Left", Qt::Key_Left, Qt::NoModifier, 0x25},
    {"Up", Qt::Key_Up, Qt::NoModifier, 0x26},
    {"Right", Qt::Key_Right, Qt::NoModifier, 0x27},
    {"Down", Qt::Key_Down, Qt::NoModifier, 0x28},
    {"PadLeftWithoutNumLock", Qt::Key_Left, Qt::KeypadModifier, 0x25},
    {"PadPageUpWithoutNumLock", Qt::Key_PageUp, Qt::KeypadModifier, 0x21},
    {"Delete", Qt::Key_Delete, Qt::NoModifier, 0x2E},
    {"Backspace", Qt::Key_Backspace, Qt::NoModifier, 0x08},
    {"PadDelete", Qt::Key_Delete, Qt::KeypadModifier, 0x2E},
    {"PadMultiply", Qt::Key_Asterisk, Qt::KeypadModifier, 0x6A},
    {"PadPlus", Qt::Key_Plus, Qt::KeypadModifier, 0x6B},
    {"PadMinus", Qt::Key_Minus, Qt::KeypadModifier, 0x6D},
    {"PadDivide", Qt::Key_Slash, Qt::KeypadModifier, 0x6F},
    {"F1", Qt::Key_F1, Qt::NoModifier, 0x70},
    {"F1WithShift", Qt::Key_F1, Qt::ShiftModifier, 0x70},
    // The same characters on the main row are other keys.
    {"MainRowMinus", Qt::Key_Minus, Qt::NoModifier, 0},
    {"MainRowPlus", Qt::Key_Plus, Qt::ShiftModifier, 0},
    {"MainRowAsterisk", Qt::Key_Asterisk, Qt::ShiftModifier, 0},
    {"MainRowSlash", Qt::Key_Slash, Qt::NoModifier, 0},
    {"LetterP", Qt::Key_P, Qt::NoModifier, 0},
    {"F2", Qt::Key_F2, Qt::NoModifier, 0},
};

class KeyCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(KeyCodeTest, TranslatesToTheVirtualKey)
{
    const CodeCase& c = GetParam();
    const QKeyEvent event = press(c.key, c.modifiers);
    EXPECT_EQ(QtKey_VirtualKey(event), c.virtualKey);
}

INSTANTIATE_TEST_SUITE_P(QtKeys, KeyCodeTest, ::testing::ValuesIn(kCodes),
                         [](const auto& info) { return std::string(info.param.name); });

struct MediaCase {
    const char* name;
    int key;
    uint32_t appCommand;
};

const MediaCase kMedia[] = {
    {"Mute", Qt::Key_VolumeMute, 8},
    {"VolumeDown", Qt::Key_VolumeDown, 9},
    {"VolumeUp", Qt::Key_VolumeUp, 10},
    {"Next", Qt::Key_MediaNext, 11},
    {"Previous", Qt::Key_MediaPrevious, 12},
    {"Stop", Qt::Key_MediaStop, 13},
    {"TogglePlayPause", Qt::Key_MediaTogglePlayPause, 14},
    {"Play", Qt::Key_MediaPlay, 14},
    {"Pause", Qt::Key_MediaPause, 14},
    {"NotAMediaKey", Qt::Key_Space, 0},
    {"ChannelUpIsNotOurs", Qt::Key_ChannelUp, 0},
};

class MediaKeyTest : public ::testing::TestWithParam<MediaCase> {};

TEST_P(MediaKeyTest, TranslatesToTheApplicationCommand)
{
    const QKeyEvent event = press(GetParam().key);
    EXPECT_EQ(QtKey_AppCommand(event), GetParam().appCommand);
}

INSTANTIATE_TEST_SUITE_P(QtKeys, MediaKeyTest, ::testing::ValuesIn(kMedia),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QtKeyCharacters, AreTheTextTheKeyProduced)
{
    EXPECT_EQ(QtKey_Characters(press(Qt::Key_Return, Qt::NoModifier, "\r")), (std::vector<uint32_t>{13}));
    EXPECT_EQ(QtKey_Characters(press(Qt::Key_Enter, Qt::KeypadModifier, "\r")), (std::vector<uint32_t>{13}));
    EXPECT_EQ(QtKey_Characters(press(Qt::Key_7, Qt::KeypadModifier, "7")), (std::vector<uint32_t>{'7'}));
    EXPECT_EQ(QtKey_Characters(press(Qt::Key_P, Qt::ShiftModifier, "P")), (std::vector<uint32_t>{'P'}));
    EXPECT_TRUE(QtKey_Characters(press(Qt::Key_Left)).empty());
}

using Event = CommandEvent;

using namespace phase_number;

// The video windows' keys, through the hooks the panel plugs in.
class VideoKeysTest : public ::testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    FunctionHost host;  // outlives the main window
    void SetUp() override
    {
        records.keys.reset();
        records.keys.setSink(&recorded);
        host.onPost = [this](const Message& m) { mainPosted.push_back(m); };
        mainWindow = std::make_unique<MainWindow>(MainWindowLinksOf(records), mainTimers, host, mainParts);
        records.windows.main = mainWindow.get();
    }
    void TearDown() override
    {
        records.keys.setSink(nullptr);
        records.keys.reset();
        records.windows.main = nullptr;
        mainWindow.reset();
    }

    bool send(Window& window, QEvent::Type type, int key, const QString& text = {}, bool repeat = false)
    {
        QKeyEvent event(type, key, Qt::NoModifier, text, repeat);
        PanelVideoKeys keys(records.keys, records.playback);
        return keys.appCommand(window, event) || keys.key(window, event);
    }

    ManualClock clock;
    RecordingWindow frame{clock};
    RecordingWindow image{clock};
    ManualTimers mainTimers{clock};
    NoParts mainParts;  // outlives the main window
    std::unique_ptr<MainWindow> mainWindow;
    std::vector<Message> mainPosted;
    std::vector<Event> events;
    CommandsTo recorded{[this](CommandId command, CommandPhase phase) {
        events.push_back({CommandNumber(command), CommandPhaseNumber(phase)});
        return true;
    }};
};

TEST_F(VideoKeysTest, KeyPressedInOneWindowIsReleasedInTheOther)
{
    EXPECT_TRUE(send(frame, QEvent::KeyPress, Qt::Key_Left));
    EXPECT_TRUE(send(frame, QEvent::KeyRelease, Qt::Key_Left, {}, true));
    EXPECT_TRUE(send(frame, QEvent::KeyPress, Qt::Key_Left, {}, true));
    EXPECT_TRUE(send(image, QEvent::KeyRelease, Qt::Key_Left));
    EXPECT_FALSE(records.keys.seekKeyHeld());
    EXPECT_TRUE(send(image, QEvent::KeyPress, Qt::Key_S, "s"));
    EXPECT_EQ(events, (std::vector<Event>{{18, P}, {18, R}, {13, C}}));
    EXPECT_TRUE(mainPosted.empty());
}

TEST_F(VideoKeysTest, MediaKeysArePostedOncePerPress)
{
    EXPECT_TRUE(send(frame, QEvent::KeyPress, Qt::Key_MediaNext));
    EXPECT_TRUE(send(frame, QEvent::KeyPress, Qt::Key_MediaNext, {}, true));
    EXPECT_TRUE(send(frame, QEvent::KeyRelease, Qt::Key_MediaNext));
    ASSERT_EQ(mainPosted.size(), 2u);
    for (const Message& m : mainPosted) {
        EXPECT_EQ(m.id, msg::MultimediaKey);
        EXPECT_EQ(m.lParam, intptr_t{11} << 16);
    }
    EXPECT_TRUE(events.empty());
}

}  // namespace
