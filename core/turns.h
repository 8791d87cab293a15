#pragma once

#include <deque>
#include <functional>

// While the player waits for an answer (the media engine opening a track), what reaches it
// from outside (input, timer ticks, messages, calls from the desktop) waits its turn: it runs
// once the answer has been handled, in the order it came, and so sees what it would have seen
// had the answer come at once. Paints and property reads do not come through here.
class Turns {
public:
    // Runs the work now, or in its turn once no answer is awaited.
    void take(std::function<void()> work);
    // An answer is awaited from now on; each wait is ended by one resume.
    void wait();
    // An awaited answer has been handled: what waited runs, in order, until another is awaited.
    void resume();
    bool waiting() const { return depth_ > 0; }
    size_t queued() const { return queue_.size(); }

private:
    void runQueued();

    int depth_ = 0;
    int running_ = 0;
    std::deque<std::function<void()>> queue_;
};
