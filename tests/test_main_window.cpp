#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "app/player_records.h"
#include "core/device_change.h"
#include "app/main_window.h"
#include "app/wiring.h"
#include "core/modal_loop.h"
#include "tests/support/function_host.h"
#include "tests/support/manual_timers.h"
#include "tests/support/recording_components.h"
#include "tests/support/temp_dir.h"

namespace {
using ::testing::ElementsAre;

// A window that stands in for the panel or the video frame.
class StandIn : public Window {
public:
    void post(const Message&) override {}
    TimerHost& timers() override { return timers_; }

private:
    ManualClock clock_;
    ManualTimers timers_{clock_};
};

class MainWindowTest : public ::testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    FunctionHost host;  // outlives the main window
    void SetUp() override
    {
        folder.write("quintara", "");
        records.windows.instance = folder.file("quintara");
        InstallRecordingComponents(records.components, journal);
    }
    void TearDown() override
    {
        window.reset();
    }

    void writeConfig(const std::string& text) { folder.write("Quintara.CFG", text); }

    // Every part, each noting its calls in the journal.
    class RecordingParts : public MainWindowParts {
    public:
        explicit RecordingParts(MainWindowTest& test) : t_(test) {}
        bool loadCursors() override { return t_.note("LoadCursors"), true; }
        void destroyCursors() override { t_.note("DestroyCursors"); }
        bool createPanel(std::string& why) override
        {
            t_.note("Panel_Create");
            if (t_.refusePanel)
                why = "the skin names no face picture";
            else
                t_.records.windows.panel = &t_.panel;
            return !t_.refusePanel;
        }
        void destroyPanel() override
        {
            t_.note("DestroyPanel");
            t_.records.windows.panel = nullptr;
        }
        bool createVideoFrame(std::string&) override
        {
            t_.note("VideoWnd_Create");
            t_.records.windows.videoFrame = &t_.frame;
            return true;
        }
        void destroyVideoFrame() override
        {
            t_.note("DestroyVideoFrame");
            t_.records.windows.videoFrame = nullptr;
        }
        bool createPlayList(std::string&) override { return t_.note("PlayList_Create"), true; }
        void destroyPlayList() override {}
        void readMuteState(bool repaint) override { t_.note("ReadMuteState(" + std::to_string(repaint) + ")"); }
        void readVolumeLevel(bool repaint) override { t_.note("ReadVolumeLevel(" + std::to_string(repaint) + ")"); }
        void loadDisc(uintptr_t drive, intptr_t mode) override
        {
            t_.note("LoadDisc(" + std::to_string(drive) + "," + std::to_string(mode) + ")");
        }
        bool dispatchCommand(CommandId command, CommandPhase phase) override
        {
            t_.note("DispatchCommand(" + std::to_string(CommandNumber(command)) + "," +
                    std::to_string(CommandPhaseNumber(phase)) + ")");
            return true;
        }
        bool appCommandPost(uintptr_t, intptr_t) override { return false; }
        bool appCommandRun(uintptr_t, intptr_t lParam) override
        {
            t_.note("AppCommand_Run(" + std::to_string(lParam) + ")");
            return true;
        }
        bool pollPosition() override { return t_.note("PollPosition"), true; }
        void pbcWaitElapsed() override { t_.note("PbcWaitElapsed"); }
        void playFiles(const std::vector<std::string>&) override {}

    private:
        MainWindowTest& t_;
    };

    MainWindow& make()
    {
        host.onPost = [this](const Message& message) { queue.post(message); };
        host.onPostQuit = [this](int status) { quitStatus = status; };
        host.onUserName = [this] { return userName; };
        host.onComplain = [this](std::string_view text) { complaints.emplace_back(text); };
        host.onEndModalLoops = [this] { return endModalLoops && endModalLoops(); };
        window = std::make_unique<MainWindow>(MainWindowLinksOf(records), timers, host, parts);
        timers.setTick([this](TimerId id) { window->timerTick(id); });
        return *window;
    }

    MainWindow& started()
    {
        MainWindow& w = make();
        EXPECT_EQ(w.create(), 0);
        journal.clear();
        return w;
    }

    void note(const std::string& call) { journal.push_back(call); }

    TempDir folder;
    Journal journal;
    ManualClock clock;
    ManualTimers timers{clock};
    ManualQueue queue;
    std::unique_ptr<MainWindow> window;
    std::optional<int> quitStatus;
    std::vector<std::string> complaints;
    std::string userName = "alice";
    std::function<bool()> endModalLoops;
    bool refusePanel = false;
    StandIn panel;
    StandIn frame;
    RecordingParts parts{*this};
};

