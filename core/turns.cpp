#include "core/turns.h"

#include <utility>

void Turns::take(std::function<void()> work)
{
    // Work that comes from work in its turn (a message it sends) is part of that turn.
    if (depth_ == 0 && (running_ > 0 || queue_.empty())) {
        ++running_;
        work();
        if (--running_ == 0)
            runQueued();
        return;
    }
    queue_.push_back(std::move(work));
    if (depth_ == 0 && running_ == 0)
        runQueued();
}

void Turns::wait()
{
    ++depth_;
}

void Turns::resume()
{
    // An answer handled inside work taken from the queue: that work returns to the loop below.
    if (depth_ > 0 && --depth_ == 0 && running_ == 0)
        runQueued();
}

void Turns::runQueued()
{
    while (depth_ == 0 && !queue_.empty()) {
        std::function<void()> work = std::move(queue_.front());
        queue_.pop_front();
        ++running_;
        work();
        --running_;
    }
}
