#include "playback/playback.h"
#include "playback/pbc_session.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <variant>

#include <QObject>

#include "components/components.h"
#include "components/discbay/drive_view.h"
#include "core/player_ids.h"
#include "core/player_settings.h"
#include "core/player_state.h"
#include "core/turns.h"
#include "disc/play_list.h"
#include "led/led_refresh.h"

namespace {
// The file a play item opens, by its path inside the disc.
struct ItemFile {
    std::string inside;
    OpenAs as = OpenAs::File;
    uint8_t cdTrack = 0;  // a track's or an entry's
    std::optional<size_t> entryOfTrack;  // an entry's place among its track's entries
};

std::optional<ItemFile> FileOf(const VcdDiscReading& reading, const VcdPlayItem& item)
{
    using Kind = VcdPlayItem::Kind;
    if (item.kind == Kind::Segment) {
        const auto file = reading.segmentFiles.find(item.number);
        return file == reading.segmentFiles.end() ? std::nullopt : std::optional(ItemFile{file->second, OpenAs::Still, 0, std::nullopt});
    }
    uint8_t cdTrack = static_cast<uint8_t>(item.number);
    std::optional<size_t> entryOfTrack;
    if (item.kind == Kind::Entry) {
        const std::vector<VcdEntryPoint>& entries = reading.control->entries;
        if (item.number >= entries.size())
            return std::nullopt;
        cdTrack = entries[item.number].track;
        entryOfTrack = static_cast<size_t>(std::count_if(entries.begin(), entries.begin() + item.number,
                                                         [&](const VcdEntryPoint& entry) { return entry.track == cdTrack; }));
    } else if (item.kind != Kind::Track) {
        return std::nullopt;
    }
    const auto file = reading.trackFiles.find(cdTrack);
    if (file == reading.trackFiles.end())
        return std::nullopt;
    return ItemFile{file->second, OpenAs::File, cdTrack, entryOfTrack};
}

// Another volume of the album the disc before belonged to starts where that one asked for; the
// same volume again starts at its beginning.
uint16_t StartOffset(const VcdControl& control, bool afterAnotherVolume)
{
    const VcdPbc& pbc = *control.pbc;
    const auto lid2 = pbc.lidOffsets.find(2);
    return afterAnotherVolume && lid2 != pbc.lidOffsets.end() ? lid2->second : pbc.firstOffset;
}

// A share of the picture on the disc's grid of 0 to 255.
uint8_t Grid(double share)
{
    return static_cast<uint8_t>(std::lround(std::clamp(share, 0.0, 1.0) * 255));
}

uint32_t Milliseconds(double seconds)
{
    return static_cast<uint32_t>(std::lround(std::max(seconds, 0.0) * 1000));
}
}  // namespace

Playback::~Playback() = default;

std::optional<PbcPhase> Playback::pbcPhase() const
{
    return pbc_ ? std::optional(pbc_->navigator.phase()) : std::nullopt;
}

std::optional<PbcNow> Playback::pbcNow() const
{
    if (!pbc_)
        return std::nullopt;
    const PbcNavigator& navigator = pbc_->navigator;
    const VcdList* list = navigator.list();
    return PbcNow{pbc_->reading->control->pbc->lidAt(navigator.offset()).value_or(0), pbc_->item,
                  list && std::holds_alternative<VcdSelectionList>(*list), pbc_->reading->control->info.albumId,
                  pbcTakesKeys(), navigator.canGoNext(), navigator.canGoPrevious()};
}

bool Playback::pbcTakesKeys() const
{
    const std::optional<PbcPhase> phase = pbcPhase();
    return phase && *phase != PbcPhase::Parked && *phase != PbcPhase::Ended;
}

bool Playback::inStill() const
{
    return pbc_ && pbc_->item.kind == VcdPlayItem::Kind::Segment;
}

