// The engine's transport: the calls the player makes on an open file, and backward play.
#include "components/reelkit/mpv_engine.h"

#include <algorithm>

#include "components/reelkit/engine_status.h"

bool MpvEngine::play()
{
    if (!open_)
        return false;
    stopBackward();
    if (eof_)
        issueSeek(0);
    rate_ = 1000;
    setSpeed(rate_);
    stopped_ = false;
    paused_ = false;
    atStart_ = false;
    setPaused(false);
    tellStatus();
    return true;
}

bool MpvEngine::pause()
{
    if (!open_)
        return false;
    if (!stopped_) {
        stopBackward();
        paused_ = true;
        setPaused(true);
    }
    tellStatus();
    return true;
}

bool MpvEngine::stop()
{
    if (!open_)
        return false;
    stopBackward();
    stopped_ = true;
    paused_ = true;
    setPaused(true);
    tellStatus();
    return true;
}

bool MpvEngine::stopAndSeekToStart()
{
    if (!stop())
        return false;
    issueSeek(0);
    return true;
}

std::optional<uint16_t> MpvEngine::getStatus()
{
    if (!handle_)
        return {};
    return StatusOf({open_, stopped_, eof_, paused_, rate_});
}

std::optional<uint32_t> MpvEngine::getLength()
{
    if (!open_)
        return {};
    return lengthMs_;
}

std::optional<uint32_t> MpvEngine::getCurrentPosition()
{
    if (!open_)
        return {};
    return positionMs();
}

bool MpvEngine::seek(uint32_t position)
{
    if (!open_)
        return false;
    position = std::min(position, lengthMs_);
    if (position >= lengthMs_ && !stopped_) {
        // The end itself: what playing to it would give.
        issueSeek(position);
        eof_ = true;
        stopped_ = true;
        paused_ = true;
        stopBackward();
        setPaused(true);
        tellStatus();
        return true;
    }
    issueSeek(position);
    if (stepper_.running())
        stepper_.restartFrom(position, clock_.elapsed());
    tellStatus();
    return true;
}

std::optional<int32_t> MpvEngine::getRate()
{
    if (!handle_)
        return {};
    return rate_;
}

bool MpvEngine::setRate(int32_t rate)
{
    if (!open_ || !IsAcceptedRate(rate))
        return false;
    rate_ = rate;
    if (!playing()) {
        tellStatus();
        return true;
    }
    if (rate < 0) {
        startBackward();
    } else {
        stopBackward();
        setSpeed(rate);
        setPaused(false);
    }
    tellStatus();
    return true;
}

// Backward rates: libmpv only plays forward, so the stepper paces exact seeks.

void MpvEngine::startBackward()
{
    // libmpv stands still between the pictures the stepper asks for.
    setPaused(true);
    setSpeed(1000);
    seekTarget_ = positionMs();
    stepper_.start(rate_, seekTarget_, clock_.elapsed(), frameMs_);
    backwardTimer_.start();
}

void MpvEngine::stopBackward()
{
    stepper_.stop();
    backwardTimer_.stop();
}

void MpvEngine::backwardTick()
{
    const BackwardStepper::Decision decision = stepper_.tick(clock_.elapsed());
    switch (decision.action) {
    case BackwardStepper::Action::Wait:
        break;
    case BackwardStepper::Action::Seek:
        issueSeek(decision.target);
        break;
    case BackwardStepper::Action::ReachedStart:
        // At the start backward play turns into normal play; "stopped" would read as the end.
        backwardTimer_.stop();
        issueSeek(0);
        rate_ = 1000;
        setSpeed(rate_);
        setPaused(false);
        break;
    }
}
