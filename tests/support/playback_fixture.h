#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/player_records.h"
#include "core/panel_skin.h"
#include "audio/panel_feedback.h"
#include "playback/playback.h"
#include "tests/support/function_host.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/manual_timers.h"
#include "tests/support/scripted_engine.h"

// A window that keeps what playback asks of it.
class ScriptedWindow : public Window {
public:
    explicit ScriptedWindow(ManualClock& clock, std::string base = {}) : timers_(clock), base_(std::move(base)) {}

    void post(const Message& message) override { posted.push_back(message); }
    TimerHost& timers() override { return timers_; }
    ManualTimers& manualTimers() { return timers_; }
    const ManualTimers& manualTimers() const { return timers_; }
    void invalidateAll() override { ++wholeInvalidations; }
    // As the video frame does: an empty title shows the base title.
    void setTitle(const std::string& text) override { titles.push_back(text.empty() ? base_ : text); }
    void setTopmost(bool on) override { topmost.push_back(on); }
    bool minimized() const override { return isMinimized; }
    void minimize() override { ++minimizes; }
    void toggleVideoSize() override { ++sizeToggles; }

    std::vector<Message> posted;
    std::vector<std::string> titles;
    std::vector<bool> topmost;
    int wholeInvalidations = 0;
    int minimizes = 0;
    int sizeToggles = 0;
    bool isMinimized = false;

private:
    ManualTimers timers_;
    std::string base_;
};

// The panel, with a skin in which every LED element has a row of its own, so that each
// refresh reads back as "Element(now)": "TrackNumber(1)", "Time(0)".
class LedPanel : public ScriptedWindow {
public:
    using ScriptedWindow::ScriptedWindow;
    void invalidate(const Rect& area) override;
    void repaintNow() override;

    std::vector<std::string> refreshes;
    PanelSkin skin;  // the LED rows, shown on this panel
    // How many refreshes of that element with that flag, as "TrackNumber(1)".
    int count(const std::string& refresh) const;
};

// Fills the LED skin that LedPanel reads back.
void InstallLedRowsSkin(PanelSkin& skin);

// Playback with the scripted engine, the main window's routing and timers on a manual
// clock, the panel, the video frame and its image window, and an empty play list.
// A play list chosen by a function of the test.
class ChooserFunction : public PlayListChooser {
public:
    bool choose(Window* owner) const override { return choose_ ? choose_(owner) : false; }
    std::function<bool(Window* owner)> choose_;
};

// A drive menu popup that hands its items to a function of the test.
class PopupFunction : public DriveMenuPopup {
public:
    void popup(const std::vector<DriveMenuItem>& items) const override
    {
        if (popup_)
            popup_(items);
    }
    std::function<void(const std::vector<DriveMenuItem>& items)> popup_;
};

// The fixture stands for the panel's busy cursor and check buttons.
class PlaybackTest : public ::testing::Test, protected PanelFeedback {
protected:
    PlaybackTest();
    ~PlaybackTest() override;

    Playback& playback() { return records.playback; }
    // The play list is chosen by this function from now on.
    void choosePlayList(std::function<bool(Window* owner)> choose)
    {
        chooser.choose_ = std::move(choose);
        playback().setPlayListChooser(&chooser);
    }
    bool beginBusyCursor() override;
    bool endBusyCursor() override;
    bool setButtonChecked(CommandId command, bool checked) override;

    // Makes the play list these paths, nothing open.
    void setList(const std::vector<std::string>& paths);
    // Makes the play list "/disc/track01.mpg" … for count tracks.
    void setTracks(uint32_t count);
    static std::string track(uint32_t number);
    // A list of count tracks, or of these paths, with track current open and the engine at
    // that status; the logs start empty.
    void loadTracks(uint32_t count, uint32_t current, uint16_t status);
    void loadList(const std::vector<std::string>& paths, uint32_t current, uint16_t status);
    std::vector<std::string> listPaths() const;
    // The shown, then the wanted: sound quality, audio channel, sound channel.
    using AudioValues = std::array<uint32_t, 6>;
    AudioValues audioValues() const;
    // Runs what was posted to the main window, in order.
    void runMainQueue();
    bool pollRuns() const { return mainTimers.isRunning(main_timer::PositionPoll); }
    uint32_t pollPeriod() const { return mainTimers.period(main_timer::PositionPoll); }

    PlayerRecords records;  // first made, last gone
    FunctionHost host;  // outlives the main window
    ChooserFunction chooser;
    WindowlessParts parts{records};  // outlives the main window
    ManualClock clock;
    ManualTimers mainTimers{clock};
    ManualQueue mainQueue;
    std::unique_ptr<MainWindow> mainWindow;
    LedPanel panel{clock};
    ScriptedWindow videoFrame{clock, "Video Window"};
    ScriptedWindow videoImage{clock};
    ScriptedEngine* engine = nullptr;
    int busyBegins = 0;
    int busyEnds = 0;
    // Each check button set, when a test listens.
    std::function<void(CommandId command, bool checked)> buttonChecked;
};
