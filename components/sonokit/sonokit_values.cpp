#include "components/sonokit/sonokit_values.h"

#include <algorithm>

namespace sonokit {
std::optional<int> LineSlot(uint32_t line)
{
    switch (line) {
    case DefaultDeviceLine: return 0;
    case OwnStreamLine: return 1;
    default: return std::nullopt;
    }
}

uint32_t ControlId(uint32_t line, uint32_t kind)
{
    if (!LineSlot(line) || kind > VolumeKind)
        return 0;
    return line + kind + 1;
}

uint32_t ToValue(pa_volume_t volume)
{
    return volume >= MaximumValue ? MaximumValue : volume;
}

pa_volume_t ToVolume(uint32_t value)
{
    return value >= MaximumValue ? PA_VOLUME_NORM : value;
}

std::vector<uint32_t> ToValues(const pa_cvolume& volume)
{
    std::vector<uint32_t> values;
    for (uint8_t i = 0; i < std::min<uint8_t>(volume.channels, PA_CHANNELS_MAX); ++i)
        values.push_back(ToValue(volume.values[i]));
    return values;
}

std::optional<pa_cvolume> ToVolumes(const std::vector<uint32_t>& values, uint8_t channels)
{
    if (channels == 0 || channels > PA_CHANNELS_MAX || (values.size() != channels && values.size() != 1))
        return std::nullopt;
    pa_cvolume volume{};
    volume.channels = channels;
    for (uint8_t i = 0; i < channels; ++i)
        volume.values[i] = ToVolume(values[values.size() == 1 ? 0 : i]);
    return volume;
}

LineValues FromServer(const pa_cvolume& volume, const pa_channel_map& map, int mute)
{
    return {ToValues(volume), map, mute ? 1u : 0u};
}

pa_cvolume VolumesFor(const LineValues& values, const pa_channel_map& target)
{
    const auto given = ToVolumes(values.volume, static_cast<uint8_t>(std::min<size_t>(values.volume.size(), 255)));
    pa_cvolume volume{};
    if (!given)
        return *pa_cvolume_reset(&volume, target.channels);
    volume = *given;
    if (values.map.channels == volume.channels && pa_channel_map_valid(&values.map) && pa_channel_map_valid(&target))
        pa_cvolume_remap(&volume, &values.map, &target);
    else
        pa_cvolume_set(&volume, target.channels, pa_cvolume_max(&volume));
    return volume;
}
}  // namespace sonokit
