#pragma once

#include <cstdint>

// Each marks the panel's rectangles of one LED element for repaint (one pixel wider and
// taller than the element) and, when now is nonzero, repaints at once. They answer 0 when
// there is no panel or nothing of the element to mark. Each tells the state's notices of its
// part first (core/state_notices.h), panel or not.
uint32_t Led_RefreshMute(uint32_t now);
uint32_t Led_RefreshVolume(uint32_t now);
uint32_t Led_RefreshPlayState(uint32_t now);
uint32_t Led_RefreshRepeat(uint32_t now);
uint32_t Led_RefreshSoundQuality(uint32_t now);
uint32_t Led_RefreshAudioChannel(uint32_t now);
uint32_t Led_RefreshSoundChannel(uint32_t now);
uint32_t Led_RefreshTrackNumber(uint32_t now);
uint32_t Led_RefreshTime(uint32_t now);
uint32_t Led_RefreshTrackTime(uint32_t now);
