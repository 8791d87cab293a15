#pragma once

#include <QObject>

#include <pulse/introspect.h>

#include <map>
#include <memory>
#include <string>

#include "components/sonokit/sonokit.h"
#include "components/sonokit/pulse_link.h"
#include "components/sonokit/sonokit_values.h"

// The system mixer on a PulseAudio server (PipeWire desktops answer the same protocol).
// Line 0 is the default output device; line 8 is this process's own output stream, whose
// values are kept while it does not exist and given to it when it appears. Every change,
// whoever makes it, reaches the hooked window as a control-change notice on the GUI thread.
// Without a server every call fails; calls reconnect when it is back.
class PulseMixer : public QObject, public SonokitMixer, private PulseLink::Listener {
    Q_OBJECT
public:
    // noticeMessage is the message the hooked window takes the notices as: wParam 0, lParam
    // the control's id.
    explicit PulseMixer(uint32_t noticeMessage, std::string server = {});
    ~PulseMixer() override;

    std::optional<std::vector<uint32_t>> getValue(uint32_t mixer, uint32_t line, uint32_t kind) override;
    bool setValue(uint32_t mixer, uint32_t line, uint32_t kind, const std::vector<uint32_t>& values) override;
    std::optional<MixerRange> getMaxMinValue(uint32_t mixer, uint32_t line, uint32_t kind) override;
    std::optional<uint32_t> getControlId(uint32_t mixer, uint32_t line, uint32_t kind) override;
    bool hookDevice(Window* window, uint32_t mixer) override;
    bool unHookDevice(Window* window, uint32_t mixer) override;

signals:
    // On the GUI thread, each time the server is reached again after it was lost: the streams
    // of the process died with the old one.
    void serverBack();

private:
    using LineValues = sonokit::LineValues;
    struct Reading;

    // GUI thread.
    bool usable(uint32_t mixer, uint32_t line, uint32_t kind);
    bool read(int slot, LineValues& values);
    bool readDevice(Reading& reading);
    bool writeDevice(uint32_t kind, const std::vector<uint32_t>& values);
    bool writeOwnStream(uint32_t kind, const std::vector<uint32_t>& values);
    void deliver(uint32_t controlId);

    // libpulse's thread, loop held (and the GUI thread with the Lock).
    void connected(pa_context* context) override;
    void lost() override;
    void event(pa_context* context, pa_subscription_event_type_t type, uint32_t index) override;
    void deviceSeen(const LineValues& values, bool switched);
    void streamAppeared(pa_context* context, uint32_t index, const LineValues& values);
    void streamSeen(uint32_t index, const LineValues& values);
    void giveKeptValues(pa_context* context, uint32_t index, const pa_channel_map& map);
    // Posts a notice for each control of the line whose value differs, and takes the new values.
    void compareAndTake(int slot, const LineValues& values);
    void notify(uint32_t controlId);

    static void serverInfo(pa_context* context, const pa_server_info* info, void* self);
    static void deviceInfo(pa_context* context, const pa_sink_info* info, int eol, void* self);
    static void switchedDeviceInfo(pa_context* context, const pa_sink_info* info, int eol, void* self);
    static void newStreamInfo(pa_context* context, const pa_sink_input_info* info, int eol, void* self);
    static void streamInfo(pa_context* context, const pa_sink_input_info* info, int eol, void* self);

    QObject gui_;                 // queued notices run in its thread, the GUI thread
    Window* hooked_ = nullptr;    // GUI thread only
    const uint32_t noticeMessage_;

    // Loop held.
    std::string defaultDevice_;
    LineValues seen_[2];          // what the notices last reported, per line
    bool deviceKnown_ = false;
    bool connectedBefore_ = false;
    bool announceDevice_ = false;
    LineValues kept_;             // the own stream's values, also while it does not exist
    bool keptSet_ = false;        // false until the line had values of its own or from a stream
    std::map<uint32_t, pa_channel_map> ownStreams_;  // by index, the newest last

    std::unique_ptr<PulseLink> link_;  // last, so that its thread stops first
};
