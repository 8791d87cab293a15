#include "playback/transport.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "core/player_ids.h"
#include "components/components.h"
#include "led/led_refresh.h"
#include "playback/playback.h"
#include "core/app_windows.h"
#include "core/player_settings.h"

namespace {
constexpr int32_t kNormalRate = 1000;
constexpr uint32_t kNormalPollPeriod = 1000;
}  // namespace

bool Playback::nothingLoaded() const
{
    return state_.trackCount == 0;
}

// After a hold over a running track. A release at the very end leaves the engine stopped
// there: playing would start the track again, so the poll finds the end as it finds any.
void Playback::resumeAfterHold()
{
    if (engine().getStatus() == engine_status::Stopped)
        mainTimers_.start(main_timer::PositionPoll, kNormalPollPeriod);
    else
        Play(true);
}

// Play with a track loaded.
bool Playback::playLoaded(bool update)
{
    if (!engine().getStatus())
        return false;
    mainTimers_.stop(main_timer::PositionPoll);
    if (!engine().play())
        return false;
    mainTimers_.start(main_timer::PositionPoll, kNormalPollPeriod);
    if (update) {
        state_.status = engine_status::Playing;
        led_.RefreshPlayState(false);
    }
    return true;
}

uint32_t PositionPollPeriod(int32_t rate)
{
    const int64_t speed = std::llabs(static_cast<int64_t>(rate));
    return speed == 0 ? kNormalPollPeriod : static_cast<uint32_t>(1'000'000 / speed);
}

bool Playback::Play(bool update)
{
    if (!nothingLoaded())
        return playLoaded(update);
    if (!settings_.playListDialogOnPlay)
        return false;
    // Whatever the dialog did, the engine decides whether there is something to play.
    return ResultOrAsked({}, [this, update](const Then& done) {
        PlayListCommand(true, [this, update, done](bool) { done(playLoaded(update)); });
    });
}


bool Playback::Pause(bool update)
{
    if (nothingLoaded())
        return false;
    mainTimers_.stop(main_timer::PositionPoll);
    if (!engine().pause())
        return false;
    if (update) {
        state_.status = engine().getStatus().value_or(state_.status);
        led_.RefreshPlayState(false);
    }
    return true;
}

bool Playback::Stop(bool toStart, bool update)
{
    if (nothingLoaded())
        return false;
    mainTimers_.stop(main_timer::PositionPoll);
    if (!(toStart ? engine().stopAndSeekToStart() : engine().stop()))
        return false;
    if (update) {
        state_.status = engine().getStatus().value_or(state_.status);
        led_.RefreshPlayState(false);
        // The time shows where the engine stands: the start, after either kind of stop.
        state_.position = 0;
        led_.RefreshTime(false);
    }
    return true;
}

bool Playback::TogglePlayPause()
{
    uint16_t status = engine_status::Stopped;
    if (!nothingLoaded())
        status = engine().getStatus().value_or(engine_status::Stopped);
    if (status == engine_status::Playing && engine().getRate().value_or(kNormalRate) != kNormalRate)
        status = engine_status::Stopped;
    return status == engine_status::Playing ? Pause(true) : Play(true);
}

bool Playback::SeekHold(bool forward, bool start)
{
    if (nothingLoaded())
        return false;
    PlayerState& s = state_;
    mainTimers_.stop(main_timer::SeekRepeat);

    if (!start) {
        if (s.seekIdle)
            return false;
        engine().seek(s.seekTarget);
        s.seekIdle = true;
        if (IsRunningStatus(s.seekSavedStatus))
            resumeAfterHold();
        return true;
    }

    if (s.seekIdle) {
        const PlayerSettings& settings = settings_;
        s.seekTarget = 0;
        s.seekStep = 1000;
        s.seekInterval = settings.seekBaseInterval;
        const std::optional<uint16_t> saved = engine().getStatus();
        if (!saved)
            return false;
        s.seekSavedStatus = *saved;
        if (s.seekSavedStatus != 0 && s.seekSavedStatus != 1)
            Pause(false);
        const std::optional<uint32_t> position = engine().getCurrentPosition();
        if (!position) {
            if (IsRunningStatus(s.seekSavedStatus))
                Play(true);
            return false;
        }
        s.seekIdle = false;
        s.seekTarget = *position;
    }

    const uint32_t before = s.seekTarget;
    if (forward) {
        if (uint64_t{s.seekTarget} + s.seekStep <= s.length)
            s.seekTarget += s.seekStep;
        else if (s.seekTarget != s.length)
            s.seekTarget = s.length;
    } else if (s.seekTarget != 0) {
        s.seekTarget = s.seekTarget >= s.seekStep ? s.seekTarget - s.seekStep : 0;
    }
    if (s.seekTarget != before) {
        s.position = s.seekTarget;
        led_.RefreshTime(false);
    }

    mainTimers_.start(main_timer::SeekRepeat, s.seekInterval);
    if (s.seekInterval > 50)
        s.seekInterval -= s.seekInterval / 10;
    if (s.seekStep < settings_.seekMaxOffset)
        s.seekStep += settings_.seekOffsetIncrement;
    return true;
}

void Playback::EndSeekHold()
{
    mainTimers_.stop(main_timer::SeekRepeat);
    state_.seekIdle = true;
}

bool Playback::SeekTo(uint32_t position)
{
    PlayerState& s = state_;
    if (nothingLoaded() || !s.seekIdle)
        return false;
    if (s.length != 0)
        position = std::min(position, s.length);
    if (!engine().seek(position))
        return false;
    s.position = position;
    led_.RefreshTime(false);
    return true;
}

bool Playback::ChangeRate(bool forward, uint32_t rate)
{
    if (nothingLoaded())
        return false;
    const std::optional<int32_t> current = engine().getRate();
    if (!current)
        return false;
    int32_t wanted = forward ? static_cast<int32_t>(rate) : -static_cast<int32_t>(rate);
    if (*current == wanted)
        wanted = kNormalRate;
    if (!engine().setRate(wanted))
        return false;
    const std::optional<uint16_t> status = engine().getStatus();
    if (!status) {
        engine().setRate(kNormalRate);
        return false;
    }
    state_.status = *status;
    led_.RefreshPlayState(false);
    // Rates apply only while playing.
    if (*status == engine_status::Stopped || *status == engine_status::Paused) {
        engine().setRate(kNormalRate);
        return false;
    }
    mainTimers_.stop(main_timer::PositionPoll);
    mainTimers_.start(main_timer::PositionPoll, PositionPollPeriod(wanted));
    return true;
}
