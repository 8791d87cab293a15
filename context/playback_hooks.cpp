#include "context/playback_hooks.h"

#include "context/app_context.h"

PlaybackHooks& playbackHooks()
{
    return app().playbackHooks;
}

bool Panel_BeginBusyCursor()
{
    const auto& hook = playbackHooks().panelBeginBusyCursor;
    return hook && hook();
}

bool Panel_EndBusyCursor()
{
    const auto& hook = playbackHooks().panelEndBusyCursor;
    return hook && hook();
}

bool Panel_SetButtonChecked(CommandId command, bool checked)
{
    const auto& hook = playbackHooks().panelSetButtonChecked;
    return hook && hook(command, checked);
}