TEST_F(MainWindowTest, StartsAndEndsInTheOrderTheComponentsRelyOn)
{
    writeConfig("[Initiation]\nUse ActiveMovie=0\n");
    MainWindow& w = make();
    ASSERT_EQ(w.create(), 0);
    EXPECT_EQ(records.windows.main, &w);
    EXPECT_EQ(records.windows.registeredMessage, 0xC123u);
    // "Use ActiveMovie" reaching the engine shows the settings were loaded before it.
    EXPECT_THAT(journal, ElementsAre("Nestwell_SetUserProfileInfo(alice,Halvex\\VideoPlayer)", "Reelkit_Init(0)",
                                     "LoadCursors", "Panel_Create", "VideoWnd_Create", "PlayList_Create",
                                     "Sonokit_HookDevice(0)", "Discbay_Init(1124)", "ReadMuteState(0)",
                                     "ReadVolumeLevel(0)", "Hublet_RetrieveRegisterWindowMessage"));
    EXPECT_EQ(records.settings.cfgPath, folder.path() + "/Quintara.CFG");

    journal.clear();
    w.handle({msg::Close, 0, 0});
    EXPECT_THAT(journal, ElementsAre("DestroyPanel", "DestroyVideoFrame", "Sonokit_UnHookDevice(0)", "Discbay_DeInit",
                                     "DestroyCursors", "Reelkit_DeInit"));
    EXPECT_EQ(quitStatus, kOrderlyExitStatus);
    EXPECT_TRUE(complaints.empty());

    // A second close finds the window gone.
    journal.clear();
    w.handle({msg::Close, 0, 0});
    EXPECT_TRUE(journal.empty());
}

TEST_F(MainWindowTest, WithoutAUserNameTheProfileStoreGetsNone)
{
    userName.clear();
    make().create();
    EXPECT_EQ(journal.front(), "Nestwell_SetUserProfileInfo(<none>,Halvex\\VideoPlayer)");
}

TEST_F(MainWindowTest, ACloseInsideModalLoopsEndsThemAndShutsDownOnceTheirOpenersHaveReturned)
{
    // As the desktop host does: the loops are ended, and Close comes again through the queue.
    endModalLoops = [this] {
        note("EndModalLoops");
        return records.modalLoops.whenAllEnded([this] { queue.post({msg::Close, 0, 0}); });
    };
    MainWindow& w = started();
    {
        const ModalLoop dialog(records.modalLoops);
        {
            const ModalLoop menu(records.modalLoops);
            w.handle({msg::Close, 0, 0});
            w.handle({msg::EndSession, 1, 0});
        }
        EXPECT_THAT(journal, ElementsAre("EndModalLoops", "EndModalLoops"));
        EXPECT_FALSE(w.destroyed());
        EXPECT_FALSE(quitStatus);
        EXPECT_TRUE(queue.empty()) << "the outer opener still runs";
        EXPECT_TRUE(records.modalLoops.running());
    }
    EXPECT_FALSE(records.modalLoops.running());
    const std::vector<Message> posted = queue.take();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].id, msg::Close);

    journal.clear();
    w.handle(posted[0]);
    EXPECT_THAT(journal, ElementsAre("EndModalLoops", "DestroyPanel", "DestroyVideoFrame", "Sonokit_UnHookDevice(0)",
                                     "Discbay_DeInit", "DestroyCursors", "Reelkit_DeInit"));
    EXPECT_EQ(quitStatus, kOrderlyExitStatus);
    {
        const ModalLoop later(records.modalLoops);
    }
    EXPECT_TRUE(queue.empty()) << "nothing is left waiting for a loop";
}

TEST_F(MainWindowTest, DefaultVideoWindowSkipsTheSkinnedFrame)
{
    writeConfig("[initiation]\nuse default video window = 1\n");
    MainWindow& w = make();
    ASSERT_EQ(w.create(), 0);
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "VideoWnd_Create"), 0);
    journal.clear();
    w.destroy();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "DestroyVideoFrame"), 0);
    EXPECT_EQ(journal.front(), "DestroyPanel");
}

TEST_F(MainWindowTest, AnEngineThatFailsLeavesOnlyTheMainWindowButCleansUpAtTheEnd)
{
    static_cast<RecordingReelkit&>(*records.components.reelkit).initResult = false;
    MainWindow& w = make();
    EXPECT_EQ(w.create(), 0);
    EXPECT_FALSE(w.engineStarted());
    EXPECT_EQ(journal.back(), "Reelkit_Init(1)");
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_NE(complaints[0].find("media engine"), std::string::npos);

    journal.clear();
    w.handle({msg::Close, 0, 0});
    EXPECT_THAT(journal, ElementsAre("Sonokit_UnHookDevice(0)", "Discbay_DeInit", "Reelkit_DeInit"));
    EXPECT_EQ(quitStatus, kOrderlyExitStatus);
}

TEST_F(MainWindowTest, APanelThatCannotBeMadeRefusesTheStartAndSaysWhy)
{
    refusePanel = true;
    MainWindow& w = make();
    EXPECT_EQ(w.create(), -1);
    EXPECT_EQ(journal.back(), "Panel_Create");
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0], "the control panel could not be made: the skin names no face picture");
}

