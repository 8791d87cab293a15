#include "led/led_draw.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>

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

template <size_t N>
void drawGroup(QPainter& target, const PanelSkin& skin, const std::array<LedElement, N>& group, uint32_t value)
{
    for (const LedElement& member : group)
        Led_RestoreFace(target, skin, member);
    if (const std::optional<size_t> lit = Led_LitMember(value, N))
        Led_DrawLit(target, skin, group[*lit]);
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

void Led_RestoreFace(QPainter& target, const PanelSkin& skin, const LedElement& element)
{
    if (!element.present() || !skin.faceNormal)
        return;
    copyBlock(target, *skin.faceNormal, skin.faceNormal2x, at(element.position), at(element.position),
              element.size.width, element.size.height);
}

void Led_DrawLit(QPainter& target, const PanelSkin& skin, const LedElement& element)
{
    if (!element.present())
        return;
    if (element.bitmap)
        copyBlock(target, *element.bitmap, element.bitmap2x, {0, 0}, at(element.position), element.size.width,
                  element.size.height);
    else if (skin.faceSelected)
        copyBlock(target, *skin.faceSelected, skin.faceSelected2x, at(element.position), at(element.position),
                  element.size.width, element.size.height);
}

void Led_DrawMute(QPainter& target, const PanelSkin& skin, const PlayerState& state)
{
    Led_RestoreFace(target, skin, skin.mute);
    if (state.muted)
        Led_DrawLit(target, skin, skin.mute);
}

void Led_DrawVolume(QPainter& target, const PanelSkin& skin, const PlayerState& state, uint32_t maxVolumeLevel)
{
    const LedElement& bar = skin.volume;
    if (!bar.present())
        return;
    Led_RestoreFace(target, skin, bar);
    const QImage* source = bar.bitmap ? &*bar.bitmap : skin.faceSelected ? &*skin.faceSelected : nullptr;
    if (!source)
        return;
    const std::optional<QImage>& twin = bar.bitmap ? bar.bitmap2x : skin.faceSelected2x;
    const QPoint origin = bar.bitmap ? QPoint(0, 0) : at(bar.position);
    const VolumeBarView view = Led_VolumeBarView(bar.size, maxVolumeLevel, state.volumeLeft, state.volumeRight);
    if (state.volumeLeft)
        copyBlock(target, *source, twin, origin, at(bar.position), view.leftWidth, view.half);
    if (state.volumeRight)
        copyBlock(target, *source, twin, below(origin, view.half), below(at(bar.position), view.half),
                  view.rightWidth, view.half);
}

void Led_DrawPlayState(QPainter& target, const PanelSkin& skin, const PlayerState& state)
{
    Led_RestoreFace(target, skin, skin.play);
    Led_RestoreFace(target, skin, skin.pause);
    Led_RestoreFace(target, skin, skin.stop);
    const PlayStateLights lights = Led_PlayStateLights(state.status);
    if (lights.play)
        Led_DrawLit(target, skin, skin.play);
    if (lights.pause)
        Led_DrawLit(target, skin, skin.pause);
    if (lights.stop)
        Led_DrawLit(target, skin, skin.stop);
}

void Led_DrawRepeat(QPainter& target, const PanelSkin& skin, const PlayerState& state)
{
    drawGroup(target, skin, skin.repeat, static_cast<uint32_t>(state.repeatMode));
}

void Led_DrawSoundQuality(QPainter& target, const PanelSkin& skin, const PlayerState& state)
{
    drawGroup(target, skin, skin.soundQuality, state.shownSoundQuality);
}

void Led_DrawAudioChannel(QPainter& target, const PanelSkin& skin, const PlayerState& state)
{
    drawGroup(target, skin, skin.audioChannel, state.shownAudioChannel);
}

void Led_DrawSoundChannel(QPainter& target, const PanelSkin& skin, const PlayerState& state)
{
    drawGroup(target, skin, skin.soundChannel, state.shownSoundChannel);
}

void Led_DrawTrackNumber(QPainter& target, const PanelSkin& skin, const PlayerState& state)
{
    const LedDigitStrip<2>& strip = skin.trackNumbers;
    if (!stripShown(strip))
        return;
    const TrackNumberView view = Led_TrackNumberView(state);
    if (view.shown) {
        drawDigits(target, strip, view.digits);
        return;
    }
    // The off phase of the blink: the face shows where the digits were.
    if (!skin.faceNormal)
        return;
    for (const Point& position : strip.digitPositions) {
        if (position != Point{})
            copyBlock(target, *skin.faceNormal, skin.faceNormal2x, at(position), at(position), strip.cell.width,
                      strip.cell.height);
    }
}

void Led_DrawTime(QPainter& target, const PanelSkin& skin, const PlayerState& state)
{
    drawTime(target, skin.timeNumbers, state.position);
}

void Led_DrawTrackTime(QPainter& target, const PanelSkin& skin, const PlayerState& state)
{
    drawTime(target, skin.trackTimeNumbers, state.length);
}

void Led_DrawAll(QPainter& target, const PanelSkin& skin, const PlayerState& state, uint32_t maxVolumeLevel)
{
    Led_DrawMute(target, skin, state);
    Led_DrawVolume(target, skin, state, maxVolumeLevel);
    Led_DrawPlayState(target, skin, state);
    Led_DrawRepeat(target, skin, state);
    Led_DrawSoundQuality(target, skin, state);
    Led_DrawAudioChannel(target, skin, state);
    Led_DrawSoundChannel(target, skin, state);
    Led_DrawTrackNumber(target, skin, state);
    Led_DrawTime(target, skin, state);
    Led_DrawTrackTime(target, skin, state);
}
