#include "app/modal_loop.h"

#include <utility>

namespace {
int depth = 0;
std::function<void()> waiting;
}  // namespace

ModalLoop::ModalLoop()
{
    ++depth;
}

ModalLoop::~ModalLoop()
{
    if (--depth > 0 || !waiting)
        return;
    std::function<void()> then = std::exchange(waiting, nullptr);
    then();
}

bool ModalLoop::running()
{
    return depth > 0;
}

bool ModalLoop::whenAllEnded(std::function<void()> then)
{
    if (depth == 0)
        return false;
    waiting = std::move(then);
    return true;
}
