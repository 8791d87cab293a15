#include <memory>

#include "audio/volume.h"
#include "context/app_context.h"
#include "playback/app_command.h"
#include "playback/disc_menu.h"
#include "playback/dispatch.h"
#include "playback/load_disc.h"
#include "playback/panel_busy.h"
#include "playback/play_files.h"
#include "playback/playback.h"
#include "playback/position_poll.h"
#include "playback/track_entry.h"
#include "playback/tracks.h"
#include "playback/transport.h"
#include "playback/window_commands.h"

Playback& AppPlayback()
{
    AppContext& context = app();
    if (!context.playback)
        context.playback = std::make_shared<Playback>(context.components, context.settings, context.state,
                                                      context.windows, context.drives, context.playList,
                                                      context.turns, AppAudio());
    return *context.playback;
}

bool Panel_BeginBusyCursor()
{
    PanelFeedback* panel = AppPlayback().panel();
    return panel && panel->beginBusyCursor();
}

bool Panel_EndBusyCursor()
{
    PanelFeedback* panel = AppPlayback().panel();
    return panel && panel->endBusyCursor();
}

bool Panel_SetButtonChecked(CommandId command, bool checked)
{
    PanelFeedback* panel = AppPlayback().panel();
    return panel && panel->setButtonChecked(command, checked);
}

bool DispatchCommand(CommandId command, CommandPhase phase) { return AppPlayback().DispatchCommand(command, phase); }
bool AppCommand_Post(uintptr_t wParam, intptr_t lParam) { return AppPlayback().AppCommand_Post(wParam, lParam); }
bool AppCommand_Run(uintptr_t wParam, intptr_t lParam) { return AppPlayback().AppCommand_Run(wParam, lParam); }
bool Play(bool update) { return AppPlayback().Play(update); }
bool Pause(bool update) { return AppPlayback().Pause(update); }
bool Stop(bool toStart, bool update) { return AppPlayback().Stop(toStart, update); }
bool TogglePlayPause() { return AppPlayback().TogglePlayPause(); }
bool SeekHold(bool forward, bool start) { return AppPlayback().SeekHold(forward, start); }
void EndSeekHold() { AppPlayback().EndSeekHold(); }
bool ChangeRate(bool forward, uint32_t rate) { return AppPlayback().ChangeRate(forward, rate); }
bool SeekTo(uint32_t position) { return AppPlayback().SeekTo(position); }
bool OpenTrack(uint32_t track, Then then) { return AppPlayback().OpenTrack(track, std::move(then)); }
bool NextTrack(Then then) { return AppPlayback().NextTrack(std::move(then)); }
bool PreviousTrack(Then then) { return AppPlayback().PreviousTrack(std::move(then)); }
bool PlayListCommand(bool showDialog, Then then) { return AppPlayback().PlayListCommand(showDialog, std::move(then)); }
void ResetPlayback() { AppPlayback().ResetPlayback(); }
bool CycleRepeat() { return AppPlayback().CycleRepeat(); }
void SetVideoTitle(const std::string* path) { AppPlayback().SetVideoTitle(path); }
bool EndTrackEntry(bool repaint) { return AppPlayback().EndTrackEntry(repaint); }
bool EnterDigit(uint32_t value) { return AppPlayback().EnterDigit(value); }
bool GoToEnteredTrack() { return AppPlayback().GoToEnteredTrack(); }
void TrackEntry_PanelTimer(TimerId id, const std::function<bool(CommandId command, CommandPhase phase)>& dispatch)
{
    AppPlayback().TrackEntry_PanelTimer(id, dispatch);
}
bool PollPosition() { return AppPlayback().PollPosition(); }
void LoadDisc(uintptr_t drive, intptr_t mode) { AppPlayback().LoadDisc(drive, mode); }
bool PlayFiles(const std::vector<std::string>& paths, Then then) { return AppPlayback().PlayFiles(paths, std::move(then)); }
bool ShowDiscMenu(DiscMenuForm form) { return AppPlayback().ShowDiscMenu(form); }
bool StopOrEject() { return AppPlayback().StopOrEject(); }
bool SetDoorState(uint32_t drive, DoorState door) { return AppPlayback().SetDoorState(drive, door); }
void Minimize() { AppPlayback().Minimize(); }
void Help() { AppPlayback().Help(); }
void Power() { AppPlayback().Power(); }
void ToggleVideoTopmost() { AppPlayback().ToggleVideoTopmost(); }
void ToggleVideoSize() { AppPlayback().ToggleVideoSize(); }
