#pragma once

// The video frame and its image window take their keys through the panel's keyboard map.
// Called once at start-up, before the video window is made.
void PanelKeys_PlugIntoVideo();
