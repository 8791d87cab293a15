#include "context/playback_hooks.h"

#include "context/app_context.h"

PlaybackHooks& playbackHooks()
{
    return app().playbackHooks;
}

uint32_t Panel_BeginBusyCursor()
{
    const auto& hook = playbackHooks().panelBeginBusyCursor;
    return hook ? hook() : 0;
}

uint32_t Panel_EndBusyCursor()
{
    const auto& hook = playbackHooks().panelEndBusyCursor;
    return hook ? hook() : 0;
}

uint32_t Panel_SetButtonChecked(CommandId command, uint32_t checked)
{
    const auto& hook = playbackHooks().panelSetButtonChecked;
    return hook ? hook(command, checked) : 0;
}