// The disc load's opening step waits for the disc's control, as an open waits for the engine;
// false when there is no control to wait for.
bool Playback::awaitControl(uint32_t drive, uint16_t earlierStatus)
{
    if (settings_.playbackControl == 0)
        return false;
    awaitedDisc_ = AwaitedDisc{drive, earlierStatus};
    turns_.wait();
    return true;
}

void Playback::controlKnown(uint32_t drive)
{
    const DiscControlReader::Reading reading = chapters_.readingOf(drive);
    const PreviousVolume before = previousVolume_;
    if (reading && reading->control)
        previousVolume_ = {reading->control->info.albumId, reading->control->info.volumeNumber,
                           reading->control->info.nextVolumeAtLid2};
    if (!awaitedDisc_ || awaitedDisc_->drive != drive)
        return;
    const AwaitedDisc disc = *std::exchange(awaitedDisc_, std::nullopt);
    const bool wasPlaying = disc.earlierStatus != engine_status::Stopped && disc.earlierStatus != engine_status::Paused;
    if (!startPbc(drive, reading, before, wasPlaying)) {
        // The disc plays as tracks, as it would have without playback control.
        OpenTrack(1, [this, earlier = disc.earlierStatus](bool opened) {
            if (opened)
                resumeUnlessHalted(earlier);
            else
                leaveEmptyList();
        });
    }
    turns_.resume();
}

bool Playback::startPbc(uint32_t drive, const DiscControlReader::Reading& reading, const PreviousVolume& before,
                        bool play)
{
    if (!reading || !reading->control || !reading->control->pbc)
        return false;
    const VcdInfo& info = reading->control->info;
    const uint16_t offset = StartOffset(*reading->control, before.nextAtLid2 && !before.albumId.empty() &&
                                                               before.albumId == info.albumId &&
                                                               before.volumeNumber != info.volumeNumber);
    // The play list holds the disc's tracks, as it would without playback control.
    state_.trackCount = playList_.PlayList_Count();
    pbc_ = std::make_unique<PbcSession>(drive, reading, static_cast<PbcPlayer&>(*this));
    PbcNavigator& navigator = pbc_->navigator;
    if (play)
        return navigator.start(offset) || (leavePbc(), false);
    // Nothing played before: the first item shows, stopped, and Play begins its list.
    const VcdList* list = pbc_->reading->control->pbc->at(offset);
    const std::optional<VcdPlayItem> first = list ? FirstItemOf(*list) : std::nullopt;
    if (!first || !navigator.parkAt(offset)) {
        leavePbc();
        return false;
    }
    pbc_->item = *first;
    return openPbcItem(*first, false) || (leavePbc(), false);
}

void Playback::leavePbc()
{
    if (!pbc_)
        return;
    mainTimers_.stop(main_timer::PbcWait);
    pbc_.reset();
    if (std::exchange(state_.trackNumberHidden, false))
        led_.RefreshTrackNumber(false);
}

void Playback::leavePbc(uint32_t drive)
{
    if (pbc_ && pbc_->drive == drive)
        leavePbc();
}

// What the display shows while a list holds its picture or playback control stands still.
void Playback::showPbcPhase()
{
    if (!pbc_)
        return;
    PlayerState& s = state_;
    switch (pbc_->navigator.phase()) {
    case PbcPhase::Playing: return;
    case PbcPhase::Waiting: s.status = engine_status::Playing; break;
    case PbcPhase::Holding: s.status = engine_status::Paused; break;
    case PbcPhase::Parked:
    case PbcPhase::Ended: s.status = engine_status::Stopped; break;
    }
    led_.RefreshPlayState(false);
}

