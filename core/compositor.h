#pragma once

// Whether the player runs natively on Wayland, where the compositor alone places windows: they
// move by its move, and their positions are neither set nor known to the player.
bool Compositor_PlacesWindows();
