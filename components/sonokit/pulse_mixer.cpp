#include "components/sonokit/pulse_mixer.h"

#include <pulse/introspect.h>
#include <pulse/proplist.h>

#include <unistd.h>

#include <cstring>
#include <vector>

#include "core/message.h"
#include "core/window.h"

using namespace sonokit;

namespace {
constexpr const char* kDefaultDevice = "@DEFAULT_SINK@";

void drop(pa_operation* operation)
{
    if (operation)
        pa_operation_unref(operation);
}

// A stream is ours when this process on this host opened it.
bool ours(const pa_sink_input_info& info)
{
    const char* pid = pa_proplist_gets(info.proplist, PA_PROP_APPLICATION_PROCESS_ID);
    if (!pid || std::to_string(::getpid()) != pid)
        return false;
    const char* host = pa_proplist_gets(info.proplist, PA_PROP_APPLICATION_PROCESS_HOST);
    char name[256] = {};
    return !host || ::gethostname(name, sizeof name - 1) != 0 || std::strcmp(host, name) == 0;
}

LineValues fullVolume()
{
    LineValues values;
    pa_channel_map_init_stereo(&values.map);
    values.volume = {MaximumValue, MaximumValue};
    return values;
}

void acknowledged(pa_context*, int success, void* answer)
{
    static_cast<PulseLink::Answer*>(answer)->finish(success != 0);
}
}  // namespace

// A device's or a stream's values as a waiting call receives them.
struct PulseMixer::Reading : PulseLink::Answer {
    bool found = false;
    uint32_t index = PA_INVALID_INDEX;
    LineValues values;

    template <class Info>
    static void take(pa_context*, const Info* info, int eol, void* self)
    {
        auto* reading = static_cast<Reading*>(self);
        if (eol != 0) {
            reading->finish(eol > 0 && reading->found);
            return;
        }
        if (info && !reading->found) {
            reading->found = true;
            reading->index = info->index;
            reading->values = FromServer(info->volume, info->channel_map, info->mute);
        }
    }
};

PulseMixer::PulseMixer(uint32_t noticeMessage, std::string server)
    : noticeMessage_(noticeMessage), kept_(fullVolume())
{
    seen_[1] = kept_;
    link_ = std::make_unique<PulseLink>(std::move(server), static_cast<PulseLink::Listener&>(*this));
}

PulseMixer::~PulseMixer()
{
    link_.reset();
}

// ---- The calls, on the GUI thread ----

bool PulseMixer::usable(uint32_t mixer, uint32_t line, uint32_t kind)
{
    return mixer == 0 && ControlId(line, kind) != 0 && link_->connect();
}

std::optional<std::vector<uint32_t>> PulseMixer::getValue(uint32_t mixer, uint32_t line, uint32_t kind)
{
    LineValues read;
    if (!usable(mixer, line, kind) || !this->read(*LineSlot(line), read))
        return {};
    return kind == MuteKind ? std::vector<uint32_t>{read.mute} : read.volume;
}

bool PulseMixer::setValue(uint32_t mixer, uint32_t line, uint32_t kind, const std::vector<uint32_t>& values)
{
    // The mute control has one channel.
    if (!usable(mixer, line, kind) || (kind == MuteKind && values.size() != 1))
        return false;
    return line == DefaultDeviceLine ? writeDevice(kind, values) : writeOwnStream(kind, values);
}

std::optional<MixerRange> PulseMixer::getMaxMinValue(uint32_t mixer, uint32_t line, uint32_t kind)
{
    if (!usable(mixer, line, kind))
        return {};
    return MixerRange{.maximum = kind == MuteKind ? 1 : MaximumValue, .minimum = 0};
}

std::optional<uint32_t> PulseMixer::getControlId(uint32_t mixer, uint32_t line, uint32_t kind)
{
    if (!usable(mixer, line, kind))
        return {};
    return ControlId(line, kind);
}

bool PulseMixer::hookDevice(Window* window, uint32_t mixer)
{
    if (mixer != 0 || !window)
        return false;
    hooked_ = window;
    // A hooked window wants to hear of the server again once it is back.
    link_->setRetrying(true);
    return link_->connect();
}

bool PulseMixer::unHookDevice(Window* window, uint32_t mixer)
{
    if (mixer != 0 || !window || hooked_ != window)
        return false;
    hooked_ = nullptr;
    link_->setRetrying(false);
    return true;
}

