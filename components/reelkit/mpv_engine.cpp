#include "components/reelkit/mpv_engine.h"

#include <unistd.h>

#include <QFileInfo>
#include <QWidget>

#include <mpv/client.h>

#include <algorithm>
#include <cmath>
#include <string_view>
#include <utility>

#include "core/window.h"
#include "components/discbay/vcd_stream.h"
#include "components/reelkit/engine_status.h"
#include "components/reelkit/mpv_picture.h"
#include "components/reelkit/mpv_properties.h"

namespace {
// Reply ids: the observed properties, then the requests, of which those of an open carry its
// serial (serial * kSerial + the request), so that a late reply to an earlier one is not taken.
// libmpv 0.35 runs one client's requests in the order they were made.
enum Reply : uint64_t {
    kTimePos = 1, kDuration, kEofReached,
    kLoad, kTracks, kLength, kFps, kLanded, kSeek,
    kSerial = 16,
};

// Nothing of a user's mpv set-up (scripts, key bindings, profiles, on-screen display)
// may change how the player behaves.
constexpr std::pair<const char*, const char*> kFixedOptions[] = {
    {mpvname::Idle, "yes"},
    {mpvname::KeepOpen, "yes"},
    {mpvname::KeepOpenPause, "yes"},
    {mpvname::AudioFallbackToNull, "yes"},
    {mpvname::AudioClientName, "quintara"},
    // The sound server's own buffer: with libmpv's fixed 100 ms, a PulseAudio null sink
    // held the sound (and the pictures timed by it) for up to a second after seeks and
    // speed changes.
    {mpvname::PulseBuffer, "native"},
    {mpvname::LoadScripts, "no"},
    {mpvname::Ytdl, "no"},
    {mpvname::LoadStatsOverlay, "no"},
    {mpvname::LoadOsdConsole, "no"},
    {mpvname::LoadAutoProfiles, "no"},
    {mpvname::InputDefaultBindings, "no"},
    {mpvname::InputVoKeyboard, "no"},
    {mpvname::OsdLevel, "0"},
    {mpvname::SubAuto, "no"},
    {mpvname::AudioFileAuto, "no"},
    {mpvname::HrSeekFramedrop, "no"},
    // The MPEG program stream demuxer lands on the key picture after the target; from a
    // second earlier an exact seek starts before it on a Video CD's groups of pictures,
    // and playing on after it does not skip the rest of the group.
    {mpvname::HrSeekDemuxerOffset, "1"},
    {mpvname::VideoOutput, mpvname::VideoOutputNone},
};

// A one-picture stream's time, as loadfile's option for one file.
constexpr const char* kStillEndsAtOnce = "image-display-duration=0";
constexpr uint32_t kStillSoundSlackMs = 50;

// The reply id of an open's request.
uint64_t ofOpen(uint64_t serial, Reply request)
{
    return serial * kSerial + request;
}

double doubleOf(const mpv_event& event)
{
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    return event.error >= 0 && property->format == MPV_FORMAT_DOUBLE && property->data
               ? *static_cast<const double*>(property->data)
               : 0.0;
}

// Which kinds of track the file has: video, then audio.
std::pair<bool, bool> kindsOf(const mpv_node& tracks)
{
    bool hasVideo = false;
    bool hasAudio = false;
    if (tracks.format != MPV_FORMAT_NODE_ARRAY)
        return {false, false};
    for (int i = 0; i < tracks.u.list->num; ++i) {
        const mpv_node& track = tracks.u.list->values[i];
        if (track.format != MPV_FORMAT_NODE_MAP)
            continue;
        for (int k = 0; k < track.u.list->num; ++k) {
            const mpv_node& value = track.u.list->values[k];
            if (std::string_view(track.u.list->keys[k]) != "type" || value.format != MPV_FORMAT_STRING)
                continue;
            hasVideo |= std::string_view(value.u.string) == "video";
            hasAudio |= std::string_view(value.u.string) == "audio";
        }
    }
    return {hasVideo, hasAudio};
}

void setOption(mpv_handle* handle, const char* name, const char* value)
{
    mpv_set_option_string(handle, name, value);
}

uint32_t toMs(double seconds)
{
    if (!(seconds > 0))
        return 0;
    const double ms = std::round(seconds * 1000.0);
    return ms >= 4294967295.0 ? 4294967295u : static_cast<uint32_t>(ms);
}

bool holdsData(const std::string& path)
{
    const QFileInfo file(QString::fromStdString(path));
    return file.isFile() && file.isReadable() && file.size() > 0;
}

QWidget* widgetOf(Window* window)
{
    return window ? dynamic_cast<QWidget*>(window) : nullptr;
}
}  // namespace