TEST_F(MainWindowTest, DeviceBurstGivesOneMixerReattachASecondAfterTheLast)
{
    MainWindow& w = started();
    DeviceHeader node;
    node.deviceType = device_type::DevNode;
    w.deviceChange(device_event::Arrival, &node);
    clock.advance(200);
    node.deviceType = device_type::Oem;
    w.deviceChange(device_event::RemoveComplete, &node);
    clock.advance(300);
    node.deviceType = device_type::DevNode;
    w.deviceChange(device_event::Arrival, &node);

    clock.advance(999);
    EXPECT_TRUE(journal.empty());
    clock.advance(1);
    EXPECT_THAT(journal, ElementsAre("Sonokit_UnHookDevice(0)", "Sonokit_HookDevice(0)"));
    EXPECT_FALSE(timers.isRunning(main_timer::MixerReattach));
    clock.advance(5000);
    EXPECT_EQ(journal.size(), 2u);
}

TEST_F(MainWindowTest, VolumeNoticesGoToTheDrivesAndOthersAreIgnored)
{
    MainWindow& w = started();
    DeviceHeader volume;
    volume.deviceType = device_type::Volume;
    volume.unitMask = 1u << 4;
    w.deviceChange(device_event::Arrival, &volume);
    w.deviceChange(device_event::RemoveComplete, &volume);
    w.deviceChange(0x8001 /* a removal query */, &volume);
    DeviceHeader port;
    port.deviceType = 3;
    w.deviceChange(device_event::Arrival, &port);
    w.deviceChange(device_event::Arrival, nullptr);
    EXPECT_THAT(journal, ElementsAre("Discbay_DeviceChange(32768,16)", "Discbay_DeviceChange(32772,16)"));
    EXPECT_FALSE(timers.isRunning(main_timer::MixerReattach));
}

TEST_F(MainWindowTest, MixerChangesReadBackTheControlThatChanged)
{
    auto& mixer = static_cast<RecordingSonokit&>(*records.components.sonokit);
    for (uint32_t master : {0u, 1u}) {
        MainWindow& w = started();
        records.settings.controlMasterVolume = master;
        const uint32_t line = master ? 0 : 8;
        const uint32_t otherLine = master ? 8 : 0;
        w.handle({msg::MixerControlChange, 0, static_cast<intptr_t>(mixer.muteId(line))});
        w.handle({msg::MixerControlChange, 0, static_cast<intptr_t>(mixer.volumeId(line))});
        w.handle({msg::MixerControlChange, 0, static_cast<intptr_t>(mixer.muteId(otherLine))});
        w.handle({msg::MixerControlChange, 0, 999});
        EXPECT_THAT(journal, ElementsAre("ReadMuteState(1)", "ReadVolumeLevel(1)")) << "master " << master;
    }
}

TEST_F(MainWindowTest, SessionEndClosesOnlyWhenItReallyEnds)
{
    MainWindow& w = started();
    w.handle({msg::EndSession, 0, 0});
    EXPECT_FALSE(w.destroyed());
    EXPECT_FALSE(quitStatus);
    w.handle({msg::EndSession, 1, 0});
    EXPECT_TRUE(w.destroyed());
    EXPECT_EQ(quitStatus, kOrderlyExitStatus);
}

TEST_F(MainWindowTest, MessagesReachTheirHandlers)
{
    MainWindow& w = started();
    struct Case {
        Message message;
        intptr_t result;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {{msg::DiscEvent, 3, 0}, 1, {"LoadDisc(3,0)"}},
        {{msg::DiscEvent, 3, 1}, 1, {"LoadDisc(3,1)"}},
        {{msg::SecondStart, second_start::Play, 0}, 1, {"DispatchCommand(10,3)"}},
        {{msg::SecondStart, second_start::LoadDrive, 4}, 1, {"LoadDisc(4,0)"}},
        {{msg::SecondStart, second_start::LoadDrive, 26}, 1, {}},
        {{msg::SecondStart, second_start::LoadDrive, -1}, 1, {}},
        {{msg::SecondStart, 2, 0}, 1, {}},
        {{0xC123, 5, 1}, 0, {"LoadDisc(5,1)"}},
        {{0xC124, 5, 1}, 0, {}},
        {{msg::MultimediaKey, 0, 14 << 16}, 1, {"AppCommand_Run(917504)"}},
        {{0x0200 /* pointer moved */, 0, 0}, 0, {}},
    };
    for (const Case& c : cases) {
        journal.clear();
        EXPECT_EQ(w.handle(c.message), c.result) << "message " << c.message.id;
        EXPECT_EQ(journal, c.calls) << "message " << c.message.id;
    }
}

TEST_F(MainWindowTest, TimersRepeatTheHeldCommandAndPoll)
{
    MainWindow& w = started();
    records.state.volumeHeldUp = 1;
    records.state.seekHeldForward = 0;
    w.timerTick(main_timer::VolumeRepeat);
    w.timerTick(main_timer::SeekRepeat);
    records.state.volumeHeldUp = 0;
    records.state.seekHeldForward = 1;
    w.timerTick(main_timer::VolumeRepeat);
    w.timerTick(main_timer::SeekRepeat);
    w.timerTick(main_timer::PositionPoll);
    w.timerTick(999);
    EXPECT_THAT(journal, ElementsAre("DispatchCommand(32,0)", "DispatchCommand(18,0)", "DispatchCommand(31,0)",
                                     "DispatchCommand(19,0)", "PollPosition"));
}

}  // namespace