bool PulseMixer::read(int slot, LineValues& values)
{
    if (slot == 0) {
        Reading device;
        if (!readDevice(device))
            return false;
        values = device.values;
        return true;
    }
    uint32_t stream = PA_INVALID_INDEX;
    {
        PulseLink::Lock lock(*link_);
        if (ownStreams_.empty()) {
            values = kept_;
            return true;
        }
        stream = ownStreams_.rbegin()->first;
    }
    Reading reading;
    const bool answered = link_->await(reading, [stream](pa_context* context, PulseLink::Answer* answer) {
        return pa_context_get_sink_input_info(context, stream, &Reading::take<pa_sink_input_info>, answer);
    });
    if (answered) {
        values = reading.values;
        return true;
    }
    // A stream that ended meanwhile leaves its values behind.
    PulseLink::Lock lock(*link_);
    values = kept_;
    return link_->up();
}

bool PulseMixer::readDevice(Reading& reading)
{
    return link_->await(reading, [](pa_context* context, PulseLink::Answer* answer) {
        return pa_context_get_sink_info_by_name(context, kDefaultDevice, &Reading::take<pa_sink_info>, answer);
    });
}

bool PulseMixer::writeDevice(uint32_t kind, const std::vector<uint32_t>& values)
{
    PulseLink::Answer answer;
    if (kind == MuteKind) {
        const int mute = values[0] != 0;
        return link_->await(answer, [mute](pa_context* context, PulseLink::Answer* waiting) {
            return pa_context_set_sink_mute_by_name(context, kDefaultDevice, mute, acknowledged, waiting);
        });
    }
    // The channels are the device's; it is named by index so that a change of the default
    // device in between cannot send them elsewhere.
    Reading device;
    if (!readDevice(device))
        return false;
    const auto volume = ToVolumes(values, device.values.map.channels);
    if (!volume)
        return false;
    const uint32_t index = device.index;
    return link_->await(answer, [index, &volume](pa_context* context, PulseLink::Answer* waiting) {
        return pa_context_set_sink_volume_by_index(context, index, &*volume, acknowledged, waiting);
    });
}

bool PulseMixer::writeOwnStream(uint32_t kind, const std::vector<uint32_t>& values)
{
    std::map<uint32_t, pa_channel_map> streams;
    LineValues wanted;
    {
        PulseLink::Lock lock(*link_);
        streams = ownStreams_;
        wanted = kept_;
        if (kind == MuteKind) {
            wanted.mute = values[0] != 0;
        } else {
            // The newest stream's channels, or the kept ones while there is none.
            if (!streams.empty())
                wanted.map = streams.rbegin()->second;
            const auto volume = ToVolumes(values, wanted.map.channels);
            if (!volume)
                return false;
            wanted.volume = ToValues(*volume);
        }
        if (streams.empty()) {
            // No stream to hear it yet: the line keeps the values, and says so.
            kept_ = wanted;
            keptSet_ = true;
            compareAndTake(1, kept_);
            return true;
        }
    }
    bool all = true;
    // Copied into the lambda by name: clang 14 cannot capture a structured binding.
    for (const auto& [index, map] : streams) {
        PulseLink::Answer answer;
        const pa_cvolume volume = VolumesFor(wanted, map);
        const int mute = static_cast<int>(wanted.mute);
        all = link_->await(answer, [&, index = index](pa_context* context, PulseLink::Answer* waiting) {
            return kind == MuteKind
                       ? pa_context_set_sink_input_mute(context, index, mute, acknowledged, waiting)
                       : pa_context_set_sink_input_volume(context, index, &volume, acknowledged, waiting);
        }) && all;
    }
    if (all) {
        PulseLink::Lock lock(*link_);
        kept_ = wanted;
        keptSet_ = true;
    }
    return all;
}

void PulseMixer::deliver(uint32_t controlId)
{
    if (hooked_)
        hooked_->post({noticeMessage_, 0, static_cast<intptr_t>(controlId)});
}

// ---- The server's news, on libpulse's thread ----

void PulseMixer::notify(uint32_t controlId)
{
    QMetaObject::invokeMethod(&gui_, [this, controlId] { deliver(controlId); }, Qt::QueuedConnection);
}

void PulseMixer::compareAndTake(int slot, const LineValues& values)
{
    const uint32_t line = slot == 0 ? DefaultDeviceLine : OwnStreamLine;
    LineValues& seen = seen_[slot];
    const bool muteChanged = seen.mute != values.mute;
    const bool volumeChanged = seen.volume != values.volume;
    seen = values;
    if (muteChanged)
        notify(ControlId(line, MuteKind));
    if (volumeChanged)
        notify(ControlId(line, VolumeKind));
}

void PulseMixer::connected(pa_context* context)
{
    // Learn the default device anew, then the streams this process already plays. What
    // changed while the server was away is not known: a reconnection reports the device.
    announceDevice_ = connectedBefore_;
    if (connectedBefore_)
        QMetaObject::invokeMethod(&gui_, [this] { emit serverBack(); }, Qt::QueuedConnection);
    connectedBefore_ = true;
    defaultDevice_.clear();
    drop(pa_context_get_server_info(context, &PulseMixer::serverInfo, this));
    drop(pa_context_get_sink_input_info_list(context, &PulseMixer::newStreamInfo, this));
}

