#include "led/led_view.h"

#include <algorithm>
#include <limits>

TrackNumberView Led_TrackNumberView(const PlayerState& state)
{
    TrackNumberView view;
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
