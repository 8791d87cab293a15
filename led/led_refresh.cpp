#include "led/led_refresh.h"

#include <cstdint>
#include <initializer_list>

#include "context/app_context.h"
#include "core/state_notices.h"
#include "core/saturated.h"
#include "core/window.h"

namespace {
void mark(Window& panel, Point at, Size size)
{
    panel.invalidate({at.x, at.y, SaturatedInt(int64_t{at.x} + size.width + 1),
                      SaturatedInt(int64_t{at.y} + size.height + 1)});
}

uint32_t finish(Window& panel, uint32_t now)
{
    if (now)
        panel.repaintNow();
    return 1;
}

uint32_t refreshSingle(const LedElement PanelSkin::*element, uint32_t now)
{
    Window* panel = app().windows.panel;
    const LedElement& led = app().panelSkin.*element;
    if (!panel || !led.present())
        return 0;
    mark(*panel, led.position, led.size);
    return finish(*panel, now);
}

uint32_t refreshGroup(std::initializer_list<const LedElement*> members, uint32_t now)
{
    Window* panel = app().windows.panel;
    if (!panel)
        return 0;
    for (const LedElement* led : members) {
        if (led->present())
            mark(*panel, led->position, led->size);
    }
    return finish(*panel, now);
}

template <size_t N>
uint32_t refreshGroup(const std::array<LedElement, N>& members, uint32_t now)
{
    Window* panel = app().windows.panel;
    if (!panel)
        return 0;
    for (const LedElement& led : members) {
        if (led.present())
            mark(*panel, led.position, led.size);
    }
    return finish(*panel, now);
}

template <size_t Slots>
uint32_t refreshStrip(const LedDigitStrip<Slots>& strip, uint32_t now)
{
    Window* panel = app().windows.panel;
    if (!panel || !strip.strip || strip.cell.width == 0 || strip.cell.height == 0)
        return 0;
    for (const Point& slot : strip.digitPositions) {
        if (slot != Point{})
            mark(*panel, slot, strip.cell);
    }
    return finish(*panel, now);
}
}  // namespace

// Each names its part to the state's listener first: the state changed whether or not a
// panel shows it.
uint32_t Led_RefreshMute(uint32_t now)
{
    app().notices.tell(StatePart::Mute);
    return refreshSingle(&PanelSkin::mute, now);
}

uint32_t Led_RefreshVolume(uint32_t now)
{
    app().notices.tell(StatePart::Volume);
    return refreshSingle(&PanelSkin::volume, now);
}

uint32_t Led_RefreshPlayState(uint32_t now)
{
    app().notices.tell(StatePart::PlayState);
    const PanelSkin& skin = app().panelSkin;
    return refreshGroup({&skin.play, &skin.pause, &skin.stop}, now);
}

uint32_t Led_RefreshRepeat(uint32_t now)
{
    app().notices.tell(StatePart::Repeat);
    return refreshGroup(app().panelSkin.repeat, now);
}

uint32_t Led_RefreshSoundQuality(uint32_t now)
{
    app().notices.tell(StatePart::SoundQuality);
    return refreshGroup(app().panelSkin.soundQuality, now);
}

uint32_t Led_RefreshAudioChannel(uint32_t now)
{
    app().notices.tell(StatePart::AudioChannel);
    return refreshGroup(app().panelSkin.audioChannel, now);
}

uint32_t Led_RefreshSoundChannel(uint32_t now)
{
    app().notices.tell(StatePart::SoundChannel);
    return refreshGroup(app().panelSkin.soundChannel, now);
}

uint32_t Led_RefreshTrackNumber(uint32_t now)
{
    app().notices.tell(StatePart::TrackNumber);
    return refreshStrip(app().panelSkin.trackNumbers, now);
}

uint32_t Led_RefreshTime(uint32_t now)
{
    app().notices.tell(StatePart::Time);
    return refreshStrip(app().panelSkin.timeNumbers, now);
}

uint32_t Led_RefreshTrackTime(uint32_t now)
{
    app().notices.tell(StatePart::TrackTime);
    return refreshStrip(app().panelSkin.trackTimeNumbers, now);
}
