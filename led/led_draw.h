#pragma once

class QPainter;
struct LedElement;

// Painting the LED display from PlayerState onto the panel's off-screen picture, in panel
// coordinates. What each element shows is a pure function of the state (led_view.h); these
// only copy pictures.
void Led_DrawAll(QPainter& target);

void Led_DrawMute(QPainter& target);
void Led_DrawVolume(QPainter& target);
void Led_DrawPlayState(QPainter& target);
void Led_DrawRepeat(QPainter& target);
void Led_DrawSoundQuality(QPainter& target);
void Led_DrawAudioChannel(QPainter& target);
void Led_DrawSoundChannel(QPainter& target);
void Led_DrawTrackNumber(QPainter& target);
void Led_DrawTime(QPainter& target);
void Led_DrawTrackTime(QPainter& target);

void Led_RestoreFace(QPainter& target, const LedElement& element);
void Led_DrawLit(QPainter& target, const LedElement& element);