void MpvEngine::HandleDeleter::operator()(mpv_handle* handle) const
{
    mpv_terminate_destroy(handle);
}

MpvEngine::MpvEngine(MpvEngineOptions options) : options_(std::move(options))
{
    backwardTimer_.setInterval(kBackwardTickMs);
    connect(&backwardTimer_, &QTimer::timeout, this, &MpvEngine::backwardTick);
    openTimer_.setSingleShot(true);
    connect(&openTimer_, &QTimer::timeout, this, [this] {
        unload();
        answer(false);
    });
    clock_.start();
}

MpvEngine::~MpvEngine()
{
    deInit();
}

bool MpvEngine::pictureIsOpenGl() const
{
    return picture_ && dynamic_cast<GlPicture*>(picture_.data()) != nullptr;
}

// ---- life of the engine ----

bool MpvEngine::init(bool useActiveMovie)
{
    if (handle_)
        return true;
    std::unique_ptr<mpv_handle, HandleDeleter> handle(mpv_create());
    if (!handle)
        return false;
    mpv_handle* h = handle.get();
    for (const auto& [name, value] : kFixedOptions)
        setOption(h, name, value);
    setOption(h, mpvname::AudioOutput, options_.audioOutput.c_str());
    // libmpv's own account of what it does, for looking into a fault: one file per engine.
    if (const QByteArray folder = qgetenv("QUINTARA_MPV_LOG"); !folder.isEmpty()) {
        const QByteArray file = folder + "/mpv-" + QByteArray::number(::getpid()) + "-" +
                                QByteArray::number(reinterpret_cast<quintptr>(this), 16) + ".log";
        setOption(h, mpvname::LogFile, file.constData());
    }
    if (mpv_initialize(h) < 0)
        return false;
    // Without it a Video CD's streams fail to open, and only they.
    RegisterVcdStreams(h);
    mpv_observe_property(h, kTimePos, mpvname::TimePos, MPV_FORMAT_DOUBLE);
    mpv_observe_property(h, kDuration, mpvname::Duration, MPV_FORMAT_DOUBLE);
    mpv_observe_property(h, kEofReached, mpvname::EofReached, MPV_FORMAT_FLAG);
    mpv_set_wakeup_callback(h, &MpvEngine::wakeup, this);

    switch (options_.picture) {
    case MpvEngineOptions::Picture::ByInit:
        useOpenGl_ = useActiveMovie && HardwareOpenGlAvailable();
        break;
    case MpvEngineOptions::Picture::Software:
        useOpenGl_ = false;
        break;
    case MpvEngineOptions::Picture::OpenGl:
        useOpenGl_ = true;
        break;
    }
    handle_ = std::move(handle);
    return true;
}

bool MpvEngine::deInit()
{
    if (!handle_)
        return false;
    close();
    // Nobody is left to hear an answer once the engine is gone.
    answerPending_ = false;
    openTimer_.stop();
    mpv_set_wakeup_callback(handle_.get(), nullptr, nullptr);
    // The render context has to go before the handle.
    removePicture();
    handle_.reset();
    drainQueued_ = false;
    return true;
}

void MpvEngine::wakeup(void* self)
{
    static_cast<MpvEngine*>(self)->queueDrain();
}

void MpvEngine::queueDrain()
{
    if (!drainQueued_.exchange(true))
        QMetaObject::invokeMethod(this, &MpvEngine::drainEvents, Qt::QueuedConnection);
}

