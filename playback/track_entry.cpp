#include "playback/track_entry.h"

#include "context/app_context.h"
#include "led/led_refresh.h"
#include "core/command_id.h"
#include "playback/dispatch.h"
#include "playback/tracks.h"
#include "context/window_access.h"

namespace {
PlayerState& state()
{
    return app().state;
}
}  // namespace

bool EndTrackEntry(bool repaint)
{
    PlayerState& s = state();
    if (!s.entryActive)
        return true;
    s.enteredNumber = 0;
    s.entryActive = false;
    s.entryBlinkOn = true;
    StopPanelTimer(panel_timer::EntryBlink);
    StopPanelTimer(panel_timer::EntryEnd);
    Led_RefreshTrackNumber(repaint);
    return true;
}

bool EnterDigit(uint32_t value)
{
    PlayerState& s = state();
    if (s.enteredNumber == 0 && value == 0)
        return false;
    const uint64_t candidate = uint64_t{s.enteredNumber} * 10 + value;
    // A number beyond the list is ignored; the entry goes on as it was.
    if (candidate > s.trackCount)
        return false;
    s.enteredNumber = static_cast<uint32_t>(candidate);
    // No further digit can give a valid number: go there now.
    if (candidate * 10 > s.trackCount) {
        GoToEnteredTrack();
        return true;
    }
    EndTrackEntry(false);
    s.enteredNumber = static_cast<uint32_t>(candidate);
    s.entryActive = true;
    s.entryBlinkOn = true;
    const PlayerSettings& settings = app().settings;
    StartPanelTimer(panel_timer::EntryBlink, settings.blinkTrackInterval);
    StartPanelTimer(panel_timer::EntryEnd, (2 * settings.blinkTrackTimes - 1) * settings.blinkTrackInterval);
    return true;
}

bool GoToEnteredTrack()
{
    PlayerState& s = state();
    const uint32_t track = s.enteredNumber;
    EndTrackEntry(false);
    // A number taken at its first digit never made an entry active; it must not linger
    // and prefix the next entry.
    s.enteredNumber = 0;
    if (track == 0 || track > s.trackCount)
        return false;
    if (track == s.currentTrack) {
        Led_RefreshTrackNumber(true);
        return true;
    }
    s.currentTrack = track;
    Led_RefreshTrackNumber(true);
    s.currentTrack = track == 1 ? s.trackCount : track - 1;
    return NextTrack();
}

void TrackEntry_PanelTimer(TimerId id, const std::function<bool(CommandId command, CommandPhase phase)>& dispatch)
{
    PlayerState& s = state();
    if (id == panel_timer::EntryBlink) {
        s.entryBlinkOn = !s.entryBlinkOn;
        Led_RefreshTrackNumber(true);
    } else if (id == panel_timer::EntryEnd) {
        if (app().settings.autoReturn)
            dispatch ? dispatch(CommandId::Return, CommandPhase::Click) : DispatchCommand(CommandId::Return, CommandPhase::Click);
        else
            EndTrackEntry(true);
    }
}
