#include "app/main_window.h"

#include <memory>

#include "components/components.h"
#include "core/app_windows.h"
#include "core/command_id.h"
#include "core/device_change.h"
#include "core/player_state.h"
#include "core/settings.h"
#include "core/turns.h"

MainWindow::MainWindow(const MainWindowLinks& links, TimerHost& timers, MainWindowHost& host, MainWindowParts& parts)
    : links_(links), timers_(timers), host_(host), parts_(parts)
{
}

MainWindow::~MainWindow()
{
    if (links_.windows.main == this)
        links_.windows.main = nullptr;
}

bool MainWindow::destroyed() const
{
    return links_.windows.closing;
}

int MainWindow::create()
{
    links_.windows.main = this;
    links_.windows.closing = false;

    const std::string user = host_.userName();
    links_.components.nestwell->setUserProfileInfo(user.empty() ? nullptr : user.c_str(), kApplicationKey);

    LoadSettings(links_.settings, links_.windows.instance);

    if (!links_.components.reelkit->init(links_.settings.useActiveMovie != 0)) {
        // The player stays reachable, so that a second start can still close it.
        host_.complain("the media engine could not start; nothing is shown until the player is closed");
        created_ = true;
        return 0;
    }
    engineStarted_ = true;

    cursorsLoaded_ = parts_.loadCursors();
    std::string why;
    if (!makeWindow(parts_.createPanel(why), why, "the control panel"))
        return -1;
    if (links_.settings.useDefaultVideoWindow == 0 &&
        !makeWindow(parts_.createVideoFrame(why), why, "the video window"))
        return -1;
    if (!makeWindow(parts_.createPlayList(why), why, "the play list"))
        return -1;

    links_.components.sonokit->hookDevice(this, 0);
    links_.components.discbay->init(this, msg::DiscEvent);
    parts_.readMuteState(false);
    parts_.readVolumeLevel(false);
    links_.windows.registeredMessage = links_.components.hublet->retrieveRegisterWindowMessage();
    created_ = true;
    return 0;
}

bool MainWindow::makeWindow(bool made, const std::string& why, std::string_view what)
{
    if (!made)
        host_.complain(std::string(what) + " could not be made" + (why.empty() ? "" : ": " + why));
    return made;
}

void MainWindow::destroy()
{
    if (links_.windows.closing)
        return;
    // Asked from inside a dialog's or a menu's loop, the code that opened it still runs on the
    // panel: that loop ends first, and the shut-down runs once its opener has returned.
    if (host_.endModalLoops())
        return;
    links_.windows.closing = true;

    if (links_.windows.panel)
        parts_.destroyPanel();
    if (links_.windows.videoFrame)
        parts_.destroyVideoFrame();
    // The play-list store is the main window's child and goes with it.
    parts_.destroyPlayList();
    links_.components.sonokit->unHookDevice(this, 0);
    links_.components.discbay->deInit(this);
    if (cursorsLoaded_)
        parts_.destroyCursors();
    cursorsLoaded_ = false;
    links_.components.reelkit->deInit();
    for (TimerId id : {main_timer::VolumeRepeat, main_timer::SeekRepeat, main_timer::PositionPoll,
                       main_timer::MixerReattach, main_timer::PbcWait})
        timers_.stop(id);
    host_.postQuit(kOrderlyExitStatus);
}

intptr_t MainWindow::handle(const Message& message)
{
    // A message that comes while the engine opens a track waits its turn; it answers 0 then.
    auto answer = std::make_shared<intptr_t>(0);
    links_.turns.take([this, message, answer] { *answer = handleInTurn(message); });
    return *answer;
}

