#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/player_state.h"
#include "core/panel_skin.h"

// What each LED element shows, as plain functions of the state: no pictures, no painting.

// The two digits of the track number by slot (units, tens), or hidden in the off phase of an
// entry's blink, and while a picture item without a number shows. During an entry the entered number shows instead of the open track.
struct TrackNumberView {
    bool shown = true;
    std::array<uint32_t, 2> digits{};
};
TrackNumberView Led_TrackNumberView(const PlayerState& state);

// h:mm:ss of whole seconds by slot: seconds units and tens, minutes units and tens, hours
// units (ten hours wrap to 0).
std::array<uint32_t, 5> Led_TimeDigits(uint32_t milliseconds);

// Paused lights Play and Pause together; any status above 4 reads as stopped.
struct PlayStateLights {
    bool play = false;
    bool pause = false;
    bool stop = false;
    bool operator==(const PlayStateLights&) const = default;
};
PlayStateLights Led_PlayStateLights(uint16_t status);

// The member of a group of count lit by value, none when value is count or beyond.
std::optional<size_t> Led_LitMember(uint32_t value, size_t count);

// The lit widths of the volume bar: the upper half shows the left level, the lower half the
// right one, each level step width / steps pixels wide. Not clipped to the bar. Zero steps
// count as 16.
struct VolumeBarView {
    int leftWidth = 0;
    int rightWidth = 0;
    int half = 0;
    bool operator==(const VolumeBarView&) const = default;
};
VolumeBarView Led_VolumeBarView(Size bar, uint32_t steps, uint32_t left, uint32_t right);

// What the display shows, read out in words for assistive technologies: the track number as
// its two digits (an entered one while an entry runs, whatever its blink) or "Picture" for an
// item without a number, the time and the
// track's length, the play state as its lights read, the volume as the bar's levels of
// volumeSteps (zero counts as 16), then "muted" and the repeat mode where they are lit.
std::string Led_Text(const PlayerState& state, uint32_t volumeSteps);
