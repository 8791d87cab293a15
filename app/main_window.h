#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/command_id.h"
#include "core/player_ids.h"
#include "core/window.h"

class Turns;
struct AppWindows;
struct Components;
struct DeviceHeader;
struct PlayerSettings;
struct PlayerState;

// The records the main window starts, reads and reports into, handed in by its owner.
struct MainWindowLinks {
    Components& components;
    PlayerSettings& settings;
    AppWindows& windows;  // the main window enters itself here while it lives
    Turns& turns;         // what it is handed waits here while the engine opens a track
    const PlayerState& state;
};

// What the other parts of the player plug into the main window. An empty entry is a part
// that is not built in: its start-up step is skipped and its messages change nothing.
struct MainWindowParts {
    // Window makers answer false when the window cannot be made and may say why.
    using Maker = std::function<bool(std::string& why)>;

    std::function<bool()> loadCursors;
    std::function<void()> destroyCursors;
    Maker createPanel;
    std::function<void()> destroyPanel;
    Maker createVideoFrame;
    std::function<void()> destroyVideoFrame;
    Maker createPlayList;
    std::function<void()> destroyPlayList;
    std::function<void(bool repaint)> readMuteState;
    std::function<void(bool repaint)> readVolumeLevel;
    std::function<void(uintptr_t drive, intptr_t mode)> loadDisc;
    std::function<bool(CommandId command, CommandPhase phase)> dispatchCommand;
    std::function<bool(uintptr_t wParam, intptr_t lParam)> appCommandPost;
    std::function<bool(uintptr_t wParam, intptr_t lParam)> appCommandRun;
    // Answers false when the tick must end without default processing.
    std::function<bool()> pollPosition;
    // Files named on a command line: they become the play list and play from the first.
    std::function<void(const std::vector<std::string>& files)> playFiles;
};

// What the main window needs from the desktop it runs on.
struct MainWindowHost {
    std::function<void(const Message&)> post;      // queue a message to the main window
    std::function<void(int status)> postQuit;       // end the loop with that status
    std::function<std::string()> userName;          // the log-on name, empty when unknown
    std::function<void(std::string_view)> complain; // one line on standard error
    // Ends the dialogs and menus whose loops run; true when the shut-down must wait until
    // their openers have returned, and the host then asks for it again.
    std::function<bool()> endModalLoops;
};

// The hidden main window: start-up and shut-down, the main timers, and the notices of the
// system and the components. It is never shown.
class MainWindow : public Window {
public:
    MainWindow(const MainWindowLinks& links, TimerHost& timers, MainWindowHost host, MainWindowParts parts = {});
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Runs the start-up; 0 when the window exists, -1 when its creation is refused.
    int create();
    // Runs the shut-down once and asks the loop to end with status 18.
    void destroy();
    bool destroyed() const { return destroyed_; }
    bool engineStarted() const { return engineStarted_; }

    // A posted or sent message; answers what its handler answers. These four wait their turn
    // while the engine opens a track (see Turns).
    intptr_t handle(const Message& message);
    void timerTick(TimerId id);
    // Files a command line named; nothing happens once the window is gone.
    void playFiles(const std::vector<std::string>& files);
    void deviceChange(uint32_t event, const DeviceHeader* header);
    // The log-off or the system's shut-down; ending is false when it was cancelled.
    void endSession(bool ending);

    void post(const Message& message) override;
    TimerHost& timers() override { return timers_; }
    MainWindowParts& parts() { return parts_; }

private:
    intptr_t handleInTurn(const Message& message);
    void tickInTurn(TimerId id);
    void deviceChangeInTurn(uint32_t event, const DeviceHeader& header);
    bool makeWindow(const MainWindowParts::Maker& maker, std::string_view what);
    void mixerChange(intptr_t controlId);
    void secondStart(uintptr_t request, intptr_t drive);
    void dispatch(CommandId command, CommandPhase phase);

    MainWindowLinks links_;
    TimerHost& timers_;
    MainWindowHost host_;
    MainWindowParts parts_;
    bool created_ = false;
    bool destroyed_ = false;
    bool engineStarted_ = false;
    bool cursorsLoaded_ = false;
};
