#include "led/led_draw.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>

#include "context/app_context.h"
#include "core/saturated.h"
#include "core/skin_twin.h"
#include "led/led_view.h"

namespace {

// A plain opaque copy of w x h pixels of source at from to the target at to, from the source's
// twin where the target is dense enough. Only pixels that exist in the source are copied: a
// block reaching past the picture is cut to it.
void copyBlock(QPainter& target, const QImage& source, const std::optional<QImage>& twin, QPoint from, QPoint to,
               int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    // Wide enough for any int position plus any int size.
    const int64_t left = std::max<int64_t>(from.x(), 0), top = std::max<int64_t>(from.y(), 0);
    const int64_t right = std::min<int64_t>(int64_t{from.x()} + w, source.width());
    const int64_t bottom = std::min<int64_t>(int64_t{from.y()} + h, source.height());
    if (right <= left || bottom <= top)
        return;
    const QRect available(int(left), int(top), int(right - left), int(bottom - top));
    const QPainter::CompositionMode before = target.compositionMode();
    target.setCompositionMode(QPainter::CompositionMode_Source);
    const QPoint destination(SaturatedInt(int64_t{to.x()} + left - from.x()),
                             SaturatedInt(int64_t{to.y()} + top - from.y()));
    Skin_DrawPart(target, destination, source, twin, available);
    target.setCompositionMode(before);
}

QPoint at(Point p)
{
    return {p.x, p.y};
}

QPoint below(QPoint p, int by)
{
    return {p.x(), SaturatedSum(p.y(), by)};
}

const PanelSkin& skin()
{
    return app().panelSkin;
}

template <size_t N>
void drawGroup(QPainter& target, const std::array<LedElement, N>& group, uint32_t value)
{
    for (const LedElement& member : group)
        Led_RestoreFace(target, member);
    if (const std::optional<size_t> lit = Led_LitMember(value, N))
        Led_DrawLit(target, group[*lit]);
}

template <size_t Slots>
bool stripShown(const LedDigitStrip<Slots>& strip)
{
    return strip.strip && strip.cell.width != 0 && strip.cell.height != 0;
}

template <size_t Slots>
void drawDigits(QPainter& target, const LedDigitStrip<Slots>& strip, const std::array<uint32_t, Slots>& digits)
{
    for (size_t slot = 0; slot < Slots; ++slot) {
        const Point position = strip.digitPositions[slot];
        if (position == Point{})
            continue;
        copyBlock(target, *strip.strip, strip.strip2x, QPoint(int(digits[slot]) * strip.cell.width, 0), at(position),
                  strip.cell.width, strip.cell.height);
    }
}

void drawTime(QPainter& target, const LedDigitStrip<5>& strip, uint32_t milliseconds)
{
    if (stripShown(strip))
        drawDigits(target, strip, Led_TimeDigits(milliseconds));
}

}  // namespace

void Led_RestoreFace(QPainter& target, const LedElement& element)
{
    if (!element.present() || !skin().faceNormal)
        return;
    copyBlock(target, *skin().faceNormal, skin().faceNormal2x, at(element.position), at(element.position),
              element.size.width, element.size.height);
}

void Led_DrawLit(QPainter& target, const LedElement& element)
{
    if (!element.present())
        return;
    if (element.bitmap)
        copyBlock(target, *element.bitmap, element.bitmap2x, {0, 0}, at(element.position), element.size.width,
                  element.size.height);
    else if (skin().faceSelected)
        copyBlock(target, *skin().faceSelected, skin().faceSelected2x, at(element.position), at(element.position),
                  element.size.width, element.size.height);
}

void Led_DrawMute(QPainter& target)
{
    Led_RestoreFace(target, skin().mute);
    if (app().state.muted)
        Led_DrawLit(target, skin().mute);
}

void Led_DrawVolume(QPainter& target)
{
    const LedElement& bar = skin().volume;
    if (!bar.present())
        return;
    Led_RestoreFace(target, bar);
    const QImage* source = bar.bitmap ? &*bar.bitmap : skin().faceSelected ? &*skin().faceSelected : nullptr;
    if (!source)
        return;
    const std::optional<QImage>& twin = bar.bitmap ? bar.bitmap2x : skin().faceSelected2x;
    const QPoint origin = bar.bitmap ? QPoint(0, 0) : at(bar.position);
    const PlayerState& state = app().state;
    const VolumeBarView view = Led_VolumeBarView(bar.size, app().settings.maxVolumeLevel, state.volumeLeft,
                                                 state.volumeRight);
    if (state.volumeLeft)
        copyBlock(target, *source, twin, origin, at(bar.position), view.leftWidth, view.half);
    if (state.volumeRight)
        copyBlock(target, *source, twin, below(origin, view.half), below(at(bar.position), view.half),
                  view.rightWidth, view.half);
}

void Led_DrawPlayState(QPainter& target)
{
    const PanelSkin& panel = skin();
    Led_RestoreFace(target, panel.play);
    Led_RestoreFace(target, panel.pause);
    Led_RestoreFace(target, panel.stop);
    const PlayStateLights lights = Led_PlayStateLights(app().state.status);
    if (lights.play)
        Led_DrawLit(target, panel.play);
    if (lights.pause)
        Led_DrawLit(target, panel.pause);
    if (lights.stop)
        Led_DrawLit(target, panel.stop);
}

void Led_DrawRepeat(QPainter& target) { drawGroup(target, skin().repeat, static_cast<uint32_t>(app().state.repeatMode)); }
void Led_DrawSoundQuality(QPainter& target) { drawGroup(target, skin().soundQuality, app().state.shownSoundQuality); }
void Led_DrawAudioChannel(QPainter& target) { drawGroup(target, skin().audioChannel, app().state.shownAudioChannel); }
void Led_DrawSoundChannel(QPainter& target) { drawGroup(target, skin().soundChannel, app().state.shownSoundChannel); }

void Led_DrawTrackNumber(QPainter& target)
{
    const LedDigitStrip<2>& strip = skin().trackNumbers;
    if (!stripShown(strip))
        return;
    const TrackNumberView view = Led_TrackNumberView(app().state);
    if (view.shown) {
        drawDigits(target, strip, view.digits);
        return;
    }
    // The off phase of the blink: the face shows where the digits were.
    if (!skin().faceNormal)
        return;
    for (const Point& position : strip.digitPositions) {
        if (position != Point{})
            copyBlock(target, *skin().faceNormal, skin().faceNormal2x, at(position), at(position), strip.cell.width,
                      strip.cell.height);
    }
}

void Led_DrawTime(QPainter& target) { drawTime(target, skin().timeNumbers, app().state.position); }
void Led_DrawTrackTime(QPainter& target) { drawTime(target, skin().trackTimeNumbers, app().state.length); }

void Led_DrawAll(QPainter& target)
{
    Led_DrawMute(target);
    Led_DrawVolume(target);
    Led_DrawPlayState(target);
    Led_DrawRepeat(target);
    Led_DrawSoundQuality(target);
    Led_DrawAudioChannel(target);
    Led_DrawSoundChannel(target);
    Led_DrawTrackNumber(target);
    Led_DrawTime(target);
    Led_DrawTrackTime(target);
}
