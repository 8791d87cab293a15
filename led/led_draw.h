#pragma once

#include <cstdint>

class QPainter;
struct LedElement;
struct PanelSkin;
struct PlayerState;

// Painting the LED display of the state with the panel's skin onto the panel's off-screen
// picture, in panel coordinates. What each element shows is a pure function of the state
// (led_view.h); these only copy pictures.
void Led_DrawAll(QPainter& target, const PanelSkin& skin, const PlayerState& state, uint32_t maxVolumeLevel);

void Led_DrawMute(QPainter& target, const PanelSkin& skin, const PlayerState& state);
void Led_DrawVolume(QPainter& target, const PanelSkin& skin, const PlayerState& state, uint32_t maxVolumeLevel);
void Led_DrawPlayState(QPainter& target, const PanelSkin& skin, const PlayerState& state);
void Led_DrawRepeat(QPainter& target, const PanelSkin& skin, const PlayerState& state);
void Led_DrawSoundQuality(QPainter& target, const PanelSkin& skin, const PlayerState& state);
void Led_DrawAudioChannel(QPainter& target, const PanelSkin& skin, const PlayerState& state);
void Led_DrawSoundChannel(QPainter& target, const PanelSkin& skin, const PlayerState& state);
void Led_DrawTrackNumber(QPainter& target, const PanelSkin& skin, const PlayerState& state);
void Led_DrawTime(QPainter& target, const PanelSkin& skin, const PlayerState& state);
void Led_DrawTrackTime(QPainter& target, const PanelSkin& skin, const PlayerState& state);

void Led_RestoreFace(QPainter& target, const PanelSkin& skin, const LedElement& element);
void Led_DrawLit(QPainter& target, const PanelSkin& skin, const LedElement& element);
