#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "playback/app_command.h"
#include "core/command_strings.h"
#include "playback/playback.h"
#include "tests/support/command_numbers.h"
#include "tests/support/playback_fixture.h"
#include "tests/support/recording_components.h"
#include "tests/support/temp_dir.h"
#include "core/sys_command.h"
#include "video/video_window.h"

namespace {
// The commands of the table, by the phase they act at.
const std::set<int32_t> kClickCommands{1,  2,  3,  10, 11, 12, 13, 14, 15,  16,  17,  20,  21,  22,  23,  30,
                                       33, 34, 35, 36, 40, 41, 42, 43, 50, 51, 100, 101, 102, 103, 104, 105, 106,
                                       107, 108, 109, 110, 120};
const std::set<int32_t> kHeldCommands{18, 19, 31, 32};

// A mixer whose one line stands at 50 of 0..100 with its mute off, writing each write into calls.
class StepMixer : public NoMixer {
public:
    explicit StepMixer(std::vector<std::string>& calls) : calls_(calls) {}
    std::optional<std::vector<uint32_t>> getValue(uint32_t, uint32_t, uint32_t kind) override
    {
        return std::vector<uint32_t>{kind == 0 ? 0u : 50u};
    }
    bool setValue(uint32_t, uint32_t, uint32_t kind, const std::vector<uint32_t>& values) override
    {
        if (kind == 0)
            calls_.push_back("toggleMute(" + std::to_string(values.at(0)) + ")");
        else
            calls_.push_back(values.at(0) > 50 ? "stepVolume(up)" : "stepVolume(down)");
        return true;
    }
    std::optional<MixerRange> getMaxMinValue(uint32_t, uint32_t, uint32_t) override { return MixerRange{100, 0}; }

private:
    std::vector<std::string>& calls_;
};

// One CD-ROM drive, D:.
class OneDrive : public NoDrives {
public:
    std::optional<uint32_t> getTotalCDRomDrives() override { return 1; }
    std::optional<uint32_t> getCDRomDrive(uint32_t ordinal) override
    {
        return ordinal == 1 ? std::optional<uint32_t>(3) : std::nullopt;
    }
};

class DispatchTest : public PlaybackTest {
protected:
    // The play-list chooser and the panel's check buttons, each writing what it was asked into calls.
    void installAllHooks()
    {
        choosePlayList([this](Window* owner) {
            calls.push_back(owner == &panel ? "showPlayListDialog(panel)" : "showPlayListDialog(?)");
            return false;
        });
        buttonChecked = [this](CommandId command, bool checked) {
            calls.push_back("setButtonChecked(" + std::to_string(CommandNumber(command)) + "," + std::to_string(checked) + ")");
        };
    }

    // An entry of "1" in progress on a list of 200 tracks, track 5 open.
    void beginEntry()
    {
        setTracks(200);
        records.state.trackCount = 200;
        records.state.currentTrack = 5;
        ASSERT_TRUE(records.playback.EnterDigit(1));
        ASSERT_TRUE(records.state.entryActive);
        panel.refreshes.clear();
    }

