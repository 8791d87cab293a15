#include "led/led_view.h"

#include <algorithm>
#include <limits>

TrackNumberView Led_TrackNumberView(const PlayerState& state)
{
    TrackNumberView view;
    view.shown = !state.trackNumberHidden;
    uint32_t value = state.currentTrack;
    if (state.entryActive) {
        value = state.enteredNumber;
        view.shown = state.entryBlinkOn;
    }
    for (uint32_t& digit : view.digits) {
        digit = value % 10;
        value /= 10;
    }
    return view;
}

std::array<uint32_t, 5> Led_TimeDigits(uint32_t milliseconds)
{
    const uint32_t t = milliseconds / 1000;
    const uint32_t seconds = t % 60, minutes = t / 60 % 60;
    return {seconds % 10, seconds / 10, minutes % 10, minutes / 10, t / 3600 % 10};
}

PlayStateLights Led_PlayStateLights(uint16_t status)
{
    using namespace engine_status;
    return {status >= Paused && status <= Backward, status == Paused, status == Stopped || status > Backward};
}

std::optional<size_t> Led_LitMember(uint32_t value, size_t count)
{
    if (value >= count)
        return std::nullopt;
    return size_t(value);
}

VolumeBarView Led_VolumeBarView(Size bar, uint32_t steps, uint32_t left, uint32_t right)
{
    if (steps == 0)
        steps = 16;
    // The bar's width is read unsigned, as the division always was; the products are kept in
    // range, for nothing past the picture is drawn anyway.
    const int64_t step = int64_t(uint32_t(bar.width) / steps);
    const auto lit = [&](uint32_t level) {
        return int(std::min<int64_t>(step * level, std::numeric_limits<int>::max()));
    };
    return {lit(left), lit(right), bar.height / 2};
}

namespace {
std::string clockText(uint32_t milliseconds)
{
    const std::array<uint32_t, 5> d = Led_TimeDigits(milliseconds);
    using namespace time_slot;
    std::string text;
    for (const uint32_t digit : {d[HourUnit], d[MinuteDecimal], d[MinuteUnit], d[SecondDecimal], d[SecondUnit]}) {
        if (text.size() == 1 || text.size() == 4)
            text += ':';
        text += char('0' + digit);
    }
    return text;
}

std::string playStateText(uint16_t status)
{
    const PlayStateLights lights = Led_PlayStateLights(status);
    if (lights.pause)
        return "paused";
    return lights.play ? "playing" : "stopped";
}

constexpr const char* kRepeatWords[] = {nullptr, "repeat list", "repeat track"};
}  // namespace

std::string Led_Text(const PlayerState& state, uint32_t volumeSteps)
{
    const TrackNumberView track = Led_TrackNumberView(state);
    std::string text = "Picture";
    if (state.entryActive || !state.trackNumberHidden) {
        text = "Track ";
        text += char('0' + track.digits[track_slot::Decimal]);
        text += char('0' + track.digits[track_slot::Unit]);
    }
    text += ", " + clockText(state.position) + " of " + clockText(state.length);
    text += ", " + playStateText(state.status);
    const std::string steps = std::to_string(volumeSteps == 0 ? 16 : volumeSteps);
    if (state.volumeLeft == state.volumeRight)
        text += ", volume " + std::to_string(state.volumeLeft) + " of " + steps;
    else
        text += ", volume " + std::to_string(state.volumeLeft) + " left and " + std::to_string(state.volumeRight) +
                " right of " + steps;
    if (state.muted)
        text += ", muted";
    if (const std::optional<size_t> repeat = Led_LitMember(static_cast<uint32_t>(state.repeatMode), 3))
        if (const char* words = kRepeatWords[*repeat])
            text += std::string(", ") + words;
    return text;
}
