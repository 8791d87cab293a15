#include "playback/tracks.h"

#include "context/app_context.h"
#include "core/window.h"
#include "context/components.h"
#include "disc/play_list.h"
#include "led/led_refresh.h"
#include "context/playback_hooks.h"
#include "playback/track_entry.h"
#include "playback/transport.h"

namespace {
PlayerState& state()
{
    return app().state;
}

// Paused or stopped before a track change: the new track waits for Play.
bool wasHalted(uint16_t earlierStatus)
{
    return earlierStatus == 0 || earlierStatus == 1;
}

void resumeUnlessHalted(uint16_t earlierStatus)
{
    if (!wasHalted(earlierStatus))
        Play(1);
}

// Nothing is left of the list: the engine stops and lets go of its file.
void leaveEmptyList()
{
    Stop(0, 0);
    Reelkit_Close();
    ResetPlayback();
}

// Tries the entry at place n; the engine then holds it or nothing.
bool openEntry(uint32_t track, std::string& path)
{
    if (!PlayList_GetPath(track - 1, path) || path.empty())
        return false;
    Stop(0, 1);
    Reelkit_Close();
    return Reelkit_Open(app().windows.videoImage, path) != 0;
}

void showOpenedTrack(const std::string& path, uint32_t track)
{
    PlayerState& s = state();
    s.status = engine_status::Stopped;
    s.currentTrack = track;
    s.position = 0;
    // A length the engine does not give must not be taken from the previous file.
    s.length = 0;
    Reelkit_GetLength(&s.length);
    Led_RefreshPlayState(0);
    Led_RefreshTrackNumber(0);
    Led_RefreshTime(0);
    Led_RefreshTrackTime(0);

    // The user's last audio choices apply to every newly opened file.
    Window* panel = app().windows.panel;
    Reelkit_SetAudioProperties(panel, &s.wantedSoundQuality, &s.wantedAudioChannel, &s.wantedSoundChannel);
    Reelkit_GetAudioProperties(panel, &s.shownSoundQuality, &s.shownAudioChannel, &s.shownSoundChannel);
    Led_RefreshSoundQuality(0);
    Led_RefreshAudioChannel(0);
    Led_RefreshSoundChannel(0);

    SetVideoTitle(&path);
}
}  // namespace

uint32_t OpenTrack(uint32_t track)
{
    PlayerState& s = state();
    s.trackCount = PlayList_Count();
    if (track == 0 || track > s.trackCount)
        return 0;
    EndTrackEntry(1);
    EndSeekHold();
    Panel_BeginBusyCursor();

    std::string path;
    while (!openEntry(track, path)) {
        // The following entry moves up into place n.
        PlayList_RemoveAt(track - 1);
        s.trackCount = PlayList_Count();
        if (track > s.trackCount) {
            Panel_EndBusyCursor();
            return 0;
        }
    }
    showOpenedTrack(path, track);
    Panel_EndBusyCursor();
    return 1;
}

uint32_t NextTrack()
{
    PlayerState& s = state();
    if (s.trackCount == 0)
        return 0;
    const uint16_t earlier = s.status;
    uint32_t opened = 0;
    if (s.currentTrack < s.trackCount)
        opened = OpenTrack(s.currentTrack + 1);
    // From the last track, or when the tracks after it have all gone, the list wraps.
    if (!opened && s.trackCount != 0)
        opened = OpenTrack(1);
    if (!opened) {
        leaveEmptyList();
        return 0;
    }
    resumeUnlessHalted(earlier);
    return opened;
}

uint32_t PreviousTrack()
{
    PlayerState& s = state();
    if (s.trackCount <= 1)
        return 0;
    const uint16_t earlier = s.status;
    // From track 1 this asks for track 0, which fails at once and wraps to the last.
    uint32_t opened = OpenTrack(s.currentTrack == 0 ? 0 : s.currentTrack - 1);
    while (!opened && s.trackCount != 0)
        opened = OpenTrack(s.trackCount);
    if (!opened) {
        leaveEmptyList();
        return 0;
    }
    resumeUnlessHalted(earlier);
    return opened;
}

uint32_t PlayListCommand(uint32_t showDialog)
{
    const uint16_t earlier = state().status;
    if (showDialog) {
        const auto& dialog = playbackHooks().showPlayListDialog;
        if (!dialog || !dialog(app().windows.panel))
            return 1;
    }
    if (OpenTrack(1))
        resumeUnlessHalted(earlier);
    else
        leaveEmptyList();
    return 1;
}

void ResetPlayback()
{
    PlayerState& s = state();
    EndSeekHold();
    s.trackCount = 0;
    s.status = engine_status::Stopped;
    s.currentTrack = 0;
    s.position = 0;
    s.length = 0;
    s.shownAudioChannel = 3;
    s.shownSoundChannel = 2;
    for (auto refresh : {Led_RefreshPlayState, Led_RefreshTrackNumber, Led_RefreshTime, Led_RefreshTrackTime,
                         Led_RefreshSoundQuality, Led_RefreshAudioChannel, Led_RefreshSoundChannel})
        refresh(0);
    // The image window paints its idle picture again.
    if (Window* image = app().windows.videoImage)
        image->invalidateAll();
    SetVideoTitle(nullptr);
}

uint32_t CycleRepeat()
{
    // Off, the whole list, the one track, and round again; or only the first two.
    RepeatMode& mode = state().repeatMode;
    if (app().settings.repeatAllOnly)
        mode = mode == RepeatMode::List ? RepeatMode::Off : RepeatMode::List;
    else
        mode = mode == RepeatMode::Off ? RepeatMode::List : mode == RepeatMode::List ? RepeatMode::Track : RepeatMode::Off;
    Led_RefreshRepeat(0);
    return 1;
}

void SetVideoTitle(const std::string* path)
{
    Window* frame = app().windows.videoFrame;
    if (!frame)
        return;
    // The path as the list holds it, never cut: a cut path would name another file. An empty
    // title gives the frame's base title.
    frame->setTitle(path ? *path : std::string());
}
