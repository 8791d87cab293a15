#pragma once

struct MainWindowParts;
struct PlaybackHooks;

// Plugs mute, volume and the audio properties into the command dispatcher.
void InstallAudioHooks(PlaybackHooks& hooks);
// The main window's start-up reads and change notices reach the mixer's state through these.
void AddAudioParts(MainWindowParts& parts);
