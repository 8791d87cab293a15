#include "context/app_context.h"
#include "led/led_refresh.h"

bool Led_RefreshMute(bool now) { return app().led.RefreshMute(now); }
bool Led_RefreshVolume(bool now) { return app().led.RefreshVolume(now); }
bool Led_RefreshPlayState(bool now) { return app().led.RefreshPlayState(now); }
bool Led_RefreshRepeat(bool now) { return app().led.RefreshRepeat(now); }
bool Led_RefreshSoundQuality(bool now) { return app().led.RefreshSoundQuality(now); }
bool Led_RefreshAudioChannel(bool now) { return app().led.RefreshAudioChannel(now); }
bool Led_RefreshSoundChannel(bool now) { return app().led.RefreshSoundChannel(now); }
bool Led_RefreshTrackNumber(bool now) { return app().led.RefreshTrackNumber(now); }
bool Led_RefreshTime(bool now) { return app().led.RefreshTime(now); }
bool Led_RefreshTrackTime(bool now) { return app().led.RefreshTrackTime(now); }
