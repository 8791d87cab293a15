#pragma once

#include <cstdint>

// Paces emulated backward play. The picture should stand at the starting position minus the
// time gone by times the rate; a new exact seek is asked for when the previous one has landed
// and the target has moved by at least one frame, so slow rates step frame by frame and fast
// ones drop pictures rather than fall behind. Times are milliseconds on any monotonic clock
// the caller chooses.
class BackwardStepper {
public:
    enum class Action { Wait, Seek, ReachedStart };
    struct Decision {
        Action action = Action::Wait;
        uint32_t target = 0;  // for Seek
    };

    // rate in thousandths of normal speed, negative; frameMs the length of one picture.
    void start(int32_t rate, uint32_t fromMs, int64_t nowMs, uint32_t frameMs);
    void stop() { running_ = false; }
    bool running() const { return running_; }
    // Goes on backward from where the user sought to.
    void restartFrom(uint32_t fromMs, int64_t nowMs);

    // Where the picture should stand now.
    uint32_t wanted(int64_t nowMs) const;
    // What to do at a tick. ReachedStart is answered once; the stepper stops then.
    Decision tick(int64_t nowMs);
    // The last seek has landed.
    void seekLanded() { seekInFlight_ = false; }

    // A seek that has not landed after this long is taken as lost, so that the pictures go on.
    static constexpr int64_t kLostSeekMs = 1000;

private:
    bool running_ = false;
    uint32_t speed_ = 1000;  // abs(rate)
    uint32_t fromMs_ = 0;
    int64_t startedAt_ = 0;
    uint32_t frameMs_ = 40;
    uint32_t lastTarget_ = 0;
    bool seekInFlight_ = false;
    int64_t seekIssuedAt_ = 0;
};
