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
    AppContext& a = app();
    Playback& playback = AppPlayback();
    a.keys.setSink(&playback);
    windows.playListChooser.emplace(PlayListDialogLinks{.playList = a.playList, .drives = a.drives, .modalLoops = a.modalLoops});
    windows.driveMenuPopup.emplace(a.windows, a.modalLoops);
    playback.setPlayListChooser(&*windows.playListChooser);
    playback.setDriveMenuPopup(&*windows.driveMenuPopup);
}

// Reached at each call: the tests start the records afresh under the same parts.
void LogicParts::readMuteState(bool repaint)
{
    AppAudio().ReadMuteState(repaint);
}

void LogicParts::readVolumeLevel(bool repaint)
{
    AppAudio().ReadVolumeLevel(repaint);
}

void LogicParts::loadDisc(uintptr_t drive, intptr_t mode)
{
    AppPlayback().LoadDisc(drive, mode);
}

bool LogicParts::dispatchCommand(CommandId command, CommandPhase phase)
{
    return AppPlayback().DispatchCommand(command, phase);
}

bool LogicParts::appCommandPost(uintptr_t wParam, intptr_t lParam)
{
    return AppPlayback().AppCommand_Post(wParam, lParam);
}

bool LogicParts::appCommandRun(uintptr_t wParam, intptr_t lParam)
{
    return AppPlayback().AppCommand_Run(wParam, lParam);
}

bool LogicParts::pollPosition()
{
    return AppPlayback().PollPosition();
}

void LogicParts::playFiles(const std::vector<std::string>& files)
{
    AppPlayback().PlayFiles(files);
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
            .audio = AppAudio(),
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

PlayerParts::PlayerParts(OwnedWindows& windows) : windows_(windows)
{
    windows_.videoKeys.emplace(app().keys);
}

bool PlayerParts::loadCursors()
{
    return Panel_LoadCursors(windows_.cursors);
}

void PlayerParts::destroyCursors()
{
    Panel_DestroyCursors(windows_.cursors);
}

bool PlayerParts::createPanel(std::string& why)
{
    return Panel_Create(windows_.panel, PanelLinksFromApp(app().windows.main, &windows_.cursors), windows_.filesDropped,
                        why);
}

void PlayerParts::destroyPanel()
{
    Panel_Destroy(windows_.panel);
}

bool PlayerParts::createVideoFrame(std::string& why)
{
    const VideoHooks hooks{.keys = &*windows_.videoKeys, .filesDropped = windows_.filesDropped};
    return VideoWnd_Create(windows_.video, VideoLinksFromApp(app().windows.main), hooks, why);
}

void PlayerParts::destroyVideoFrame()
{
    VideoWnd_Destroy(windows_.video);
}

bool PlayerParts::createPlayList(std::string&)
{
    return PlayList_Create();
}

void PlayerParts::destroyPlayList()
{
    PlayList_Destroy();
}

std::vector<std::string> UnwiredParts()
{
    if (app().keys.wired())
        return {};
    return {"the keyboard map"};
}
