#include "components/reelkit/backward_stepper.h"

#include <algorithm>

void BackwardStepper::start(int32_t rate, uint32_t fromMs, int64_t nowMs, uint32_t frameMs)
{
    speed_ = rate < 0 ? static_cast<uint32_t>(-static_cast<int64_t>(rate)) : static_cast<uint32_t>(rate);
    frameMs_ = std::max<uint32_t>(frameMs, 1);
    running_ = true;
    restartFrom(fromMs, nowMs);
}

void BackwardStepper::restartFrom(uint32_t fromMs, int64_t nowMs)
{
    fromMs_ = fromMs;
    startedAt_ = nowMs;
    lastTarget_ = fromMs;
    seekInFlight_ = false;
}

uint32_t BackwardStepper::wanted(int64_t nowMs) const
{
    const int64_t elapsed = std::max<int64_t>(nowMs - startedAt_, 0);
    const int64_t moved = elapsed * speed_ / 1000;
    return moved >= fromMs_ ? 0 : static_cast<uint32_t>(fromMs_ - moved);
}

BackwardStepper::Decision BackwardStepper::tick(int64_t nowMs)
{
    if (!running_)
        return {};
    const uint32_t target = wanted(nowMs);
    if (target == 0) {
        running_ = false;
        return {Action::ReachedStart, 0};
    }
    if (seekInFlight_ && nowMs - seekIssuedAt_ < kLostSeekMs)
        return {};
    if (lastTarget_ - std::min(target, lastTarget_) < frameMs_)
        return {};
    lastTarget_ = target;
    seekInFlight_ = true;
    seekIssuedAt_ = nowMs;
    return {Action::Seek, target};
}
