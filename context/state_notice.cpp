#include "context/state_notice.h"

#include "context/app_context.h"

void NotifyStateChanged(StatePart part)
{
    // A copy: the listener may let go of itself while it is told.
    const StateListener listener = app().stateListener;
    if (listener)
        listener(part);
}
