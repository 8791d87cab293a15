#pragma once

#include <functional>

// The dialogs' and menus' own loops that run now, and what waits for the last one to end.
// A shut-down asked for inside such a loop must not pull the windows away from under the code
// that runs it: it waits, and runs once the last opener has returned.
class ModalLoops {
public:
    bool running() const { return depth_ > 0; }
    // Keeps `then` (one at a time: a later one replaces it) to run as the last loop's opener
    // returns; false, keeping nothing, when no loop runs.
    bool whenAllEnded(std::function<void()> then);

private:
    friend class ModalLoop;
    void enter() { ++depth_; }
    void leave();

    int depth_ = 0;
    std::function<void()> waiting_;
};

// A dialog's or a menu's own loop, held by the code that runs it for as long as it runs.
class ModalLoop {
public:
    explicit ModalLoop(ModalLoops& loops) : loops_(loops) { loops_.enter(); }
    ~ModalLoop() { loops_.leave(); }
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

private:
    ModalLoops& loops_;
};