void MpvEngine::drainEvents()
{
    drainQueued_ = false;
    while (handle_) {
        const mpv_event* event = mpv_wait_event(handle_.get(), 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        handleEvent(*event);
    }
    tellStatus();
}

void MpvEngine::tellStatus()
{
    const uint16_t status = StatusOf({open_, stopped_, eof_, paused_, rate_});
    if (status == toldStatus_)
        return;
    toldStatus_ = status;
    emit statusChanged(status);
}

void MpvEngine::handleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_PROPERTY_CHANGE:
        propertyChanged(event);
        break;
    case MPV_EVENT_GET_PROPERTY_REPLY:
        tookReply(event);
        break;
    case MPV_EVENT_COMMAND_REPLY:
        commandReplied(event);
        break;
    case MPV_EVENT_START_FILE:
        currentEntry_ = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
        break;
    case MPV_EVENT_FILE_LOADED:
        if (load_ == Load::Loading && loadEntry_ != 0 && currentEntry_ == loadEntry_)
            load_ = Load::Loaded;
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        if (load_ == Load::Loaded) {
            load_ = Load::Ready;
            askFileFacts();
        }
        // The observed time may come after this event; until then it is the old one.
        if (seekPending_)
            mpv_get_property_async(handle_.get(), kLanded, mpvname::TimePos, MPV_FORMAT_DOUBLE);
        break;
    case MPV_EVENT_END_FILE:
        if (loadEntry_ != 0 && static_cast<const mpv_event_end_file*>(event.data)->playlist_entry_id == loadEntry_)
            fileEnded();
        break;
    default:
        break;
    }
}

void MpvEngine::propertyChanged(const mpv_event& event)
{
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    const bool has = property->data != nullptr;
    if (event.reply_userdata == kTimePos && property->format == MPV_FORMAT_DOUBLE) {
        timePos_ = *static_cast<const double*>(property->data);
        if (open_)
            emit positionChanged(positionMs());
        // A still's sound ends the still (within its last sound frame, whose time libmpv may
        // not report); libmpv itself waits on for its one picture.
        if (openAs_ == OpenAs::Still && hasAudio_ && !paused_ && lengthMs_ != 0 &&
            toMs(timePos_) + kStillSoundSlackMs >= lengthMs_)
            reachedEnd(true);
    } else if (event.reply_userdata == kDuration && has && property->format == MPV_FORMAT_DOUBLE) {
        durationMs_ = toMs(*static_cast<const double*>(property->data));
    } else if (event.reply_userdata == kEofReached) {
        reachedEnd(has && property->format == MPV_FORMAT_FLAG && *static_cast<const int*>(property->data));
    }
}

void MpvEngine::commandReplied(const mpv_event& event)
{
    if (event.reply_userdata == kSeek) {
        if (event.error < 0)
            seekLanded(timePos_);
        return;
    }
    // Which entry of libmpv's list is this open's; the ends of the files before it are not its.
    if (event.reply_userdata != ofOpen(openSerial_, kLoad) || load_ != Load::Loading)
        return;
    const auto* reply = static_cast<const mpv_event_command*>(event.data);
    const mpv_node& result = reply->result;
    if (event.error >= 0 && result.format == MPV_FORMAT_NODE_MAP)
        for (int i = 0; i < result.u.list->num; ++i)
            if (std::string_view(result.u.list->keys[i]) == "playlist_entry_id" &&
                result.u.list->values[i].format == MPV_FORMAT_INT64)
                loadEntry_ = result.u.list->values[i].u.int64;
    if (loadEntry_ == 0)
        fileEnded();
}

void MpvEngine::fileEnded()
{
    if (!open_ && load_ != Load::None) {
        unload();
        answer(false);
    } else if (open_) {
        lostFile();
    }
}

void MpvEngine::loadFinished()
{
    if (!useFileFacts()) {
        unload();
        answer(false);
        return;
    }
    open_ = true;
    stopped_ = true;
    paused_ = true;
    eof_ = false;
    atStart_ = true;
    answer(true);
}

void MpvEngine::answer(bool opened)
{
    if (!answerPending_)
        return;
    answerPending_ = false;
    openTimer_.stop();
    tellStatus();
    emit openAnswered(opened);
}

void MpvEngine::refuseLater()
{
    QMetaObject::invokeMethod(
        this,
        [this, serial = openSerial_] {
            if (serial == openSerial_)
                answer(false);
        },
        Qt::QueuedConnection);
}

// ---- open and close ----

