#include "app/wiring.h"

#include <memory>
#include <utility>

#include "audio/audio.h"
#include "components/discbay/cdrom_devices.h"
#include "components/discbay/discbay_linux.h"
#include "components/hublet/hublet_desktop.h"
#include "components/maskcut/maskcut_regions.h"
#include "components/nestwell/nestwell_file.h"
#include "components/reelkit/mpv_engine.h"
#include "components/sonokit/pulse_mixer.h"
#include "context/app_context.h"
#include "desktop/idle_inhibitor.h"
#include "disc/dialog/play_list_dialog.h"
#include "disc/play_list.h"
#include "mpris/mpris_service.h"
#include "panel/drive_popup.h"
#include "panel/panel_window.h"
#include "panel/qt_keys.h"
#include "playback/app_command.h"
#include "playback/disc_menu.h"
#include "playback/playback.h"
#include "video/image_window.h"
#include "video/video_frame.h"

void InstallDesktopComponents()
{
    Components& components = app().components;
    components.nestwell = std::make_unique<NestwellFile>();
    components.hublet = std::make_unique<HubletQtDesktop>();
    components.reelkit = std::make_unique<MpvEngine>();
    components.maskcut = std::make_unique<MaskcutBitmapRegions>();
    components.sonokit = std::make_unique<PulseMixer>(msg::MixerControlChange, std::string(), [] {
        app().components.reelkit->soundServerBack();
    });
    components.discbay = MakeLinuxDiscbay([] { return app().drives.current(); });
    app().drives.setDeviceLister(ListCdRomDevices);
}

void WirePlayerLogic(OwnedWindows& windows)
{
    app().keys.setDispatcher([](CommandId command, CommandPhase phase) { return AppPlayback().DispatchCommand(command, phase); });
    AppContext& a = app();
    Playback& playback = AppPlayback();
    windows.playListChooser.emplace(PlayListDialogLinks{.playList = a.playList, .drives = a.drives, .modalLoops = a.modalLoops});
    windows.driveMenuPopup.emplace(a.windows, a.modalLoops);
    playback.setPlayListChooser(&*windows.playListChooser);
    playback.setDriveMenuPopup(&*windows.driveMenuPopup);
}

void AddAudioParts(MainWindowParts& parts)
{
    parts.readMuteState = [](bool repaint) { AppAudio().ReadMuteState(repaint); };
    parts.readVolumeLevel = [](bool repaint) { AppAudio().ReadVolumeLevel(repaint); };
}

void AddPlaybackParts(MainWindowParts& parts)
{
    // Reached at each call: the tests start the records afresh under the same parts.
    parts.dispatchCommand = [](CommandId command, CommandPhase phase) {
        return AppPlayback().DispatchCommand(command, phase);
    };
    parts.appCommandPost = [](uintptr_t wParam, intptr_t lParam) { return AppPlayback().AppCommand_Post(wParam, lParam); };
    parts.appCommandRun = [](uintptr_t wParam, intptr_t lParam) { return AppPlayback().AppCommand_Run(wParam, lParam); };
    parts.pollPosition = [] { return AppPlayback().PollPosition(); };
    parts.loadDisc = [](uintptr_t drive, intptr_t mode) { AppPlayback().LoadDisc(drive, mode); };
    parts.playFiles = [](const std::vector<std::string>& files) { AppPlayback().PlayFiles(files); };
}

MainWindowLinks MainWindowLinksFromApp()
{
    AppContext& a = app();
    return {.components = a.components, .settings = a.settings, .windows = a.windows, .turns = a.turns, .state = a.state};
}

PanelLinks PanelLinksFromApp(Window* main, const PanelCursors* cursors)
{
    AppContext& a = app();
    return {.state = a.state,
            .settings = a.settings,
            .components = a.components,
            .turns = a.turns,
            .modalLoops = a.modalLoops,
            .driveMenus = AppPlayback().driveMenuHooks(),
            .keys = a.keys,
            .led = a.led,
            .windows = a.windows,
            .main = main,
            .cursors = cursors};
}

VideoLinks VideoLinksFromApp(Window* main)
{
    AppContext& a = app();
    return {.state = a.state, .settings = a.settings, .components = a.components, .windows = a.windows, .main = main};
}

