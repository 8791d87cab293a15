#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_drop.h"
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

// The parts of the player that the main window makes, destroys and hands its messages to; the
// player's owner implements them (app/wiring.cpp).
class MainWindowParts {
public:
    // Window makers answer false when the window cannot be made and may say why.
    virtual bool loadCursors() = 0;
    virtual void destroyCursors() = 0;
    virtual bool createPanel(std::string& why) = 0;
    virtual void destroyPanel() = 0;
    virtual bool createVideoFrame(std::string& why) = 0;
    virtual void destroyVideoFrame() = 0;
    virtual bool createPlayList(std::string& why) = 0;
    virtual void destroyPlayList() = 0;
    virtual void readMuteState(bool repaint) = 0;
    virtual void readVolumeLevel(bool repaint) = 0;
    virtual void loadDisc(uintptr_t drive, intptr_t mode) = 0;
    virtual bool dispatchCommand(CommandId command, CommandPhase phase) = 0;
    virtual bool appCommandPost(uintptr_t wParam, intptr_t lParam) = 0;
    virtual bool appCommandRun(uintptr_t wParam, intptr_t lParam) = 0;
    // Answers false when the tick must end without default processing.
    virtual bool pollPosition() = 0;
    // A Video CD list's wait has run out.
    virtual void pbcWaitElapsed() = 0;
    // Files named on a command line: they become the play list and play from the first.
    virtual void playFiles(const std::vector<std::string>& files) = 0;

protected:
    ~MainWindowParts() = default;
};

// What the main window needs from the desktop it runs on; MainHost is it on Qt's loop.
class MainWindowHost {
public:
    virtual void post(const Message& message) = 0;     // queue a message to the main window
    virtual void postQuit(int status) = 0;             // end the loop with that status
    virtual std::string userName() const = 0;          // the log-on name, empty when unknown
    virtual void complain(std::string_view line) = 0;  // one line on standard error
    // Ends the dialogs and menus whose loops run; true when the shut-down must wait until
    // their openers have returned, and the host then asks for it again.
    virtual bool endModalLoops() = 0;

protected:
    ~MainWindowHost() = default;
};

// The hidden main window: start-up and shut-down, the main timers, and the notices of the
// system and the components. It is never shown.
class MainWindow : public Window, public FileDropTarget {
public:
    // The parts outlive the window.
    MainWindow(const MainWindowLinks& links, TimerHost& timers, MainWindowHost& host, MainWindowParts& parts);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Runs the start-up; 0 when the window exists, -1 when its creation is refused.
    int create();
    // Runs the shut-down once and asks the loop to end with status 18.
    void destroy();
    // The shut-down has begun, and the windows record says so to the rest of the player.
    bool destroyed() const;
    bool engineStarted() const { return engineStarted_; }

    // A posted or sent message; answers what its handler answers. These four wait their turn
    // while the engine opens a track (see Turns).
    intptr_t handle(const Message& message);
    void timerTick(TimerId id);
    // Files a command line named, or dropped on a window; nothing happens once the window is
    // gone.
    void playFiles(const std::vector<std::string>& files) override;
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
    bool makeWindow(bool made, const std::string& why, std::string_view what);
    void mixerChange(intptr_t controlId);
    void secondStart(uintptr_t request, intptr_t drive);
    void dispatch(CommandId command, CommandPhase phase);

    MainWindowLinks links_;
    TimerHost& timers_;
    MainWindowHost& host_;
    MainWindowParts& parts_;
    bool created_ = false;
    bool engineStarted_ = false;
    bool cursorsLoaded_ = false;
};
