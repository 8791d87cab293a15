#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "audio/panel_feedback.h"
#include "audio/window_timers.h"
#include "components/reelkit/reelkit.h"
#include "core/command_id.h"
#include "video/picture_areas.h"
#include "core/play_list_records.h"
#include "core/timers.h"
#include "disc/pbc_navigator.h"
#include "panel/keys/key_map.h"
#include "playback/chapters.h"
#include "playback/drive_menu.h"
#include "playback/play_list_chooser.h"
#include "playback/then.h"

class Audio;
class DriveTable;
class DriveView;
class LedDisplay;
class PlayListStore;
class ReelkitEngine;
class Turns;
struct AppWindows;
struct Components;
struct PlayerSettings;
struct PlayerState;

// What playback control shows now, for the desktop's media controls.
struct PbcNow {
    uint16_t lid = 0;
    VcdPlayItem item;
    bool menu = false;  // the item is a selection list's background
    std::string albumId;
    bool followsLinks = false;  // Next and Previous follow the list's links, not the tracks
    bool canGoNext = false;
    bool canGoPrevious = false;
};

// The playback logic: commands, transport, tracks, the track-number entry, the position poll,
// discs and files into the play list, the multimedia keys, the window commands and the disc
// menu. Its members are defined in the files named for their idea. Each answers true when done
// and false when refused; those that open a file go on from the engine's answer, and what comes
// in meanwhile waits its turn (see then.h). Track numbers count from 1.
//
// A Video CD with menus plays under playback control (playback_control.cpp): its lists decide
// what opens, the keys follow their links, and the play list keeps the disc's tracks.
class Playback : public CommandSink, public DriveMenuActions, public PictureAreas, private PbcPlayer {
public:
    // The components are reached at each call: an absent one is a do-nothing object. The
    // windows are those of the moment: one that does not exist is passed over.
    Playback(Components& components, PlayerSettings& settings, PlayerState& state, const AppWindows& windows,
             DriveView& drives, PlayListStore& playList, Turns& turns, Audio& audio, LedDisplay& led);
    ~Playback() override;
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // What the higher floors lend while they exist; null without them. Without a chooser there
    // is no Play List command; without a popup a disc menu of several drives is refused.
    void setPanel(PanelFeedback* panel);
    PanelFeedback* panel() const { return panel_; }
    void setPlayListChooser(const PlayListChooser* chooser) { chooser_ = chooser; }
    void setDriveMenuPopup(const DriveMenuPopup* popup) { popup_ = popup; }
    Audio& audio() { return audio_; }

    // Every button, key, multimedia key and timer repeat ends here. Answers true when the
    // command exists for that phase and its action ran (whatever the action's own success),
    // false when refused.
    bool DispatchCommand(CommandId command, CommandPhase phase) override;

    // Multimedia keys. AppCommand_Post is the WM_APPCOMMAND handler of the main window, the
    // panel and the video frame: it re-posts the keys it knows (application commands 8..14) to
    // the main window and answers true, or answers false for any other. AppCommand_Run is the
    // main window's handler of the re-posted key: it dispatches the command at Press, Release,
    // Click.
    bool AppCommand_Post(uintptr_t wParam, intptr_t lParam);
    bool AppCommand_Run(uintptr_t wParam, intptr_t lParam);

    // Play, pause, stop, the held seek and the rates; each refuses at once when no track is
    // loaded, except Play and TogglePlayPause. update shows the new state on the display.
    bool Play(bool update);
    bool Pause(bool update);
    bool Stop(bool toStart, bool update);
    bool TogglePlayPause();
    // A held Backward or Forward: start is set for the press and each repeat, clear for the release.
    bool SeekHold(bool forward, bool start);
    // The track under a hold has gone (another opened, or the list ran empty): the repeats stop
    // and the release does nothing, for its target belongs to the track that went.
    void EndSeekHold();
    bool ChangeRate(bool forward, uint32_t rate);
    // A jump to the position in milliseconds (cut to the track's length), the play going on as
    // it was; refused while a held seek is under way.
    bool SeekTo(uint32_t position);

    // Opens track n stopped at its start, dropping from the list every entry that fails to open.
    bool OpenTrack(uint32_t track, Then then = {});
    bool NextTrack(Then then = {});
    bool PreviousTrack(Then then = {});
    // Next and Previous as the commands and the keys give them: with entry points as chapters,
    // a chapter of a Video CD track before the track itself.
    bool NextChapterOrTrack();
    bool PreviousChapterOrTrack();

    // The commands as playback control takes them first: Play and Play/Pause are DEFAULT in a
    // selection list and begin a parked or ended disc again, Stop parks it, Next and Previous
    // follow the list's links, Menu Return its RETURN link.
    bool PlayCommand();
    bool PlayPauseCommand();
    bool StopCommand(bool orEject);
    bool NextCommand();
    bool PreviousCommand();
    bool MenuReturn();
    // A list's wait has run out.
    void PbcWaitElapsed();
    // Where playback control stands; nothing when it does not run.
    std::optional<PbcPhase> pbcPhase() const;
    std::optional<PbcNow> pbcNow() const;
    // A selection list's areas on the picture; a click waits its turn.
    bool hasAreaAt(double x, double y) const override;
    void clickAt(double x, double y) override;
    // The Play List command: the chooser when asked for, then track 1. Always answers true.
    bool PlayListCommand(bool showDialog, Then then = {});
    // The state without any open track.
    void ResetPlayback();
    bool CycleRepeat();
    // The video frame's title: the path, or its base title when there is none.
    void SetVideoTitle(const std::string* path);

