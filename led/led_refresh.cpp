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

bool finish(Window& panel, bool now)
{
    if (now)
        panel.repaintNow();
    return true;
}

bool refreshSingle(const LedElement PanelSkin::*element, bool now)
{
    Window* panel = app().windows.panel;
    const LedElement& led = app().panelSkin.*element;
    if (!panel || !led.present())
        return false;
    mark(*panel, led.position, led.size);
    return finish(*panel, now);
}

bool refreshGroup(std::initializer_list<const LedElement*> members, bool now)
{
    Window* panel = app().windows.panel;
    if (!panel)
        return false;
    for (const LedElement* led : members) {
        if (led->present())
            mark(*panel, led->position, led->size);
    }
    return finish(*panel, now);
}

template <size_t N>
bool refreshGroup(const std::array<LedElement, N>& members, bool now)
{
    Window* panel = app().windows.panel;
    if (!panel)
        return false;
    for (const LedElement& led : members) {
        if (led.present())
            mark(*panel, led.position, led.size);
    }
    return finish(*panel, now);
}

template <size_t Slots>
bool refreshStrip(const LedDigitStrip<Slots>& strip, bool now)
{
    Window* panel = app().windows.panel;
    if (!panel || !strip.strip || strip.cell.width == 0 || strip.cell.height == 0)
        return false;
    for (const Point& slot : strip.digitPositions) {
        if (slot != Point{})
            mark(*panel, slot, strip.cell);
    }
    return finish(*panel, now);
}
}  // namespace

// Each names its part to the state's listener first: the state changed whether or not a
// panel shows it.
bool Led_RefreshMute(bool now)
{
    app().notices.tell(StatePart::Mute);
    return refreshSingle(&PanelSkin::mute, now);
}

bool Led_RefreshVolume(bool now)
{
    app().notices.tell(StatePart::Volume);
    return refreshSingle(&PanelSkin::volume, now);
}

bool Led_RefreshPlayState(bool now)
{
    app().notices.tell(StatePart::PlayState);
    const PanelSkin& skin = app().panelSkin;
    return refreshGroup({&skin.play, &skin.pause, &skin.stop}, now);
}

bool Led_RefreshRepeat(bool now)
{
    app().notices.tell(StatePart::Repeat);
    return refreshGroup(app().panelSkin.repeat, now);
}

bool Led_RefreshSoundQuality(bool now)
{
    app().notices.tell(StatePart::SoundQuality);
    return refreshGroup(app().panelSkin.soundQuality, now);
}

bool Led_RefreshAudioChannel(bool now)
{
    app().notices.tell(StatePart::AudioChannel);
    return refreshGroup(app().panelSkin.audioChannel, now);
}

bool Led_RefreshSoundChannel(bool now)
{
    app().notices.tell(StatePart::SoundChannel);
    return refreshGroup(app().panelSkin.soundChannel, now);
}

bool Led_RefreshTrackNumber(bool now)
{
    app().notices.tell(StatePart::TrackNumber);
    return refreshStrip(app().panelSkin.trackNumbers, now);
}

bool Led_RefreshTime(bool now)
{
    app().notices.tell(StatePart::Time);
    return refreshStrip(app().panelSkin.timeNumbers, now);
}

bool Led_RefreshTrackTime(bool now)
{
    app().notices.tell(StatePart::TrackTime);
    return refreshStrip(app().panelSkin.trackTimeNumbers, now);
}
