#pragma once

#include <functional>

// A dialog's or a menu's own loop, held by the code that runs it for as long as it runs.
// A shut-down asked for inside such a loop must not pull the windows away from under that
// code: it waits, and runs once the last opener has returned.
class ModalLoop {
public:
    ModalLoop();
    ~ModalLoop();
    ModalLoop(const ModalLoop&) = delete;
    ModalLoop& operator=(const ModalLoop&) = delete;

    static bool running();
    // Keeps `then` (one at a time: a later one replaces it) to run as the last loop's opener
    // returns; false, keeping nothing, when no loop runs.
    static bool whenAllEnded(std::function<void()> then);
};
