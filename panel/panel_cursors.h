#pragma once

#include <QCursor>

// A cursor of the player's own; AppWindows holds the two over the panel.
struct Cursor {
    QCursor cursor;
};

// The pointing hand (over a button, hot spot 11,0) and the open hand (over the body, hot spot
// 14,0) into app().windows. Always true: the pictures are drawn here.
bool Panel_LoadCursors();
void Panel_DestroyCursors();
