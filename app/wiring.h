#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/player_records.h"
#include "disc/dialog/play_list_dialog.h"
#include "panel/drive_popup.h"
#include "panel/panel_cursors.h"
#include "panel/panel_window.h"
#include "panel/qt_keys.h"
#include "video/video_window.h"

class IdleInhibitor;
class MprisService;
class PanelWindow;
class VideoFrame;

// The player's wiring, piece by piece, all in this one place. The owner calls every piece;
// a test calls the ones its part needs.

// The Linux implementations of the outside components, and the CD-ROM drives they list.
void InstallDesktopComponents(PlayerRecords& records);
// The key map's dispatcher, and what playback asks of the higher floors: choosing a play list
// and the drive menu's popup.
struct OwnedWindows;
void WirePlayerLogic(PlayerRecords& records, OwnedWindows& windows);
// The main window's links to the records.
MainWindowLinks MainWindowLinksOf(PlayerRecords& records);
// The panel's links to the records, its close going to main and its drive items to driveMenus
// (playback, in the player).
PanelLinks PanelLinksOf(PlayerRecords& records, Window* main, const PanelCursors* cursors,
                        DriveMenuActions& driveMenus);
// The video windows' links to the records, their close going to main.
VideoLinks VideoLinksOf(PlayerRecords& records, Window* main);
// The desktop's media controls on the session bus, taking calls while the main window does;
// null without a session bus.
std::unique_ptr<MprisService> StartMediaControls(PlayerRecords& records);

// Whether a video plays in the image window: the screen is to stay awake.
bool VideoPlays(const PlayerRecords& records);
// Keeps the screen awake while a video plays; null without a session bus.
std::unique_ptr<IdleInhibitor> StartIdleInhibition(PlayerRecords& records);

// The windows the main window's parts make and destroy, held by whoever owns the main window.
struct OwnedWindows {
    OwnedWindows();
    ~OwnedWindows();
    OwnedWindows(const OwnedWindows&) = delete;
    OwnedWindows& operator=(const OwnedWindows&) = delete;
    // Destroys what is left (after a refused start), as the shut-down would.
    void release();

    PanelCursors cursors;
    std::optional<SkinPanelParts> panelParts;  // made with the first panel, outlives every panel
    std::unique_ptr<PanelWindow> panel;
    std::unique_ptr<VideoFrame> video;
    std::optional<PanelVideoKeys> videoKeys;  // the video windows' keys, on the map the parts use
    // How playback chooses a play list and offers drives, lent to it while they live.
    std::optional<PlayListDialogChooser> playListChooser;
    std::optional<PanelDriveMenuPopup> driveMenuPopup;
    // Where files dropped on the panel and the video window go (the main window, where they
    // wait their turn while the engine opens a track), set before they are made.
    FileDropTarget* dropTarget = nullptr;
};

// What the main window hands the logic: commands, multimedia keys, the position poll, disc
// events, a command line's files and the mixer's reads. Its windows are left to whoever
// extends it.
class LogicParts : public MainWindowParts {
public:
    explicit LogicParts(PlayerRecords& records) : records_(records) {}
    void readMuteState(bool repaint) override;
    void readVolumeLevel(bool repaint) override;
    void loadDisc(uintptr_t drive, intptr_t mode) override;
    bool dispatchCommand(CommandId command, CommandPhase phase) override;
    bool appCommandPost(uintptr_t wParam, intptr_t lParam) override;
    bool appCommandRun(uintptr_t wParam, intptr_t lParam) override;
    bool pollPosition() override;
    void pbcWaitElapsed() override;
    void playFiles(const std::vector<std::string>& files) override;

protected:
    PlayerRecords& records_;
};

// Every part of the main window, its windows made into the given holders.
class PlayerParts final : public LogicParts {
public:
    PlayerParts(PlayerRecords& records, OwnedWindows& windows);
    bool loadCursors() override;
    void destroyCursors() override;
    bool createPanel(std::string& why) override;
    void destroyPanel() override;
    bool createVideoFrame(std::string& why) override;
    void destroyVideoFrame() override;
    bool createPlayList(std::string& why) override;
    void destroyPlayList() override;

private:
    OwnedWindows& windows_;
};

// What was left unwired, for the line that refuses the start: the keyboard map's dispatcher.
std::vector<std::string> UnwiredParts(const PlayerRecords& records);
