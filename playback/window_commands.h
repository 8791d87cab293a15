#pragma once

// The few commands that act on windows and the process rather than on playback.

// Asks the panel to minimise itself, unless it already is.
void Minimize();
// Opens the document named by "Help File", relative to the executable's folder.
void Help();
// Asks the main window to close: the player shuts down.
void Power();
// Toggles the video frame's always-on-top state and the panel's check button.
void ToggleVideoTopmost();
// Asks the video image window to switch the video size, as its double click does.
void ToggleVideoSize();
