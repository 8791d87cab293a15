#pragma once

#include "core/command_id.h"

// The panel's busy cursor and check buttons, for the callers not yet handed the panel (forwarders through
// AppPlayback()); nothing without a panel.
bool Panel_BeginBusyCursor();
bool Panel_EndBusyCursor();
bool Panel_SetButtonChecked(CommandId command, bool checked);