bool Playback::openPbcItem(const VcdPlayItem& item, bool play)
{
    PbcSession& pbc = *pbc_;
    const std::optional<ItemFile> file = FileOf(*pbc.reading, item);
    if (!file)
        return false;
    uint32_t startMs = 0;
    // A track's entry times are asked for as it opens: a multi-default list reads them.
    const std::optional<DiscControlReader::EntryTimes> times =
        file->as == OpenAs::File ? chapters_.timesOf(pbc.drive, file->cdTrack) : std::nullopt;
    if (file->entryOfTrack) {
        if (!times) {
            pbc.awaitingTimes = true;
            pbc.playWhenOpen = play;
            return true;
        }
        if (*file->entryOfTrack < times->size() && (*times)[*file->entryOfTrack])
            startMs = Milliseconds(*(*times)[*file->entryOfTrack]);
    }
    // A track opens by the play list's own spelling of its path, and is the current track by
    // its place there; a picture leaves the current track as it is.
    std::string path = chapters_.rootOf(pbc.drive) + file->inside;
    uint32_t listed = 0;
    uint32_t track = state_.currentTrack;
    if (file->as == OpenAs::File && playList_.PlayList_FindBackward(path, std::numeric_limits<uint32_t>::max(), listed)) {
        playList_.PlayList_GetPath(listed, path);
        track = listed + 1;
    }
    QObject::disconnect(pbc.itemEnd);
    pbc.opening = true;
    Stop(false, false);
    engine().close();
    askEngine(
        path, [this, path, track, startMs, play](bool opened) { pbcItemOpened(opened, path, track, startMs, play); },
        file->as);
    return true;
}

void Playback::pbcItemOpened(bool opened, const std::string& path, uint32_t track, uint32_t startMs, bool play)
{
    if (!pbc_)
        return;
    pbc_->opening = false;
    if (!opened) {
        // An item that does not open stops the disc there; Play tries its list again.
        pbc_->navigator.park();
        showPbcPhase();
        return;
    }
    state_.trackNumberHidden = inStill();
    pbc_->startMs = startMs;
    if (startMs != 0)
        engine().seek(startMs);
    showOpenedTrack(path, track, startMs);
    if (!play)
        return;
    pbc_->itemEnd = QObject::connect(&engine(), &ReelkitEngine::endOfFile, &chapters_, [this] { pbcItemEnded(); });
    playLoaded(true);
}

void Playback::pbcItemEnded()
{
    if (!pbc_ || pbc_->opening)
        return;
    QObject::disconnect(pbc_->itemEnd);
    pbc_->navigator.itemEnded();
    showPbcPhase();
}

void Playback::pbcTimesKnown(uint32_t drive)
{
    if (!pbc_ || pbc_->drive != drive || !std::exchange(pbc_->awaitingTimes, false))
        return;
    if (!openPbcItem(pbc_->item, pbc_->playWhenOpen)) {
        pbc_->navigator.park();
        showPbcPhase();
    }
}

// The position poll under playback control: the time runs within a track, a still shows none,
// and a list's play time ends its items; an item's end is the engine's to tell.
bool Playback::pollPbc()
{
    const std::optional<uint16_t> status = engine().getStatus();
    if (!status)
        return true;
    uint32_t position = state_.position;
    if (inStill()) {
        position = engine().getCurrentPosition().value_or(0);
        if (*status == engine_status::Stopped || *status == engine_status::Paused)
            mainTimers_.stop(main_timer::PositionPoll);
    } else {
        showPosition(*status);
        position = state_.position;
    }
    const PbcSession& pbc = *pbc_;
    if (pbc.limitMs != 0 && pbc.navigator.phase() == PbcPhase::Playing && !pbc.opening && !pbc.awaitingTimes &&
        position >= pbc.startMs + pbc.limitMs) {
        engine().stop();
        pbcItemEnded();
    }
    return true;
}

void Playback::PbcWaitElapsed()
{
    mainTimers_.stop(main_timer::PbcWait);
    if (!pbc_)
        return;
    pbc_->navigator.waitElapsed();
    showPbcPhase();
}

// ---- what the navigator has the player do ----

void Playback::playItem(const VcdPlayItem& item, uint32_t limitMs)
{
    // The item before may still be playing while this one waits for its entry's time: its end
    // is no longer the navigator's to hear.
    QObject::disconnect(pbc_->itemEnd);
    pbc_->item = item;
    pbc_->limitMs = limitMs;
    pbc_->awaitingTimes = false;
    if (!openPbcItem(item, true))
        pbc_->navigator.park();
}