    std::vector<std::string> calls;
};

TEST_F(DispatchTest, EachCommandActsOnlyAtItsPhasesAndNoOtherNumberExists)
{
    installAllHooks();
    for (int32_t command = -2; command <= 130; ++command) {
        const std::optional<CommandId> id = CommandIdFromNumber(command);
        const bool exists = kClickCommands.contains(command) || kHeldCommands.contains(command);
        EXPECT_EQ(id.has_value(), exists) << command;
        if (id) {
            EXPECT_EQ(CommandNumber(*id), command);
        }
        for (int32_t phase = -1; phase <= 4; ++phase) {
            const bool click = phase == 3 && kClickCommands.contains(command);
            const bool held = phase >= 0 && phase <= 2 && kHeldCommands.contains(command);
            EXPECT_EQ(DispatchNumbers(records.playback, command, phase), click || held) << "command " << command << " phase " << phase;
            // A value outside the table that reaches the dispatcher is refused there too.
            if (const std::optional<CommandPhase> at = CommandPhaseFromNumber(phase)) {
                EXPECT_EQ(records.playback.DispatchCommand(static_cast<CommandId>(command), *at), click || held)
                    << "command " << command << " phase " << phase;
            }
        }
    }
}

TEST(CommandStrings, EveryCommandHasItsTooltipTextAndNoOtherNumberHasOne)
{
    for (int32_t id = -1; id <= 130; ++id) {
        const bool exists = kClickCommands.contains(id) || kHeldCommands.contains(id);
        EXPECT_EQ(CommandTooltip(static_cast<CommandId>(id)).empty(), !exists) << id;
    }
    struct Case {
        int32_t id;
        const char* text;
    };
    for (const Case c : {Case{1, "Minimize"}, Case{12, "Play/Pause"}, Case{15, "Stop/Eject"}, Case{17, "Previous Track"},
                         Case{30, "Mute/UnMute"}, Case{31, "Volume Up"}, Case{32, "Volume Down"},
                         Case{36, "Audio Properties"}, Case{41, "Play List"}, Case{50, "Video Topmost"},
                         Case{100, "0"}, Case{109, "9"}, Case{110, "+ 10"}, Case{120, "Return"}})
        EXPECT_EQ(CommandTooltip(*CommandIdFromNumber(c.id)), c.text) << c.id;
}

TEST_F(DispatchTest, ARefusedCommandRunsNothing)
{
    installAllHooks();
    setTracks(3);
    records.state.trackCount = 3;
    struct Case {
        int32_t command;
        int32_t phase;
    };
    for (const Case c : {Case{19, 3}, Case{18, 3}, Case{31, 3}, Case{32, 3}, Case{10, 0}, Case{13, 2}, Case{30, 1},
                         Case{105, 0}, Case{120, 2}, Case{0, 3}, Case{4, 3}, Case{121, 3}}) {
        EXPECT_FALSE(DispatchNumbers(records.playback, c.command, c.phase)) << c.command << "," << c.phase;
    }
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(engine->log.empty());
    EXPECT_TRUE(records.state.seekIdle);
    EXPECT_FALSE(mainTimers.isRunning(main_timer::SeekRepeat));
}

TEST_F(DispatchTest, WithoutAPlayListChooserThePlayListCommandIsRefused)
{
    beginEntry();
    EXPECT_FALSE(DispatchNumbers(records.playback, 41, 3));
    EXPECT_TRUE(records.state.entryActive) << "a refused Play List must not end the entry";
}

TEST_F(DispatchTest, CommandsOfOtherPartsReachThemWithTheirArguments)
{
    installAllHooks();
    loadTracks(1, 1, 2);
    calls.clear();
    EXPECT_TRUE(DispatchNumbers(records.playback, 41, 3));
    EXPECT_EQ(calls, std::vector<std::string>{"showPlayListDialog(panel)"});

    struct Case {
        int32_t command;
        int32_t phase;
        bool volumeHeldUp;
    };
    // 31 "Volume Up" lowers, 32 "Volume Down" raises.
    const Case cases[] = {{31, 0, 0}, {31, 1, 0}, {31, 2, 0}, {32, 0, 1}, {32, 1, 1}, {32, 2, 1}};
    for (const Case& c : cases) {
        records.state.volumeHeldUp = c.command == 31;
        EXPECT_TRUE(DispatchNumbers(records.playback, c.command, c.phase)) << c.command;
        EXPECT_EQ(records.state.volumeHeldUp, c.volumeHeldUp) << c.command;
    }

    // The disc menus of one drive hand its item to the panel at once; Stop/Eject stops what
    // plays; Mute inverts the mixer's mute.
    records.components.discbay = std::make_unique<OneDrive>();
    records.components.sonokit = std::make_unique<StepMixer>(calls);
    calls.clear();
    panel.posted.clear();
    engine->log.clear();
    for (const int32_t command : {14, 42, 15, 30})
        EXPECT_TRUE(DispatchNumbers(records.playback, command, 3)) << command;
    EXPECT_EQ(panel.posted, (std::vector<Message>{{msg::Command, drive_item::EjectFirst + 3, 0},
                                                  {msg::Command, drive_item::LoadFirst + 3, 0}}));
    EXPECT_EQ(engine->log, std::vector<std::string>{"stopAndSeekToStart"});
    EXPECT_EQ(calls, std::vector<std::string>{"toggleMute(1)"});
}

TEST_F(DispatchTest, HeldSeekRecordsWhichCommandTheTimerRepeats)
{
    loadTracks(1, 1, 2);
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Forward, CommandPhase::Press));
    EXPECT_TRUE(records.state.seekHeldForward);
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Forward, CommandPhase::Release));
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Backward, CommandPhase::Press));
    EXPECT_FALSE(records.state.seekHeldForward);
    EXPECT_TRUE(DispatchNumbers(records.playback, 18, 1));  // phase 1 releases like phase 2
    EXPECT_TRUE(records.state.seekIdle);
    EXPECT_FALSE(mainTimers.isRunning(main_timer::SeekRepeat));
}

