#pragma once

#include <pulse/channelmap.h>
#include <pulse/volume.h>

#include <cstdint>
#include <optional>
#include <vector>

// How the mixer's lines, controls and values map onto the sound server's.
namespace sonokit {
constexpr uint32_t DefaultDeviceLine = 0;
constexpr uint32_t OwnStreamLine = 8;
constexpr uint32_t MuteKind = 0;
constexpr uint32_t VolumeKind = 1;
// Every volume control runs from 0 to this; the server's full volume is its top.
constexpr uint32_t MaximumValue = 65535;

// The two lines as indexes 0 and 1; nothing for any other selector.
std::optional<int> LineSlot(uint32_t line);
// The id a change notice carries; 0 for a line or kind that does not exist.
uint32_t ControlId(uint32_t line, uint32_t kind);

// Server volumes above the full volume show as the top.
uint32_t ToValue(pa_volume_t volume);
pa_volume_t ToVolume(uint32_t value);
std::vector<uint32_t> ToValues(const pa_cvolume& volume);
// One value per channel, or one value for them all; nothing when the count fits neither.
std::optional<pa_cvolume> ToVolumes(const std::vector<uint32_t>& values, uint8_t channels);

// One line's state: its volume per channel with the channels' layout, and its mute.
struct LineValues {
    std::vector<uint32_t> volume;
    pa_channel_map map{};
    uint32_t mute = 0;
};
LineValues FromServer(const pa_cvolume& volume, const pa_channel_map& map, int mute);
// The values laid out for another channel layout, as the server mixes them.
pa_cvolume VolumesFor(const LineValues& values, const pa_channel_map& target);
}  // namespace sonokit