FilesDropped DropsInto(MainWindow& mainWindow)
{
    return [&mainWindow](const std::vector<std::string>& files) { mainWindow.playFiles(files); };
}

std::unique_ptr<MprisService> StartMediaControls(const MainWindow& mainWindow)
{
    std::unique_ptr<MprisService> service = MprisService::start(
        {.state = app().state, .settings = app().settings, .components = app().components, .turns = app().turns,
         .windows = app().windows},
        [&mainWindow] { return !mainWindow.destroyed(); });
    if (service)
        QObject::connect(&app().notices, &StateNotices::changed, service.get(), &MprisService::heard);
    return service;
}

bool VideoPlays()
{
    const uint16_t status = app().state.status;
    const bool running = status == engine_status::Playing || status == engine_status::OtherRate ||
                         status == engine_status::Backward;
    const auto* image = dynamic_cast<const ImageWindow*>(app().windows.videoImage);
    return running && image && image->videoShown();
}

std::unique_ptr<IdleInhibitor> StartIdleInhibition()
{
    // Without an address libdbus would try to launch a bus of its own.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return nullptr;
    const QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, "quintara-idle");
    if (!bus.isConnected())
        return nullptr;
    auto inhibitor = std::make_unique<IdleInhibitor>(bus, QStringLiteral("com.halvex.Quintara"));
    IdleInhibitor* heard = inhibitor.get();
    // A held seek pauses the engine but not the shown state, so the screen stays awake then too.
    QObject::connect(&app().notices, &StateNotices::changed, heard, [heard] { heard->setWanted(VideoPlays()); });
    return inhibitor;
}

OwnedWindows::OwnedWindows() = default;

OwnedWindows::~OwnedWindows()
{
    release();
}

void OwnedWindows::release()
{
    VideoWnd_Destroy(video);
    Panel_Destroy(panel);
    Panel_DestroyCursors(cursors);
}

MainWindowParts PlayerParts(OwnedWindows& windows)
{
    windows.videoKeys.emplace(app().keys);
    MainWindowParts parts;
    parts.loadCursors = [&windows] { return Panel_LoadCursors(windows.cursors); };
    parts.destroyCursors = [&windows] { Panel_DestroyCursors(windows.cursors); };
    parts.createPanel = [&windows](std::string& why) {
        return Panel_Create(windows.panel, PanelLinksFromApp(app().windows.main, &windows.cursors),
                            windows.filesDropped, why);
    };
    parts.destroyPanel = [&windows] { Panel_Destroy(windows.panel); };
    parts.createVideoFrame = [&windows](std::string& why) {
        const VideoHooks hooks{.keys = &*windows.videoKeys, .filesDropped = windows.filesDropped};
        return VideoWnd_Create(windows.video, VideoLinksFromApp(app().windows.main), hooks, why);
    };
    parts.destroyVideoFrame = [&windows] { VideoWnd_Destroy(windows.video); };
    parts.createPlayList = [](std::string&) { return PlayList_Create(); };
    parts.destroyPlayList = PlayList_Destroy;
    AddPlaybackParts(parts);
    AddAudioParts(parts);
    return parts;
}

std::vector<std::string> UnwiredParts(const MainWindowParts& parts)
{
    const std::pair<const char*, bool> table[] = {
        {"the panel's cursors", parts.loadCursors && parts.destroyCursors},
        {"the control panel", parts.createPanel && parts.destroyPanel},
        {"the video window", parts.createVideoFrame && parts.destroyVideoFrame},
        {"the play list", parts.createPlayList && parts.destroyPlayList},
        {"the mixer's start-up reads", parts.readMuteState && parts.readVolumeLevel},
        {"the disc events", bool(parts.loadDisc)},
        {"the command dispatcher", bool(parts.dispatchCommand)},
        {"the multimedia keys", parts.appCommandPost && parts.appCommandRun},
        {"the position poll", bool(parts.pollPosition)},
        {"the files of a command line", bool(parts.playFiles)},
        {"the keyboard map", app().keys.wired()},
    };
    std::vector<std::string> missing;
    for (const auto& [name, wired] : table)
        if (!wired)
            missing.emplace_back(name);
    return missing;
}