TEST_F(DispatchTest, EveryCommandButDigitsAndReturnEndsANumericEntry)
{
    installAllHooks();
    struct Case {
        int32_t command;
        int32_t phase;
        bool ends;
    };
    const Case cases[] = {
        {13, 3, true},  {40, 3, true},  {50, 3, true},  {51, 3, true},  {30, 3, true}, {19, 0, true},
        {31, 2, true},  {105, 3, false}, {110, 3, false}, {100, 3, false},
    };
    for (const Case& c : cases) {
        beginEntry();
        EXPECT_TRUE(DispatchNumbers(records.playback, c.command, c.phase)) << c.command;
        EXPECT_EQ(records.state.entryActive, !c.ends) << c.command;
        EXPECT_EQ(panel.manualTimers().isRunning(panel_timer::EntryBlink), !c.ends) << c.command;
        EXPECT_EQ(panel.manualTimers().isRunning(panel_timer::EntryEnd), !c.ends) << c.command;
        if (c.ends) {
            EXPECT_EQ(panel.refreshes.back(), "TrackNumber(1)") << c.command;
            EXPECT_EQ(records.state.enteredNumber, 0u);
            EXPECT_TRUE(records.state.entryBlinkOn);
        }
        records.playback.EndTrackEntry(false);
    }
}

TEST_F(DispatchTest, EndTrackEntryWithoutAnEntryDoesNothing)
{
    records.state.entryBlinkOn = 0;
    records.state.enteredNumber = 4;
    EXPECT_TRUE(records.playback.EndTrackEntry(true));
    EXPECT_TRUE(panel.refreshes.empty());
    EXPECT_FALSE(records.state.entryBlinkOn);
    EXPECT_EQ(records.state.enteredNumber, 4u);
}

TEST_F(DispatchTest, VideoCommandsWithoutTheirWindowsOnlyEndTheEntry)
{
    installAllHooks();
    records.windows.videoImage = nullptr;
    records.windows.videoFrame = nullptr;
    for (const CommandId command : {CommandId::VideoTopmost, CommandId::VideoSize}) {
        beginEntry();
        EXPECT_TRUE(records.playback.DispatchCommand(command, CommandPhase::Click));
        EXPECT_FALSE(records.state.entryActive);
    }
    EXPECT_FALSE(records.state.videoTopmost);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(videoImage.posted.empty());
    EXPECT_TRUE(videoFrame.topmost.empty());
}

TEST_F(DispatchTest, VideoTopmostTogglesTheFrameAndThePanelButton)
{
    installAllHooks();
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::VideoTopmost, CommandPhase::Click));
    EXPECT_TRUE(records.state.videoTopmost);
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::VideoTopmost, CommandPhase::Click));
    EXPECT_FALSE(records.state.videoTopmost);
    EXPECT_EQ(videoFrame.topmost, (std::vector<bool>{true, false}));
    EXPECT_EQ(calls, (std::vector<std::string>{"setButtonChecked(50,1)", "setButtonChecked(50,0)"}));
}

TEST_F(DispatchTest, VideoSizeAsksTheImageWindowToToggleItsSize)
{
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::VideoSize, CommandPhase::Click));
    EXPECT_EQ(videoImage.sizeToggles, 1);
}

TEST_F(DispatchTest, MinimizeAddressesOnlyAPanelThatIsNotMinimised)
{
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Minimize, CommandPhase::Click));
    EXPECT_EQ(panel.minimizes, 1);
    panel.isMinimized = true;
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Minimize, CommandPhase::Click));
    EXPECT_EQ(panel.minimizes, 1);
    EXPECT_TRUE(videoFrame.posted.empty());
    records.windows.panel = nullptr;
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Minimize, CommandPhase::Click));
}

