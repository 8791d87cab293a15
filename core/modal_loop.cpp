#include "core/modal_loop.h"

#include <utility>

void ModalLoops::leave()
{
    if (--depth_ > 0 || !waiting_)
        return;
    std::function<void()> then = std::exchange(waiting_, nullptr);
    then();
}

bool ModalLoops::whenAllEnded(std::function<void()> then)
{
    if (depth_ == 0)
        return false;
    waiting_ = std::move(then);
    return true;
}
