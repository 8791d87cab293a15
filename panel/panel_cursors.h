#pragma once

#include <QCursor>

// A cursor of the player's own; AppWindows holds the two over the panel.
struct Cursor {
    QCursor cursor;
};

// The pointing hand (over a button, hot spot 11,0) and the open hand (over the body, hot spot
// 14,0) of resources/cursors into app().windows; false when one of them does not load, and the
// panel then shows the arrow where it is missing.
bool Panel_LoadCursors();
void Panel_DestroyCursors();