void MpvEngine::resetFileState()
{
    stopBackward();
    open_ = false;
    load_ = Load::None;
    timePos_ = 0;
    durationMs_ = 0;
    lengthMs_ = 0;
    frameMs_ = 40;
    eof_ = false;
    seekPending_ = false;
    seekTarget_ = 0;
    hasAudio_ = false;
    stopped_ = true;
    paused_ = true;
    atStart_ = false;
    rate_ = 1000;
}

void MpvEngine::unload()
{
    stopBackward();
    if (handle_ && (open_ || load_ != Load::None)) {
        const char* command[] = {mpvname::Stop, nullptr};
        mpv_command_async(handle_.get(), 0, command);
    }
    hidePicture();
    resetFileState();
}

void MpvEngine::askFileFacts()
{
    facts_ = {};
    facts_.awaited = 3;
    mpv_get_property_async(handle_.get(), ofOpen(openSerial_, kTracks), mpvname::TrackList, MPV_FORMAT_NODE);
    mpv_get_property_async(handle_.get(), ofOpen(openSerial_, kLength), mpvname::Duration, MPV_FORMAT_DOUBLE);
    mpv_get_property_async(handle_.get(), ofOpen(openSerial_, kFps), mpvname::ContainerFps, MPV_FORMAT_DOUBLE);
}

void MpvEngine::tookReply(const mpv_event& event)
{
    if (event.reply_userdata == kLanded) {
        if (seekPending_)
            seekLanded(event.error >= 0 ? doubleOf(event) : timePos_);
        return;
    }
    if (load_ != Load::Ready || facts_.awaited == 0)
        return;
    const uint64_t id = event.reply_userdata;
    if (id == ofOpen(openSerial_, kTracks)) {
        const auto* property = static_cast<const mpv_event_property*>(event.data);
        if (event.error >= 0 && property->format == MPV_FORMAT_NODE && property->data)
            facts_.kinds = kindsOf(*static_cast<const mpv_node*>(property->data));
    } else if (id == ofOpen(openSerial_, kLength)) {
        facts_.length = doubleOf(event);
    } else if (id == ofOpen(openSerial_, kFps)) {
        facts_.fps = doubleOf(event);
    } else {
        return;
    }
    if (--facts_.awaited == 0)
        loadFinished();
}

void MpvEngine::seekLanded(double at)
{
    timePos_ = at;
    seekPending_ = false;
    stepper_.seekLanded();
}

bool MpvEngine::useFileFacts()
{
    // The observed length normally came with the file; the one asked for when it has not yet.
    if (durationMs_ == 0)
        durationMs_ = toMs(facts_.length);
    lengthMs_ = durationMs_;
    hasAudio_ = facts_.kinds.second;
    if (facts_.fps > 1 && facts_.fps < 1000)
        frameMs_ = static_cast<uint32_t>(std::lround(1000.0 / facts_.fps));
    // A still's stream lasts a frame: its picture is what it holds.
    if (openAs_ == OpenAs::Still)
        return facts_.kinds.first || lengthMs_ >= kShortestFile;
    return (facts_.kinds.first || facts_.kinds.second) && lengthMs_ >= kShortestFile;
}

void MpvEngine::open(Window* imageWindow, const std::string& path, OpenAs as)
{
    answer(false);
    ++openSerial_;
    openAs_ = as;
    answerPending_ = true;
    if (!handle_) {
        refuseLater();
        return;
    }
    if (open_ || load_ != Load::None)
        unload();
    // A Video CD's stream is read through its sectors; every other file as it stands.
    const std::optional<RawVcdSource> raw = path.empty() ? std::nullopt : FindRawVcdSource(path);
    if (path.empty() || !(raw ? raw->size > 0 : holdsData(path))) {
        refuseLater();
        return;
    }
    if (QWidget* parent = widgetOf(imageWindow)) {
        if (!showPicture(parent)) {
            refuseLater();
            return;
        }
    } else {
        // Without a window the file plays with no video output.
        hidePicture();
        useVideoOutput(false);
    }
    const std::string target = raw ? VcdStreamUrl(*raw) : path;
    const std::string filters = AudioFilterOption(audio_);
    for (auto [name, value] : {std::pair{mpvname::Pause, "yes"}, std::pair{mpvname::Speed, "1"},
                               std::pair{mpvname::AudioFilters, filters.c_str()}})
        mpv_set_property_async(handle_.get(), 0, name, MPV_FORMAT_STRING, &value);
    load_ = Load::Loading;
    loadEntry_ = 0;
    // libmpv shows a one-picture stream as an image for image-display-duration; a still is
    // to end at once and hold its picture, for this file alone.
    const char* command[] = {mpvname::LoadFile, target.c_str(), "replace",
                             as == OpenAs::Still ? kStillEndsAtOnce : nullptr, nullptr};
    if (mpv_command_async(handle_.get(), ofOpen(openSerial_, kLoad), command) < 0) {
        unload();
        refuseLater();
        return;
    }
    openTimer_.start(options_.openTimeoutMs);
}

