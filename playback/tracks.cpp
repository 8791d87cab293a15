#include "playback/playback.h"

#include "audio/audio.h"
#include "core/app_windows.h"
#include "core/player_state.h"
#include "core/player_settings.h"
#include "core/turns.h"

#include "core/window.h"
#include "components/components.h"
#include "components/discbay/drive_view.h"
#include "disc/play_list.h"
#include "led/led_refresh.h"

#include <functional>
#include <optional>
#include <utility>

namespace {
// Paused or stopped before a track change: the new track waits for Play.
bool wasHalted(uint16_t earlierStatus)
{
    return earlierStatus == 0 || earlierStatus == 1;
}
}  // namespace

void Playback::resumeUnlessHalted(uint16_t earlierStatus)
{
    if (!wasHalted(earlierStatus))
        Play(true);
}

// Nothing is left of the list: the engine stops and lets go of its file.
void Playback::leaveEmptyList()
{
    Stop(false, false);
    engine().close();
    ResetPlayback();
}

// The engine's answer to an open goes on with answered; what comes in meanwhile waits. The
// engine answers each open once, and no open is asked while one is pending.
void Playback::askEngine(const std::string& path, std::function<void(bool)> answered, OpenAs as)
{
    turns_.wait();
    ReelkitEngine& asked = engine();
    QObject::connect(
        &asked, &ReelkitEngine::openAnswered, &asked,
        [&turns = turns_, answered = std::move(answered)](bool opened) {
            answered(opened);
            turns.resume();
        },
        Qt::SingleShotConnection);
    asked.open(windows_.videoImage, path, as);
}

void Playback::showOpenedTrack(const std::string& path, uint32_t track, uint32_t position)
{
    PlayerState& s = state_;
    s.status = engine_status::Stopped;
    s.currentTrack = track;
    s.position = position;
    // A length the engine does not give must not be taken from the previous file.
    s.length = engine().getLength().value_or(0);
    led_.RefreshPlayState(false);
    led_.RefreshTrackNumber(false);
    led_.RefreshTime(false);
    led_.RefreshTrackTime(false);

    audio_.ApplyToOpenedFile();

    SetVideoTitle(&path);
    // A Video CD track's chapters are read as it opens, to be there when they are asked for.
    if (settings_.entryPointsAsChapters != 0)
        chapters_.startsOf(path, drives_.current());
}

// The entry at place n leaves the list and the following one moves up into its place; false
// when none follows.
bool Playback::dropEntry(uint32_t track)
{
    playList_.PlayList_RemoveAt(track - 1);
    state_.trackCount = playList_.PlayList_Count();
    return track <= state_.trackCount;
}

void Playback::openFrom(uint32_t track, const Then& done)
{
    std::string path;
    while (!playList_.PlayList_GetPath(track - 1, path) || path.empty()) {
        if (!dropEntry(track)) {
            endBusyCursor();
            done(false);
            return;
        }
    }
    Stop(false, true);
    engine().close();
    askEngine(path, [this, track, path, done](bool opened) {
        if (opened) {
            showOpenedTrack(path, track);
            endBusyCursor();
            done(true);
        } else if (dropEntry(track)) {
            openFrom(track, done);
        } else {
            endBusyCursor();
            done(false);
        }
    });
}

// The end of a track change: the new track plays when the old one did; with nothing left
// to open, playback ends.
void Playback::changed(uint16_t earlier, const Then& done, bool opened)
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
void Playback::nextFromFirst(uint16_t earlier, const Then& done, bool opened)
{
    if (!opened && state_.trackCount != 0)
        OpenTrack(1, [this, earlier, done](bool result) { changed(earlier, done, result); });
    else
        changed(earlier, done, opened);
}

// Each failed open shortens the list, so this ends.
void Playback::previousFromLast(uint16_t earlier, const Then& done, bool opened)
{
    if (!opened && state_.trackCount != 0)
        OpenTrack(state_.trackCount, [this, earlier, done](bool result) { previousFromLast(earlier, done, result); });
    else
        changed(earlier, done, opened);
}

bool Playback::OpenTrack(uint32_t track, Then then)
{
    // Tracks chosen by number, list or file are linear playback again.
    leavePbc();
    PlayerState& s = state_;
    s.trackCount = playList_.PlayList_Count();
    if (track == 0 || track > s.trackCount)
        return Answer(then, false);
    EndTrackEntry(true);
    EndSeekHold();
    beginBusyCursor();
    return ResultOrAsked(then, [this, track](const Then& done) { openFrom(track, done); });
}