void PulseMixer::lost()
{
    ownStreams_.clear();
}

void PulseMixer::event(pa_context* context, pa_subscription_event_type_t type, uint32_t index)
{
    const auto facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    const auto what = type & PA_SUBSCRIPTION_EVENT_TYPE_MASK;
    switch (facility) {
    case PA_SUBSCRIPTION_EVENT_SERVER:
        drop(pa_context_get_server_info(context, &PulseMixer::serverInfo, this));
        break;
    case PA_SUBSCRIPTION_EVENT_SINK:
        if (what == PA_SUBSCRIPTION_EVENT_CHANGE)
            drop(pa_context_get_sink_info_by_index(context, index, &PulseMixer::deviceInfo, this));
        break;
    case PA_SUBSCRIPTION_EVENT_SINK_INPUT:
        if (what == PA_SUBSCRIPTION_EVENT_NEW)
            drop(pa_context_get_sink_input_info(context, index, &PulseMixer::newStreamInfo, this));
        else if (what == PA_SUBSCRIPTION_EVENT_CHANGE && ownStreams_.contains(index))
            drop(pa_context_get_sink_input_info(context, index, &PulseMixer::streamInfo, this));
        else if (what == PA_SUBSCRIPTION_EVENT_REMOVE)
            ownStreams_.erase(index);
        break;
    default:
        break;
    }
}

void PulseMixer::serverInfo(pa_context* context, const pa_server_info* info, void* self)
{
    auto* mixer = static_cast<PulseMixer*>(self);
    const std::string name = info && info->default_sink_name ? info->default_sink_name : "";
    if (!info || name == mixer->defaultDevice_)
        return;
    mixer->defaultDevice_ = name;
    drop(pa_context_get_sink_info_by_name(context, name.c_str(), &PulseMixer::switchedDeviceInfo, self));
}

void PulseMixer::deviceInfo(pa_context*, const pa_sink_info* info, int eol, void* self)
{
    auto* mixer = static_cast<PulseMixer*>(self);
    if (eol == 0 && info && info->name && mixer->defaultDevice_ == info->name)
        mixer->deviceSeen(FromServer(info->volume, info->channel_map, info->mute), false);
}

void PulseMixer::switchedDeviceInfo(pa_context*, const pa_sink_info* info, int eol, void* self)
{
    if (eol == 0 && info)
        static_cast<PulseMixer*>(self)->deviceSeen(FromServer(info->volume, info->channel_map, info->mute), true);
}

void PulseMixer::deviceSeen(const LineValues& values, bool switched)
{
    if (!switched) {
        compareAndTake(0, values);
        return;
    }
    // Another default device (or the same one after a reconnection) counts as a change of
    // the line, whatever its values; the first one learnt is only taken.
    const bool announce = deviceKnown_ || announceDevice_;
    seen_[0] = values;
    deviceKnown_ = true;
    announceDevice_ = false;
    if (announce) {
        notify(ControlId(DefaultDeviceLine, MuteKind));
        notify(ControlId(DefaultDeviceLine, VolumeKind));
    }
}

void PulseMixer::newStreamInfo(pa_context* context, const pa_sink_input_info* info, int eol, void* self)
{
    if (eol == 0 && info && ours(*info))
        static_cast<PulseMixer*>(self)->streamAppeared(context, info->index,
                                                       FromServer(info->volume, info->channel_map, info->mute));
}

void PulseMixer::streamInfo(pa_context*, const pa_sink_input_info* info, int eol, void* self)
{
    if (eol == 0 && info)
        static_cast<PulseMixer*>(self)->streamSeen(info->index, FromServer(info->volume, info->channel_map, info->mute));
}

void PulseMixer::streamAppeared(pa_context* context, uint32_t index, const LineValues& values)
{
    if (ownStreams_.contains(index))
        return;
    ownStreams_[index] = values.map;
    if (keptSet_) {
        giveKeptValues(context, index, values.map);
        return;
    }
    // The line had no values yet: the first stream's become its own.
    kept_ = values;
    keptSet_ = true;
    compareAndTake(1, values);
}

void PulseMixer::streamSeen(uint32_t index, const LineValues& values)
{
    if (!ownStreams_.contains(index))
        return;
    ownStreams_[index] = values.map;
    kept_ = values;
    keptSet_ = true;
    compareAndTake(1, values);
}

void PulseMixer::giveKeptValues(pa_context* context, uint32_t index, const pa_channel_map& map)
{
    const pa_cvolume volume = VolumesFor(kept_, map);
    drop(pa_context_set_sink_input_volume(context, index, &volume, nullptr, nullptr));
    drop(pa_context_set_sink_input_mute(context, index, static_cast<int>(kept_.mute), nullptr, nullptr));
}
