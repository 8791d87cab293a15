#include "led/led_refresh.h"

#include <cstdint>
#include <initializer_list>

#include "core/panel_skin.h"
#include "core/saturated.h"
#include "core/state_notices.h"
#include "core/window.h"

namespace {
void mark(Window& panel, Point at, Size size)
{
    panel.invalidate({at.x, at.y, SaturatedInt(int64_t{at.x} + size.width + 1),
                      SaturatedInt(int64_t{at.y} + size.height + 1)});
}

bool finish(Window& panel, bool now)
{
    if (now)
        panel.repaintNow();
    return true;
}

bool refreshSingle(Window* panel, const LedElement& led, bool now)
{
    if (!panel || !led.present())
        return false;
    mark(*panel, led.position, led.size);
    return finish(*panel, now);
}

bool refreshGroup(Window* panel, std::initializer_list<const LedElement*> members, bool now)
{
    if (!panel)
        return false;
    for (const LedElement* led : members) {
        if (led->present())
            mark(*panel, led->position, led->size);
    }
    return finish(*panel, now);
}

template <size_t N>
bool refreshGroup(Window* panel, const std::array<LedElement, N>& members, bool now)
{
    if (!panel)
        return false;
    for (const LedElement& led : members) {
        if (led.present())
            mark(*panel, led.position, led.size);
    }
    return finish(*panel, now);
}

template <size_t Slots>
bool refreshStrip(Window* panel, const LedDigitStrip<Slots>& strip, bool now)
{
    if (!panel || !strip.strip || strip.cell.width == 0 || strip.cell.height == 0)
        return false;
    for (const Point& slot : strip.digitPositions) {
        if (slot != Point{})
            mark(*panel, slot, strip.cell);
    }
    return finish(*panel, now);
}
}  // namespace

void LedDisplay::showOn(Window* panel, const PanelSkin* skin)
{
    // A panel is never shown without its skin.
    panel_ = skin ? panel : nullptr;
    skin_ = panel ? skin : nullptr;
}

// Each names its part to the notices first: the state changed whether or not a panel shows it.
bool LedDisplay::RefreshMute(bool now)
{
    notices_.tell(StatePart::Mute);
    return panel_ && refreshSingle(panel_, skin_->mute, now);
}

bool LedDisplay::RefreshVolume(bool now)
{
    notices_.tell(StatePart::Volume);
    return panel_ && refreshSingle(panel_, skin_->volume, now);
}

bool LedDisplay::RefreshPlayState(bool now)
{
    notices_.tell(StatePart::PlayState);
    return panel_ && refreshGroup(panel_, {&skin_->play, &skin_->pause, &skin_->stop}, now);
}

bool LedDisplay::RefreshRepeat(bool now)
{
    notices_.tell(StatePart::Repeat);
    return panel_ && refreshGroup(panel_, skin_->repeat, now);
}

bool LedDisplay::RefreshSoundQuality(bool now)
{
    notices_.tell(StatePart::SoundQuality);
    return panel_ && refreshGroup(panel_, skin_->soundQuality, now);
}

bool LedDisplay::RefreshAudioChannel(bool now)
{
    notices_.tell(StatePart::AudioChannel);
    return panel_ && refreshGroup(panel_, skin_->audioChannel, now);
}

bool LedDisplay::RefreshSoundChannel(bool now)
{
    notices_.tell(StatePart::SoundChannel);
    return panel_ && refreshGroup(panel_, skin_->soundChannel, now);
}

bool LedDisplay::RefreshTrackNumber(bool now)
{
    notices_.tell(StatePart::TrackNumber);
    return panel_ && refreshStrip(panel_, skin_->trackNumbers, now);
}

bool LedDisplay::RefreshTime(bool now)
{
    notices_.tell(StatePart::Time);
    return panel_ && refreshStrip(panel_, skin_->timeNumbers, now);
}

bool LedDisplay::RefreshTrackTime(bool now)
{
    notices_.tell(StatePart::TrackTime);
    return panel_ && refreshStrip(panel_, skin_->trackTimeNumbers, now);
}