bool MpvEngine::close()
{
    if (!handle_)
        return false;
    unload();
    answer(false);
    tellStatus();
    return true;
}

void MpvEngine::lostFile()
{
    // libmpv gave the file up by itself (a read error, a vanished video output): the player
    // sees a stop at the end.
    stopBackward();
    eof_ = true;
    stopped_ = true;
    paused_ = true;
    emit positionChanged(positionMs());
    emit endOfFile();
}

// ---- state ----

uint32_t MpvEngine::positionMs() const
{
    if (!open_)
        return 0;
    // The first picture's time may come after the answer, and only then: the start is 0.
    if (atStart_)
        return 0;
    if (eof_)
        return lengthMs_;
    // libmpv's time runs through the pictures it decodes on the way to an exact seek's target;
    // going backward, where the pictures stand is the stepper's.
    if (seekPending_ || stepper_.running())
        return seekTarget_;
    return std::min(toMs(timePos_), lengthMs_);
}

void MpvEngine::reachedEnd(bool atEnd)
{
    // An end already told (a still's sound's) is not told again when libmpv's own comes.
    if (!atEnd || !open_ || eof_ || seekPending_ || stepper_.running())
        return;
    eof_ = true;
    stopped_ = true;
    paused_ = true;
    emit positionChanged(positionMs());
    emit endOfFile();
}

void MpvEngine::setPaused(bool paused)
{
    const char* value = paused ? "yes" : "no";
    mpv_set_property_async(handle_.get(), 0, mpvname::Pause, MPV_FORMAT_STRING, &value);
}

void MpvEngine::setSpeed(int32_t rate)
{
    double speed = ForwardSpeed(rate) / 1000.0;
    mpv_set_property_async(handle_.get(), 0, mpvname::Speed, MPV_FORMAT_DOUBLE, &speed);
}

void MpvEngine::issueSeek(uint32_t position)
{
    const std::string seconds = std::to_string(position / 1000) + "." + std::to_string(1000 + position % 1000).substr(1);
    const char* command[] = {mpvname::Seek, seconds.c_str(), mpvname::SeekAbsoluteExact, nullptr};
    if (mpv_command_async(handle_.get(), kSeek, command) < 0)
        return;
    seekPending_ = true;
    seekTarget_ = position;
    eof_ = false;
    atStart_ = false;
    emit positionChanged(position);
}

std::string MpvEngine::propertyText(const char* name) const
{
    if (!handle_)
        return {};
    char* value = mpv_get_property_string(handle_.get(), name);
    std::string text = value ? value : "";
    mpv_free(value);
    return text;
}

double MpvEngine::speedInForce() const
{
    double speed = 0;
    if (!handle_ || mpv_get_property(handle_.get(), mpvname::Speed, MPV_FORMAT_DOUBLE, &speed) < 0)
        return 0;
    return speed;
}

std::string MpvEngine::imageDurationInForce() const
{
    return propertyText(mpvname::ImageDisplayDuration);
}

std::string MpvEngine::videoOutput() const
{
    return propertyText(mpvname::CurrentVideoOutput);
}

uint64_t MpvEngine::droppedFrames() const
{
    uint64_t total = 0;
    for (const char* name : {mpvname::FrameDropCount, mpvname::DecoderFrameDropCount}) {
        int64_t count = 0;
        if (handle_ && mpv_get_property(handle_.get(), name, MPV_FORMAT_INT64, &count) >= 0 && count > 0)
            total += static_cast<uint64_t>(count);
    }
    return total;
}

bool MpvEngine::resetImageSize()
{
    if (!picture_)
        return false;
    if (QWidget* parent = picture_->parentWidget())
        picture_->setGeometry(parent->rect());
    return true;
}