void Playback::startWait(uint32_t ms)
{
    mainTimers_.start(main_timer::PbcWait, ms);
}

void Playback::stopWait()
{
    mainTimers_.stop(main_timer::PbcWait);
}

void Playback::stopPlaying()
{
    QObject::disconnect(pbc_->itemEnd);
    mainTimers_.stop(main_timer::PositionPoll);
    engine().stop();
    state_.status = engine_status::Stopped;
    state_.position = 0;
    led_.RefreshPlayState(false);
    led_.RefreshTime(false);
}

// A list's own timeout ends a number typed for the list before.
void Playback::listEntered()
{
    EndTrackEntry(true);
}

std::optional<unsigned> Playback::playingEntry() const
{
    const std::optional<ItemFile> file = FileOf(*pbc_->reading, pbc_->item);
    if (!file || file->as == OpenAs::Still)
        return std::nullopt;
    const DiscControlReader::EntryTimes* times = chapters_.knownTimesOf(pbc_->drive, file->cdTrack);
    if (!times)
        return std::nullopt;
    const uint32_t position = engine().getCurrentPosition().value_or(state_.position);
    const auto begun = std::ranges::count_if(*times, [&](const std::optional<double>& at) {
        return at && Milliseconds(*at) <= position;
    });
    return begun == 0 ? 0u : static_cast<unsigned>(begun - 1);
}

unsigned Playback::randomBelow(unsigned n)
{
    return n == 0 ? 0 : std::uniform_int_distribution<unsigned>(0, n - 1)(pbc_->random);
}

// ---- the keys ----

// Play and Play/Pause begin a parked or ended disc again and choose a selection list's
// default; false where they do what they do without playback control.
bool Playback::pbcPlayKey()
{
    if (!pbc_ || !(pbc_->navigator.resume() || pbc_->navigator.choose()))
        return false;
    showPbcPhase();
    return true;
}

bool Playback::PlayCommand()
{
    return pbcPlayKey() || Play(true);
}

bool Playback::PlayPauseCommand()
{
    return pbcPlayKey() || TogglePlayPause();
}

bool Playback::StopCommand(bool orEject)
{
    if (!pbcTakesKeys())
        return orEject ? StopOrEject() : Stop(true, true);
    pbc_->navigator.park();
    showPbcPhase();
    return true;
}

// One of the list's links, whether it leads anywhere or not.
bool Playback::followLink(bool (PbcNavigator::*link)())
{
    (pbc_->navigator.*link)();
    showPbcPhase();
    return true;
}

bool Playback::NextCommand()
{
    return pbcTakesKeys() ? followLink(&PbcNavigator::next) : NextChapterOrTrack();
}

bool Playback::PreviousCommand()
{
    return pbcTakesKeys() ? followLink(&PbcNavigator::previous) : PreviousChapterOrTrack();
}

bool Playback::MenuReturn()
{
    return pbcTakesKeys() ? followLink(&PbcNavigator::back) : true;
}

std::optional<uint32_t> Playback::pbcHighestNumber() const
{
    return pbc_ ? pbc_->navigator.highestNumber() : std::nullopt;
}

bool Playback::choosePbc(uint32_t number)
{
    const bool chosen = pbc_->navigator.choose(number);
    showPbcPhase();
    return chosen;
}

bool Playback::hasAreaAt(double x, double y) const
{
    return pbc_ && pbc_->navigator.hasAreaAt(Grid(x), Grid(y));
}

void Playback::clickAt(double x, double y)
{
    turns_.take([this, x, y] {
        if (!pbc_ || !pbc_->navigator.hasAreaAt(Grid(x), Grid(y)))
            return;
        EndTrackEntry(true);
        pbc_->navigator.chooseAt(Grid(x), Grid(y));
        showPbcPhase();
    });
}