    // Typing a track number on the digit buttons. Ends an entry in progress (repaint: the
    // display at once); nothing at all when none is. Always answers true.
    bool EndTrackEntry(bool repaint);
    // A digit 0..9, or 10 for "+ 10" (which appends the value ten: 1 then "+ 10" gives 20).
    bool EnterDigit(uint32_t value);
    bool GoToEnteredTrack();
    // The panel's timers of an entry: 1000 blinks the number, 1001 ends the entry (through the
    // given sink, this object's DispatchCommand when none). Other timers change nothing.
    void TrackEntry_PanelTimer(TimerId id, CommandSink* commands = nullptr);

    // Each tick of the position poll: the time display follows the engine, and a track that has
    // played to its end is replayed or followed by the next as the repeat mode says. Answers
    // false when the tick must end without default processing (the list ran empty).
    bool PollPosition();

    // A disc event of a drive (0 = A:; only the low 16 bits count). Mode 0 loads the drive's
    // Video CD and plays it from track 1; any other mode drops the drive's entries, keeping the
    // current track where it is still listed.
    void LoadDisc(uintptr_t drive, intptr_t mode) override;
    // Files and folders named on the command line replace the play list and play from track 1
    // (see play_files.h).
    bool PlayFiles(const std::vector<std::string>& paths, Then then = {});

    // Picks a drive: with one CD-ROM drive its item goes to the panel at once, with several the
    // popup offers them. Without a panel or a drive nothing happens.
    bool ShowDiscMenu(DiscMenuForm form);
    // Stops what plays or is paused; with nothing loaded or stopped, offers the eject.
    bool StopOrEject();
    // Moves a drive's door; before it opens, the drive's entries leave the play list. False
    // when the door's state cannot be read.
    bool SetDoorState(uint32_t drive, DoorState door) override;

    // The commands that act on windows and the process rather than on playback.
    void Minimize();
    void Help();
    void Power();
    void ToggleVideoTopmost();
    void ToggleVideoSize();

private:
    struct CommandTable;

    ReelkitEngine& engine() const;
    void beginBusyCursor() const;
    void endBusyCursor() const;

    // Transport.
    bool nothingLoaded() const;
    void resumeAfterHold();
    bool playLoaded(bool update);

    // Tracks.
    void resumeUnlessHalted(uint16_t earlierStatus);
    void leaveEmptyList();
    void askEngine(const std::string& path, std::function<void(bool)> answered, OpenAs as = OpenAs::File);
    // The display and the audio after an open, the time at position.
    void showOpenedTrack(const std::string& path, uint32_t track, uint32_t position = 0);
    bool dropEntry(uint32_t track);
    void openFrom(uint32_t track, const Then& done);
    void changed(uint16_t earlier, const Then& done, bool opened);
    void nextFromFirst(uint16_t earlier, const Then& done, bool opened);
    void previousFromLast(uint16_t earlier, const Then& done, bool opened);

    // The position poll.
    void showStopped();
    uint32_t trackAfterCurrent() const;
    void showPosition(uint16_t status);
    void showAfterEnd();
    void openAfterEnd(uint32_t next, const Then& done);
    bool trackEnded();

    // Playback control.
    struct PbcSession;
    struct PreviousVolume {
        std::string albumId;
        uint16_t volumeNumber = 0;
        bool nextAtLid2 = false;
    };
    // A disc's load waits for its control to decide what opens first.
    struct AwaitedDisc {
        uint32_t drive = 0;
        uint16_t earlierStatus = 0;
    };
    bool awaitControl(uint32_t drive, uint16_t earlierStatus);
    void controlKnown(uint32_t drive);
    bool startPbc(uint32_t drive, const DiscControlReader::Reading& reading, const PreviousVolume& before, bool play);
    void leavePbc();
    std::optional<uint32_t> pbcHighestNumber() const;
    bool choosePbc(uint32_t number);
    bool pbcPlayKey();
    bool followLink(bool (PbcNavigator::*link)());
    // Leaves it when it runs on that drive's disc.
    void leavePbc(uint32_t drive);
    bool pbcTakesKeys() const;
    void showPbcPhase();
    void pbcItemEnded();
    void pbcTimesKnown(uint32_t drive);
    void pbcItemOpened(bool opened, const std::string& path, uint32_t track, uint32_t startMs, bool play);
    bool openPbcItem(const VcdPlayItem& item, bool play);
    bool pollPbc();
    bool inStill() const;
    void playItem(const VcdPlayItem& item, uint32_t limitMs) override;
    void startWait(uint32_t ms) override;
    void stopWait() override;
    void stopPlaying() override;
    void listEntered() override;
    std::optional<unsigned> playingEntry() const override;
    unsigned randomBelow(unsigned n) override;

    // Chapters.
    using ChapterStep = std::optional<uint32_t> (*)(const std::vector<uint32_t>& starts, uint32_t position);
    std::optional<uint32_t> chapterTarget(ChapterStep step);

    PlayList listOf(const std::vector<std::string>& paths);
    std::string labelOf(const DriveTable& drives, uint32_t drive) const;

    Components& components_;
    PlayerSettings& settings_;
    PlayerState& state_;
    const AppWindows& windows_;
    DriveView& drives_;
    PlayListStore& playList_;
    Turns& turns_;
    Audio& audio_;
    LedDisplay& led_;
    WindowTimers mainTimers_;
    WindowTimers panelTimers_;
    PanelFeedback* panel_ = nullptr;
    const PlayListChooser* chooser_ = nullptr;
    const DriveMenuPopup* popup_ = nullptr;
    DiscChapters chapters_;
    std::unique_ptr<PbcSession> pbc_;
    std::optional<AwaitedDisc> awaitedDisc_;
    PreviousVolume previousVolume_;
};

