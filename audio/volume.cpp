#include "audio/volume.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "context/app_context.h"
#include "core/player_ids.h"
#include "context/components.h"
#include "led/led_refresh.h"
#include "core/command_id.h"
#include "context/playback_hooks.h"
#include "context/window_access.h"

namespace {
namespace kind {
constexpr uint32_t Mute = 0;
constexpr uint32_t Volume = 1;
}  // namespace kind

SonokitMixer& mixer()
{
    return *app().components.sonokit;
}

// A control's values, read from the mixer and written back.
struct Values {
    bool read(uint32_t controlKind)
    {
        std::optional<std::vector<uint32_t>> read = mixer().getValue(0, MixerLine(), controlKind);
        if (read)
            items = std::move(*read);
        return read.has_value();
    }
    bool write(uint32_t controlKind) const { return mixer().setValue(0, MixerLine(), controlKind, items); }

    std::vector<uint32_t> items;
};

struct Range {
    uint32_t maximum = 0;
    uint32_t minimum = 0;
    // The width of one display level; 0 when there are more levels than values.
    uint64_t step = 0;
};

bool readRange(Range& range)
{
    const std::optional<MixerRange> read = mixer().getMaxMinValue(0, MixerLine(), kind::Volume);
    if (!read)
        return false;
    range.maximum = read->maximum;
    range.minimum = read->minimum;
    // Widened, so that a control spanning all 32 bits does not wrap to an empty range.
    const uint64_t size = uint64_t{range.maximum} - range.minimum + 1;
    const uint32_t levels = app().settings.maxVolumeLevel;
    range.step = levels == 0 ? 0 : size / levels;
    return true;
}

uint32_t stepped(uint32_t value, const Range& range, bool up)
{
    if (up)
        return static_cast<uint32_t>(std::min<uint64_t>(uint64_t{value} + range.step, range.maximum));
    if (uint64_t{value} <= range.minimum + range.step)
        return range.minimum;
    return static_cast<uint32_t>(value - range.step);
}

uint32_t level(uint32_t value, const Range& range)
{
    if (range.step == 0 || value < range.minimum)
        return 0;
    return static_cast<uint32_t>((uint64_t{value} - range.minimum + 1) / range.step);
}
}  // namespace

uint32_t MixerLine()
{
    return app().settings.controlMasterVolume ? 0 : 8;
}

bool ToggleMute()
{
    Values mute;
    if (!mute.read(kind::Mute))
        return false;
    for (uint32_t& channel : mute.items)
        channel = channel == 0;
    return mute.write(kind::Mute);
}

bool StepVolume(bool up, bool started)
{
    StopMainTimer(main_timer::VolumeRepeat);
    if (!started)
        return true;
    Range range;
    Values volume;
    if (!readRange(range) || !volume.read(kind::Volume))
        return false;
    // More levels than values: no step can be taken, and repeating would change nothing.
    if (range.step == 0)
        return false;
    for (uint32_t& channel : volume.items)
        channel = stepped(channel, range, up);
    if (!volume.write(kind::Volume))
        return false;
    StartMainTimer(main_timer::VolumeRepeat, app().settings.volumeInterval);
    return true;
}

bool ReadMuteState(bool repaint)
{
    PlayerState& state = app().state;
    {
        Values mute;
        if (!mute.read(kind::Mute))
            return false;
        for (uint32_t channel : mute.items)
            state.muted = channel != 0;
    }
    if (repaint)
        Led_RefreshMute(false);
    Panel_SetButtonChecked(CommandId::MuteUnMute, state.muted);
    return true;
}

bool ReadVolumeLevel(bool repaint)
{
    PlayerState& state = app().state;
    {
        Range range;
        Values volume;
        if (!readRange(range) || !volume.read(kind::Volume))
            return false;
        const std::vector<uint32_t>& channels = volume.items;
        if (channels.empty()) {
            state.volumeLeft = state.volumeRight = 0;
        } else {
            state.volumeLeft = level(channels[0], range);
            state.volumeRight = channels.size() == 1 ? state.volumeLeft : level(channels[1], range);
        }
    }
    if (repaint)
        Led_RefreshVolume(false);
    return true;
}

std::optional<double> ReadVolumeShare()
{
    Range range;
    Values volume;
    if (!readRange(range) || !volume.read(kind::Volume) || range.maximum <= range.minimum)
        return std::nullopt;
    uint32_t loudest = range.minimum;
    for (uint32_t channel : volume.items)
        loudest = std::max(loudest, channel);
    const double span = double(range.maximum) - range.minimum;
    return std::clamp((double(loudest) - range.minimum) / span, 0.0, 1.0);
}

bool SetVolumeShare(double share)
{
    if (std::isnan(share))
        return false;
    Range range;
    Values volume;
    if (!readRange(range) || !volume.read(kind::Volume) || range.maximum < range.minimum)
        return false;
    const double span = double(range.maximum) - range.minimum;
    const auto value = static_cast<uint32_t>(range.minimum + std::lround(std::clamp(share, 0.0, 1.0) * span));
    for (uint32_t& channel : volume.items)
        channel = value;
    return volume.write(kind::Volume);
}
