#pragma once

#include "core/command_id.h"

// The panel's busy cursor, for the play-list dialog, which is not yet handed the panel; nothing
// without a panel.
bool Panel_BeginBusyCursor();
bool Panel_EndBusyCursor();
