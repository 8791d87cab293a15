#include "playback/tracks.h"

#include "context/app_context.h"
#include "core/window.h"
#include "context/components.h"
#include "disc/play_list.h"
#include "led/led_refresh.h"
#include "context/playback_hooks.h"
#include "playback/track_entry.h"
#include "playback/transport.h"

#include <functional>
#include <optional>
#include <utility>

namespace {
PlayerState& state()
{
    return app().state;
}

ReelkitEngine& engine()
{
    return *app().components.reelkit;
}

// Paused or stopped before a track change: the new track waits for Play.
bool wasHalted(uint16_t earlierStatus)
{
    return earlierStatus == 0 || earlierStatus == 1;
}

void resumeUnlessHalted(uint16_t earlierStatus)
{
    if (!wasHalted(earlierStatus))
        Play(true);
}

// Nothing is left of the list: the engine stops and lets go of its file.
void leaveEmptyList()
{
    Stop(false, false);
    engine().close();
    ResetPlayback();
}

// The engine's answer to an open goes on with answered; what comes in meanwhile waits. The
// engine answers each open once, and no open is asked while one is pending.
void askEngine(const std::string& path, std::function<void(bool)> answered)
{
    app().turns.wait();
    ReelkitEngine& asked = engine();
    QObject::connect(
        &asked, &ReelkitEngine::openAnswered, &asked,
        [answered = std::move(answered)](bool opened) {
            answered(opened);
            app().turns.resume();
        },
        Qt::SingleShotConnection);
    asked.open(app().windows.videoImage, path);
}

void showOpenedTrack(const std::string& path, uint32_t track)
{
    PlayerState& s = state();
    s.status = engine_status::Stopped;
    s.currentTrack = track;
    s.position = 0;
    // A length the engine does not give must not be taken from the previous file.
    s.length = engine().getLength().value_or(0);
    Led_RefreshPlayState(false);
    Led_RefreshTrackNumber(false);
    Led_RefreshTime(false);
    Led_RefreshTrackTime(false);

    // The user's last audio choices apply to every newly opened file.
    Window* panel = app().windows.panel;
    engine().setAudioProperties(panel, {s.wantedSoundQuality, s.wantedAudioChannel, s.wantedSoundChannel});
    if (const std::optional<AudioChoice> shown = engine().getAudioProperties(panel)) {
        s.shownSoundQuality = shown->soundQuality;
        s.shownAudioChannel = shown->audioChannel;
        s.shownSoundChannel = shown->soundChannel;
    }
    Led_RefreshSoundQuality(false);
    Led_RefreshAudioChannel(false);
    Led_RefreshSoundChannel(false);

    SetVideoTitle(&path);
}

// The entry at place n leaves the list and the following one moves up into its place; false
// when none follows.
bool dropEntry(uint32_t track)
{
    PlayList_RemoveAt(track - 1);
    state().trackCount = PlayList_Count();
    return track <= state().trackCount;
}

void openFrom(uint32_t track, const Then& done)
{
    std::string path;
    while (!PlayList_GetPath(track - 1, path) || path.empty()) {
        if (!dropEntry(track)) {
            Panel_EndBusyCursor();
            done(false);
            return;
        }
    }
    Stop(false, true);
    engine().close();
    askEngine(path, [track, path, done](bool opened) {
        if (opened) {
            showOpenedTrack(path, track);
            Panel_EndBusyCursor();
            done(true);
        } else if (dropEntry(track)) {
            openFrom(track, done);
        } else {
            Panel_EndBusyCursor();
            done(false);
        }
    });
}

// The end of a track change: the new track plays when the old one did; with nothing left
// to open, playback ends.
void changed(uint16_t earlier, const Then& done, bool opened)
{
    if (!opened) {
        leaveEmptyList();
        done(false);
        return;
    }
    resumeUnlessHalted(earlier);
    done(opened);
}

// From the last track, or when the tracks after it have all gone, the list wraps.
void nextFromFirst(uint16_t earlier, const Then& done, bool opened)
{
    if (!opened && state().trackCount != 0)
        OpenTrack(1, [earlier, done](bool result) { changed(earlier, done, result); });
    else
        changed(earlier, done, opened);
}

// Each failed open shortens the list, so this ends.
void previousFromLast(uint16_t earlier, const Then& done, bool opened)
{
    if (!opened && state().trackCount != 0)
        OpenTrack(state().trackCount, [earlier, done](bool result) { previousFromLast(earlier, done, result); });
    else
        changed(earlier, done, opened);
}
}  // namespace

bool OpenTrack(uint32_t track, Then then)
{
    PlayerState& s = state();
    s.trackCount = PlayList_Count();
    if (track == 0 || track > s.trackCount)
        return Answer(then, false);
    EndTrackEntry(true);
    EndSeekHold();
    Panel_BeginBusyCursor();
    return ResultOrAsked(then, [track](const Then& done) { openFrom(track, done); });
}

bool NextTrack(Then then)
{
    PlayerState& s = state();
    if (s.trackCount == 0)
        return Answer(then, false);
    const uint16_t earlier = s.status;
    return ResultOrAsked(then, [earlier](const Then& done) {
        const PlayerState& now = state();
        if (now.currentTrack < now.trackCount)
            OpenTrack(now.currentTrack + 1, [earlier, done](bool opened) { nextFromFirst(earlier, done, opened); });
        else
            nextFromFirst(earlier, done, false);
    });
}

bool PreviousTrack(Then then)
{
    PlayerState& s = state();
    if (s.trackCount <= 1)
        return Answer(then, false);
    const uint16_t earlier = s.status;
    // From track 1 this asks for track 0, which fails at once and wraps to the last.
    const uint32_t previous = s.currentTrack == 0 ? 0 : s.currentTrack - 1;
    return ResultOrAsked(then, [earlier, previous](const Then& done) {
        OpenTrack(previous, [earlier, done](bool opened) { previousFromLast(earlier, done, opened); });
    });
}

bool PlayListCommand(bool showDialog, Then then)
{
    const uint16_t earlier = state().status;
    if (showDialog) {
        const auto& dialog = playbackHooks().showPlayListDialog;
        if (!dialog || !dialog(app().windows.panel))
            return Answer(then, true);
    }
    return ResultOrAsked(then, [earlier](const Then& done) {
        OpenTrack(1, [earlier, done](bool opened) {
            if (opened)
                resumeUnlessHalted(earlier);
            else
                leaveEmptyList();
            done(true);
        });
    });
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
        refresh(false);
    // The image window paints its idle picture again.
    if (Window* image = app().windows.videoImage)
        image->invalidateAll();
    SetVideoTitle(nullptr);
}

bool CycleRepeat()
{
    // Off, the whole list, the one track, and round again; or only the first two.
    RepeatMode& mode = state().repeatMode;
    if (app().settings.repeatAllOnly)
        mode = mode == RepeatMode::List ? RepeatMode::Off : RepeatMode::List;
    else
        mode = mode == RepeatMode::Off ? RepeatMode::List : mode == RepeatMode::List ? RepeatMode::Track : RepeatMode::Off;
    Led_RefreshRepeat(false);
    return true;
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
