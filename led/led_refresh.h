#pragma once

#include <cstdint>

// Each marks the panel's rectangles of one LED element for repaint (one pixel wider and
// taller than the element) and, when now is set, repaints at once. They answer false when
// there is no panel or nothing of the element to mark. Each tells the state's notices of its
// part first (core/state_notices.h), panel or not.
bool Led_RefreshMute(bool now);
bool Led_RefreshVolume(bool now);
bool Led_RefreshPlayState(bool now);
bool Led_RefreshRepeat(bool now);
bool Led_RefreshSoundQuality(bool now);
bool Led_RefreshAudioChannel(bool now);
bool Led_RefreshSoundChannel(bool now);
bool Led_RefreshTrackNumber(bool now);
bool Led_RefreshTime(bool now);
bool Led_RefreshTrackTime(bool now);
