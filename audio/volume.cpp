#include "audio/audio.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "audio/window_timers.h"
#include "components/components.h"
#include "core/app_windows.h"
#include "core/command_id.h"
#include "core/player_ids.h"
#include "core/player_settings.h"
#include "core/player_state.h"
#include "led/led_refresh.h"

namespace {
namespace kind {
constexpr uint32_t Mute = 0;
constexpr uint32_t Volume = 1;
}  // namespace kind

uint32_t stepped(uint32_t value, uint32_t minimum, uint32_t maximum, uint64_t step, bool up)
{
    if (up)
        return static_cast<uint32_t>(std::min<uint64_t>(uint64_t{value} + step, maximum));
    if (uint64_t{value} <= minimum + step)
        return minimum;
    return static_cast<uint32_t>(value - step);
}
}  // namespace

// A control's values, read from the mixer and written back.
struct Audio::Values {
    Values(SonokitMixer& from, uint32_t onLine) : mixer(from), line(onLine) {}

    bool read(uint32_t controlKind)
    {
        std::optional<std::vector<uint32_t>> read = mixer.getValue(0, line, controlKind);
        if (read)
            items = std::move(*read);
        return read.has_value();
    }
    bool write(uint32_t controlKind) const { return mixer.setValue(0, line, controlKind, items); }

    SonokitMixer& mixer;
    uint32_t line;
    std::vector<uint32_t> items;
};

struct Audio::Range {
    uint32_t maximum = 0;
    uint32_t minimum = 0;
    // The width of one display level; 0 when there are more levels than values.
    uint64_t step = 0;

    uint32_t level(uint32_t value) const
    {
        if (step == 0 || value < minimum)
            return 0;
        return static_cast<uint32_t>((uint64_t{value} - minimum + 1) / step);
    }
};

Audio::Audio(Components& components, const PlayerSettings& settings, PlayerState& state, const AppWindows& windows,
             ModalLoops& modalLoops, LedDisplay& led)
    : components_(components), settings_(settings), state_(state), windows_(windows), modalLoops_(modalLoops), led_(led)
{
}

bool Audio::readRange(Range& range)
{
    const std::optional<MixerRange> read = components_.sonokit->getMaxMinValue(0, MixerLine(), kind::Volume);
    if (!read)
        return false;
    range.maximum = read->maximum;
    range.minimum = read->minimum;
    // Widened, so that a control spanning all 32 bits does not wrap to an empty range.
    const uint64_t size = uint64_t{range.maximum} - range.minimum + 1;
    const uint32_t levels = settings_.maxVolumeLevel;
    range.step = levels == 0 ? 0 : size / levels;
    return true;
}

uint32_t Audio::MixerLine() const
{
    return settings_.controlMasterVolume ? 0 : 8;
}

bool Audio::ToggleMute()
{
    Values mute{*components_.sonokit, MixerLine()};
    if (!mute.read(kind::Mute))
        return false;
    for (uint32_t& channel : mute.items)
        channel = channel == 0;
    return mute.write(kind::Mute);
}

bool Audio::StepVolume(bool up, bool started)
{
    // The main window's repeat steps the way the last press went.
    state_.volumeHeldUp = up;
    const WindowTimers mainTimers(windows_.main);
    mainTimers.stop(main_timer::VolumeRepeat);
    if (!started)
        return true;
    Range range;
    Values volume{*components_.sonokit, MixerLine()};
    if (!readRange(range) || !volume.read(kind::Volume))
        return false;
    // More levels than values: no step can be taken, and repeating would change nothing.
    if (range.step == 0)
        return false;
    for (uint32_t& channel : volume.items)
        channel = stepped(channel, range.minimum, range.maximum, range.step, up);
    if (!volume.write(kind::Volume))
        return false;
    mainTimers.start(main_timer::VolumeRepeat, settings_.volumeInterval);
    return true;
}

bool Audio::ReadMuteState(bool repaint)
{
    {
        Values mute{*components_.sonokit, MixerLine()};
        if (!mute.read(kind::Mute))
            return false;
        for (uint32_t channel : mute.items)
            state_.muted = channel != 0;
    }
    if (repaint)
        led_.RefreshMute(false);
    if (panel_)
        panel_->setButtonChecked(CommandId::MuteUnMute, state_.muted);
    return true;
}

bool Audio::ReadVolumeLevel(bool repaint)
{
    {
        Range range;
        Values volume{*components_.sonokit, MixerLine()};
        if (!readRange(range) || !volume.read(kind::Volume))
            return false;
        const std::vector<uint32_t>& channels = volume.items;
        if (channels.empty()) {
            state_.volumeLeft = state_.volumeRight = 0;
        } else {
            state_.volumeLeft = range.level(channels[0]);
            state_.volumeRight = channels.size() == 1 ? state_.volumeLeft : range.level(channels[1]);
        }
    }
    if (repaint)
        led_.RefreshVolume(false);
    return true;
}

std::optional<double> Audio::ReadVolumeShare()
{
    Range range;
    Values volume{*components_.sonokit, MixerLine()};
    if (!readRange(range) || !volume.read(kind::Volume) || range.maximum <= range.minimum)
        return std::nullopt;
    uint32_t loudest = range.minimum;
    for (uint32_t channel : volume.items)
        loudest = std::max(loudest, channel);
    const double span = double(range.maximum) - range.minimum;
    return std::clamp((double(loudest) - range.minimum) / span, 0.0, 1.0);
}

bool Audio::SetVolumeShare(double share)
{
    if (std::isnan(share))
        return false;
    Range range;
    Values volume{*components_.sonokit, MixerLine()};
    if (!readRange(range) || !volume.read(kind::Volume) || range.maximum < range.minimum)
        return false;
    const double span = double(range.maximum) - range.minimum;
    const auto value = static_cast<uint32_t>(range.minimum + std::lround(std::clamp(share, 0.0, 1.0) * span));
    for (uint32_t& channel : volume.items)
        channel = value;
    return volume.write(kind::Volume);
}
