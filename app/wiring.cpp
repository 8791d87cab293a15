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

void InstallDesktopComponents(PlayerRecords& records)
{
    Components& components = records.components;
    components.nestwell = std::make_unique<NestwellFile>();
    components.hublet = std::make_unique<HubletQtDesktop>();
    auto engine = std::make_unique<MpvEngine>();
    auto mixer = std::make_unique<PulseMixer>(msg::MixerControlChange);
    QObject::connect(mixer.get(), &PulseMixer::serverBack, engine.get(), &MpvEngine::soundServerBack);
    components.reelkit = std::move(engine);
    components.sonokit = std::move(mixer);
    components.maskcut = std::make_unique<MaskcutBitmapRegions>();
    components.discbay = MakeLinuxDiscbay(records.drives);
    records.drives.setDeviceList(std::make_unique<SystemCdRomDevices>());
}

void WirePlayerLogic(PlayerRecords& records, OwnedWindows& windows)
{
    Playback& playback = records.playback;
    records.keys.setSink(&playback);
    windows.playListChooser.emplace(PlayListDialogLinks{
        .playList = records.playList, .drives = records.drives, .modalLoops = records.modalLoops, .playback = playback});
    windows.driveMenuPopup.emplace(records.windows, records.modalLoops);
    playback.setPlayListChooser(&*windows.playListChooser);
    playback.setDriveMenuPopup(&*windows.driveMenuPopup);
}

void LogicParts::readMuteState(bool repaint)
{
    records_.audio.ReadMuteState(repaint);
}

void LogicParts::readVolumeLevel(bool repaint)
{
    records_.audio.ReadVolumeLevel(repaint);
}

void LogicParts::loadDisc(uintptr_t drive, intptr_t mode)
{
    records_.playback.LoadDisc(drive, mode);
}

bool LogicParts::dispatchCommand(CommandId command, CommandPhase phase)
{
    return records_.playback.DispatchCommand(command, phase);
}

bool LogicParts::appCommandPost(uintptr_t wParam, intptr_t lParam)
{
    return records_.playback.AppCommand_Post(wParam, lParam);
}

bool LogicParts::appCommandRun(uintptr_t wParam, intptr_t lParam)
{
    return records_.playback.AppCommand_Run(wParam, lParam);
}

bool LogicParts::pollPosition()
{
    return records_.playback.PollPosition();
}

void LogicParts::pbcWaitElapsed()
{
    records_.playback.PbcWaitElapsed();
}

void LogicParts::playFiles(const std::vector<std::string>& files)
{
    records_.playback.PlayFiles(files);
}

MainWindowLinks MainWindowLinksOf(PlayerRecords& records)
{
    return {.components = records.components,
            .settings = records.settings,
            .windows = records.windows,
            .turns = records.turns,
            .state = records.state};
}

PanelLinks PanelLinksOf(PlayerRecords& records, Window* main, const PanelCursors* cursors,
                        DriveMenuActions& driveMenus)
{
    return {.state = records.state,
            .settings = records.settings,
            .components = records.components,
            .turns = records.turns,
            .modalLoops = records.modalLoops,
            .driveMenus = driveMenus,
            .playback = records.playback,
            .audio = records.audio,
            .keys = records.keys,
            .led = records.led,
            .windows = records.windows,
            .main = main,
            .cursors = cursors};
}

VideoLinks VideoLinksOf(PlayerRecords& records, Window* main)
{
    return {.state = records.state,
            .settings = records.settings,
            .components = records.components,
            .windows = records.windows,
            .main = main};
}

std::unique_ptr<MprisService> StartMediaControls(PlayerRecords& records)
{
    std::unique_ptr<MprisService> service = MprisService::start({.state = records.state,
                                                                 .settings = records.settings,
                                                                 .components = records.components,
                                                                 .turns = records.turns,
                                                                 .windows = records.windows,
                                                                 .playList = records.playList,
                                                                 .playback = records.playback,
                                                                 .audio = records.audio});
    if (service)
        QObject::connect(&records.notices, &StateNotices::changed, service.get(), &MprisService::heard);
    return service;
}

bool VideoPlays(const PlayerRecords& records)
{
    const uint16_t status = records.state.status;
    const bool running = status == engine_status::Playing || status == engine_status::OtherRate ||
                         status == engine_status::Backward;
    const auto* image = dynamic_cast<const ImageWindow*>(records.windows.videoImage);
    return running && image && image->videoShown();
}

std::unique_ptr<IdleInhibitor> StartIdleInhibition(PlayerRecords& records)
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
    QObject::connect(&records.notices, &StateNotices::changed, heard,
                     [heard, &records] { heard->setWanted(VideoPlays(records)); });
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

PlayerParts::PlayerParts(PlayerRecords& records, OwnedWindows& windows) : LogicParts(records), windows_(windows)
{
    windows_.videoKeys.emplace(records.keys, records.playback);
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
    const PanelLinks links = PanelLinksOf(records_, records_.windows.main, &windows_.cursors, records_.playback);
    if (!windows_.panelParts)
        windows_.panelParts.emplace(links, windows_.dropTarget);
    return Panel_Create(windows_.panel, *windows_.panelParts, links, why);
}

void PlayerParts::destroyPanel()
{
    Panel_Destroy(windows_.panel);
}

bool PlayerParts::createVideoFrame(std::string& why)
{
    const VideoHooks hooks{.keys = &*windows_.videoKeys, .drops = windows_.dropTarget, .areas = &records_.playback};
    return VideoWnd_Create(windows_.video, VideoLinksOf(records_, records_.windows.main), hooks, why);
}

void PlayerParts::destroyVideoFrame()
{
    VideoWnd_Destroy(windows_.video);
}

bool PlayerParts::createPlayList(std::string&)
{
    return records_.playList.PlayList_Create();
}

void PlayerParts::destroyPlayList()
{
    records_.playList.PlayList_Destroy();
}

std::vector<std::string> UnwiredParts(const PlayerRecords& records)
{
    if (records.keys.wired())
        return {};
    return {"the keyboard map"};
}