bool Playback::NextTrack(Then then)
{
    PlayerState& s = state_;
    if (s.trackCount == 0)
        return Answer(then, false);
    const uint16_t earlier = s.status;
    return ResultOrAsked(then, [this, earlier](const Then& done) {
        const PlayerState& now = state_;
        if (now.currentTrack < now.trackCount)
            OpenTrack(now.currentTrack + 1, [this, earlier, done](bool opened) { nextFromFirst(earlier, done, opened); });
        else
            nextFromFirst(earlier, done, false);
    });
}

bool Playback::PreviousTrack(Then then)
{
    PlayerState& s = state_;
    if (s.trackCount <= 1)
        return Answer(then, false);
    const uint16_t earlier = s.status;
    // From track 1 this asks for track 0, which fails at once and wraps to the last.
    const uint32_t previous = s.currentTrack == 0 ? 0 : s.currentTrack - 1;
    return ResultOrAsked(then, [this, earlier, previous](const Then& done) {
        OpenTrack(previous, [this, earlier, done](bool opened) { previousFromLast(earlier, done, opened); });
    });
}

bool Playback::PlayListCommand(bool showDialog, Then then)
{
    const uint16_t earlier = state_.status;
    if (showDialog && (!chooser_ || !chooser_->choose(windows_.panel)))
        return Answer(then, true);
    return ResultOrAsked(then, [this, earlier](const Then& done) {
        OpenTrack(1, [this, earlier, done](bool opened) {
            if (opened)
                resumeUnlessHalted(earlier);
            else
                leaveEmptyList();
            done(true);
        });
    });
}

void Playback::ResetPlayback()
{
    PlayerState& s = state_;
    leavePbc();
    EndSeekHold();
    s.trackCount = 0;
    s.status = engine_status::Stopped;
    s.currentTrack = 0;
    s.position = 0;
    s.length = 0;
    s.shownAudioChannel = 3;
    s.shownSoundChannel = 2;
    for (auto refresh : {&LedDisplay::RefreshPlayState, &LedDisplay::RefreshTrackNumber, &LedDisplay::RefreshTime,
                         &LedDisplay::RefreshTrackTime, &LedDisplay::RefreshSoundQuality,
                         &LedDisplay::RefreshAudioChannel, &LedDisplay::RefreshSoundChannel})
        (led_.*refresh)(false);
    // The image window paints its idle picture again.
    if (Window* image = windows_.videoImage)
        image->invalidateAll();
    SetVideoTitle(nullptr);
}

bool Playback::CycleRepeat()
{
    // Off, the whole list, the one track, and round again; or only the first two.
    RepeatMode& mode = state_.repeatMode;
    if (settings_.repeatAllOnly)
        mode = mode == RepeatMode::List ? RepeatMode::Off : RepeatMode::List;
    else
        mode = mode == RepeatMode::Off ? RepeatMode::List : mode == RepeatMode::List ? RepeatMode::Track : RepeatMode::Off;
    led_.RefreshRepeat(false);
    return true;
}

void Playback::SetVideoTitle(const std::string* path)
{
    Window* frame = windows_.videoFrame;
    if (!frame)
        return;
    // The path as the list holds it, never cut: a cut path would name another file. An empty
    // title gives the frame's base title.
    frame->setTitle(path ? *path : std::string());
}

std::optional<uint32_t> Playback::chapterTarget(ChapterStep step)
{
    std::string path;
    if (settings_.entryPointsAsChapters == 0 || state_.currentTrack == 0 ||
        !playList_.PlayList_GetPath(state_.currentTrack - 1, path))
        return std::nullopt;
    const std::vector<uint32_t> starts = chapters_.startsOf(path, drives_.current());
    return step(starts, engine().getCurrentPosition().value_or(state_.position));
}

bool Playback::NextChapterOrTrack()
{
    if (const std::optional<uint32_t> to = chapterTarget(NextChapter))
        return SeekTo(*to);
    return NextTrack();
}

bool Playback::PreviousChapterOrTrack()
{
    if (const std::optional<uint32_t> to = chapterTarget(PreviousChapter))
        return SeekTo(*to);
    return PreviousTrack();
}
