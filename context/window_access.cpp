#include "context/window_access.h"

#include "context/app_context.h"
#include "core/player_ids.h"
#include "core/window.h"

namespace {
TimerHost* mainTimers()
{
    Window* main = app().windows.main;
    return main ? &main->timers() : nullptr;
}

TimerHost* panelTimers()
{
    Window* panel = app().windows.panel;
    return panel ? &panel->timers() : nullptr;
}
}  // namespace

void StartMainTimer(TimerId id, uint32_t periodMs)
{
    if (TimerHost* timers = mainTimers())
        timers->start(id, periodMs);
}

void StopMainTimer(TimerId id)
{
    if (TimerHost* timers = mainTimers())
        timers->stop(id);
}

void StartPanelTimer(TimerId id, uint32_t periodMs)
{
    if (TimerHost* timers = panelTimers())
        timers->start(id, periodMs);
}

void StopPanelTimer(TimerId id)
{
    if (TimerHost* timers = panelTimers())
        timers->stop(id);
}