intptr_t MainWindow::handleInTurn(const Message& message)
{
    if (links_.windows.closing)
        return 0;
    switch (message.id) {
    case msg::Close:
        destroy();
        return 0;
    case msg::EndSession:
        endSession(message.wParam != 0);
        return 0;
    case msg::Timer:
        timerTick(static_cast<TimerId>(message.wParam));
        return 0;
    case msg::AppCommand:
        return parts_.appCommandPost(message.wParam, message.lParam) ? 1 : 0;
    case msg::MixerControlChange:
        mixerChange(message.lParam);
        return 0;
    case msg::MultimediaKey:
        return parts_.appCommandRun(message.wParam, message.lParam) ? 1 : 0;
    case msg::DiscEvent:
        parts_.loadDisc(message.wParam, message.lParam);
        return 1;
    case msg::SecondStart:
        secondStart(message.wParam, message.lParam);
        return 1;
    default:
        break;
    }
    const uint32_t registered = links_.windows.registeredMessage;
    if (registered != 0 && message.id == registered)
        parts_.loadDisc(message.wParam, message.lParam);
    return 0;
}

void MainWindow::timerTick(TimerId id)
{
    links_.turns.take([this, id] { tickInTurn(id); });
}

void MainWindow::tickInTurn(TimerId id)
{
    if (links_.windows.closing)
        return;
    const PlayerState& state = links_.state;
    switch (id) {
    case main_timer::VolumeRepeat:
        dispatch(state.volumeHeldUp ? CommandId::VolumeDown : CommandId::VolumeUp, CommandPhase::Press);
        break;
    case main_timer::SeekRepeat:
        dispatch(state.seekHeldForward ? CommandId::Forward : CommandId::Backward, CommandPhase::Press);
        break;
    case main_timer::PositionPoll:
        parts_.pollPosition();
        break;
    case main_timer::PbcWait:
        parts_.pbcWaitElapsed();
        break;
    case main_timer::MixerReattach:
        timers_.stop(main_timer::MixerReattach);
        links_.components.sonokit->unHookDevice(this, 0);
        links_.components.sonokit->hookDevice(this, 0);
        break;
    default:
        break;
    }
}

void MainWindow::deviceChange(uint32_t event, const DeviceHeader* header)
{
    if (!header)
        return;
    links_.turns.take([this, event, header = *header] { deviceChangeInTurn(event, header); });
}

void MainWindow::deviceChangeInTurn(uint32_t event, const DeviceHeader& header)
{
    if (links_.windows.closing)
        return;
    if (event != device_event::Arrival && event != device_event::RemoveComplete)
        return;
    switch (header.deviceType) {
    case device_type::Oem:
    case device_type::DevNode:
        // A burst of arrivals gives one re-attach, a second after the last.
        timers_.stop(main_timer::MixerReattach);
        timers_.start(main_timer::MixerReattach, main_timer::MixerReattachDelay);
        break;
    case device_type::Volume:
        links_.components.discbay->deviceChange(event, &header);
        break;
    default:
        break;
    }
}

void MainWindow::endSession(bool ending)
{
    if (ending)
        handle({msg::Close, 0, 0});
}

void MainWindow::post(const Message& message)
{
    host_.post(message);
}

void MainWindow::mixerChange(intptr_t controlId)
{
    const uint32_t line = links_.settings.controlMasterVolume ? 0 : 8;
    SonokitMixer& mixer = *links_.components.sonokit;
    const auto is = [controlId](std::optional<uint32_t> id) { return id && static_cast<intptr_t>(*id) == controlId; };
    if (is(mixer.getControlId(0, line, 0))) {
        parts_.readMuteState(true);
    } else if (is(mixer.getControlId(0, line, 1))) {
        parts_.readVolumeLevel(true);
    }
}

void MainWindow::playFiles(const std::vector<std::string>& files)
{
    links_.turns.take([this, files] {
        if (created_ && !links_.windows.closing && !files.empty())
            parts_.playFiles(files);
    });
}

void MainWindow::secondStart(uintptr_t request, intptr_t drive)
{
    if (request == second_start::Play)
        dispatch(CommandId::Play, CommandPhase::Click);
    // A drive outside A: to Z: can only come from a hostile peer; it names no drive.
    else if (request == second_start::LoadDrive && drive >= 0 && drive < 26)
        parts_.loadDisc(static_cast<uintptr_t>(drive), 0);
}

void MainWindow::dispatch(CommandId command, CommandPhase phase)
{
    parts_.dispatchCommand(command, phase);
}
