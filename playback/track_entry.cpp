#include "playback/playback.h"

#include <optional>

#include "core/app_windows.h"
#include "core/player_settings.h"
#include "core/player_state.h"

#include "led/led_refresh.h"
#include "core/command_id.h"
#include "core/player_ids.h"

bool Playback::EndTrackEntry(bool repaint)
{
    PlayerState& s = state_;
    if (!s.entryActive)
        return true;
    s.enteredNumber = 0;
    s.entryActive = false;
    s.entryBlinkOn = true;
    panelTimers_.stop(panel_timer::EntryBlink);
    panelTimers_.stop(panel_timer::EntryEnd);
    led_.RefreshTrackNumber(repaint);
    return true;
}

bool Playback::EnterDigit(uint32_t value)
{
    PlayerState& s = state_;
    if (s.enteredNumber == 0 && value == 0)
        return false;
    // Under playback control the numbers are the list's selections, and only a selection list
    // takes them.
    const std::optional<uint32_t> highest = pbcTakesKeys() ? pbcHighestNumber() : s.trackCount;
    const uint64_t candidate = uint64_t{s.enteredNumber} * 10 + value;
    // A number beyond the list is ignored; the entry goes on as it was.
    if (!highest || candidate > *highest)
        return false;
    s.enteredNumber = static_cast<uint32_t>(candidate);
    // No further digit can give a valid number: go there now.
    if (candidate * 10 > *highest) {
        GoToEnteredTrack();
        return true;
    }
    EndTrackEntry(false);
    s.enteredNumber = static_cast<uint32_t>(candidate);
    s.entryActive = true;
    s.entryBlinkOn = true;
    const PlayerSettings& settings = settings_;
    panelTimers_.start(panel_timer::EntryBlink, settings.blinkTrackInterval);
    panelTimers_.start(panel_timer::EntryEnd, (2 * settings.blinkTrackTimes - 1) * settings.blinkTrackInterval);
    return true;
}

bool Playback::GoToEnteredTrack()
{
    PlayerState& s = state_;
    const uint32_t track = s.enteredNumber;
    EndTrackEntry(false);
    // A number taken at its first digit never made an entry active; it must not linger
    // and prefix the next entry.
    s.enteredNumber = 0;
    if (pbcTakesKeys()) {
        led_.RefreshTrackNumber(true);
        return choosePbc(track);
    }
    if (track == 0 || track > s.trackCount)
        return false;
    if (track == s.currentTrack) {
        led_.RefreshTrackNumber(true);
        return true;
    }
    s.currentTrack = track;
    led_.RefreshTrackNumber(true);
    s.currentTrack = track == 1 ? s.trackCount : track - 1;
    return NextTrack();
}

void Playback::TrackEntry_PanelTimer(TimerId id, CommandSink* commands)
{
    PlayerState& s = state_;
    if (id == panel_timer::EntryBlink) {
        s.entryBlinkOn = !s.entryBlinkOn;
        led_.RefreshTrackNumber(true);
    } else if (id == panel_timer::EntryEnd) {
        if (settings_.autoReturn)
            (commands ? *commands : *this).DispatchCommand(CommandId::Return, CommandPhase::Click);
        else
            EndTrackEntry(true);
    }
}
