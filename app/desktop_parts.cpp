#include "app/desktop_parts.h"

#include <memory>

#include "app/app_context.h"
#include "audio/audio_parts.h"
#include "components/discbay/cdrom_devices.h"
#include "components/discbay/discbay_linux.h"
#include "components/hublet/hublet_desktop.h"
#include "components/maskcut/maskcut_regions.h"
#include "components/nestwell/nestwell_file.h"
#include "components/reelkit/mpv_engine.h"
#include "components/sonokit/pulse_mixer.h"
#include "disc/disc_menu.h"
#include "disc/play_list.h"
#include "disc/play_list_dialog.h"
#include "panel/drive_popup.h"
#include "panel/panel_cursors.h"
#include "panel/panel_window.h"
#include "panel/video_keys.h"
#include "playback/playback_hooks.h"
#include "playback/playback_parts.h"
#include "video/video_window.h"

void InstallDesktopComponents()
{
    Components& components = app().components;
    components.nestwell = std::make_unique<NestwellFile>();
    components.hublet = std::make_unique<HubletQtDesktop>();
    components.reelkit = std::make_unique<MpvEngine>();
    components.maskcut = std::make_unique<MaskcutBitmapRegions>();
    components.sonokit = std::make_unique<PulseMixer>();
    components.discbay = MakeLinuxDiscbay();
    app().listCdRomDevices = ListCdRomDevices;
    InstallAudioHooks(playbackHooks());
    PanelKeys_PlugIntoVideo();
    playbackHooks().showPlayListDialog = ShowPlayListDialog;
    playbackHooks().showDiscMenu = ShowDiscMenu;
    playbackHooks().stopOrEject = StopOrEject;
    app().driveMenuHooks.popup = Panel_PopupDriveMenu;
}

MainWindowParts DesktopParts()
{
    MainWindowParts parts;
    parts.loadCursors = Panel_LoadCursors;
    parts.destroyCursors = Panel_DestroyCursors;
    parts.createPanel = Panel_Create;
    parts.destroyPanel = Panel_Destroy;
    parts.createVideoFrame = VideoWnd_Create;
    parts.destroyVideoFrame = VideoWnd_Destroy;
    parts.createPlayList = [](std::string&) { return PlayList_Create(); };
    AddPlaybackParts(parts);
    AddAudioParts(parts);
    return parts;
}
