#pragma once

#include <memory>

#include <QCursor>

// A cursor of the player's own; the panel is handed the two over it.
struct Cursor {
    QCursor cursor;
};

// The two cursors over the panel, held by whoever loads them.
struct PanelCursors {
    std::unique_ptr<Cursor> button;
    std::unique_ptr<Cursor> body;
};

// The pointing hand (over a button, hot spot 11,0) and the open hand (over the body, hot spot
// 14,0) of resources/cursors into cursors; false when one of them does not
// load, and the panel then shows the arrow where it is missing.
bool Panel_LoadCursors(PanelCursors& cursors);
void Panel_DestroyCursors(PanelCursors& cursors);
