#pragma once

struct MainWindowParts;

// What playback gives the main window: commands, multimedia keys, the position poll, disc
// events and files of a command line.
void AddPlaybackParts(MainWindowParts& parts);