TEST_F(DispatchTest, PowerAsksTheMainWindowToClose)
{
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Power, CommandPhase::Click));
    EXPECT_EQ(mainQueue.take(), (std::vector<Message>{{msg::Close, 0, 0}}));
}

TEST_F(DispatchTest, HelpOpensTheDocumentBesideTheExecutableAndNothingWhenUnset)
{
    Journal journal;
    records.components.hublet = std::make_unique<RecordingHublet>(journal);
    TempDir folder;
    records.settings.exeDir = folder.path() + "/";
    records.settings.cfgPath = folder.file("Quintara.CFG");

    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Help, CommandPhase::Click));  // no configuration file
    folder.write("Quintara.CFG", "[Initiation]\nHelp File=\n");
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Help, CommandPhase::Click));
    EXPECT_TRUE(journal.empty());

    // Read at each Help: an edit shows at the next one.
    folder.write("Quintara.CFG", "[Initiation]\nHelp File=Manual.html\n");
    EXPECT_TRUE(records.playback.DispatchCommand(CommandId::Help, CommandPhase::Click));
    EXPECT_EQ(journal, Journal{"Hublet_ExecuteCommand(" + folder.path() + "/Manual.html)"});
}

TEST_F(DispatchTest, MultimediaKeysAreRepostedToTheMainWindowOnlyWhenKnown)
{
    for (uint32_t appCommand = 0; appCommand <= 60; ++appCommand) {
        const intptr_t lParam = static_cast<intptr_t>(appCommand) << 16;
        const bool known = appCommand >= 8 && appCommand <= 14;
        EXPECT_EQ(mainWindow->handle({msg::AppCommand, 0x55, lParam}), known ? 1 : 0) << appCommand;
        const std::vector<Message> posted = mainQueue.take();
        if (known) {
            EXPECT_EQ(posted, (std::vector<Message>{{msg::MultimediaKey, 0x55, lParam}})) << appCommand;
        } else {
            EXPECT_TRUE(posted.empty()) << appCommand;
        }
    }
    // The device bits above the command do not change it.
    EXPECT_TRUE(records.playback.AppCommand_Post(0, (0x8000 | 14) << 16));
    EXPECT_FALSE(records.playback.AppCommand_Run(0, 7 << 16));
    EXPECT_FALSE(records.playback.AppCommand_Run(0, 15 << 16));
}

TEST_F(DispatchTest, AVolumeKeyGivesExactlyOneStep)
{
    records.components.sonokit = std::make_unique<StepMixer>(calls);
    records.settings.maxVolumeLevel = 10;
    for (const auto& [appCommand, expected] :
         {std::pair{9, std::vector<std::string>{"stepVolume(down)"}},
          std::pair{10, std::vector<std::string>{"stepVolume(up)"}},
          std::pair{8, std::vector<std::string>{"toggleMute(1)"}}}) {
        calls.clear();
        mainWindow->handle({msg::AppCommand, 0, appCommand << 16});
        EXPECT_TRUE(calls.empty()) << "handled from the queue, not at once";
        runMainQueue();
        EXPECT_EQ(calls, expected) << appCommand;
        // The release ended the repeat: no further step comes.
        EXPECT_FALSE(mainTimers.isRunning(main_timer::VolumeRepeat)) << appCommand;
    }
}

TEST_F(DispatchTest, MediaKeysDriveTheTransportAndTheTracks)
{
    loadTracks(3, 1, 0);
    const auto key = [this](intptr_t appCommand) {
        mainWindow->handle({msg::AppCommand, 0, appCommand << 16});
        runMainQueue();
    };
    key(14);  // play/pause from stopped plays
    EXPECT_EQ(engine->status, 2);
    key(11);  // next track, and it goes on playing
    EXPECT_EQ(records.state.currentTrack, 2u);
    EXPECT_EQ(engine->openPath, track(2));
    EXPECT_EQ(engine->status, 2);
    key(12);  // previous track
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(engine->status, 2);
    key(14);  // playing at normal speed: pause
    EXPECT_EQ(engine->status, 1);
    key(13);  // stop, back to the start
    EXPECT_EQ(engine->log.back(), "stopAndSeekToStart");
    EXPECT_EQ(records.state.status, 0);
}
}  // namespace
