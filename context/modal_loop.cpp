#include "context/modal_loop.h"

#include <utility>

#include "context/app_context.h"

ModalLoop::ModalLoop()
{
    ++app().modalLoops.depth;
}

ModalLoop::~ModalLoop()
{
    ModalLoops& loops = app().modalLoops;
    if (--loops.depth > 0 || !loops.waiting)
        return;
    std::function<void()> then = std::exchange(loops.waiting, nullptr);
    then();
}

bool ModalLoop::running()
{
    return app().modalLoops.depth > 0;
}

bool ModalLoop::whenAllEnded(std::function<void()> then)
{
    ModalLoops& loops = app().modalLoops;
    if (loops.depth == 0)
        return false;
    loops.waiting = std::move(then);
    return true;
}
