#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/wiring.h"

class IdleInhibitor;
class InstanceChannel;
class MainHost;
class MainWindow;
class MprisService;
class ShutdownSignals;

// The one owner of the player. Built after QApplication and destroyed before it, it starts the
// records, puts the components in place, wires every part in one place, and holds the
// main window, the panel, the video window and the cursors, so that nothing outlives Qt.
class Player {
public:
    // channel may be null when the single-instance channel could not be set up; instance is
    // the program whose folder holds the configuration, this process's own when empty.
    Player(InstanceChannel* channel, ShutdownSignals& shutdownSignals, const std::string& instance = {});
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // The main window's creation; -1 when it was refused, the reason on standard error.
    int create();
    MainWindow& mainWindow();
    const PlayerRecords& records() const { return records_; }
    // What was left unwired; the start is refused while this is not empty.
    const std::vector<std::string>& unwired() const { return unwired_; }

private:
    PlayerRecords records_;  // outlives everything below, which is handed its parts
    OwnedWindows windows_;
    std::unique_ptr<PlayerParts> parts_;  // outlives the main window
    std::unique_ptr<MainHost> host_;
    std::unique_ptr<MprisService> mediaControls_;  // after the main window's creation, gone before it
    std::unique_ptr<IdleInhibitor> idleInhibitor_;  // likewise
    std::vector<std::string> unwired_;
};
