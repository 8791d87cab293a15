#pragma once

#include <string>
#include <string_view>

#include "core/panel_skin.h"

class NestwellStore;

// Where the panel opens: centred on the primary screen, or at the stored position (the pair
// rule, a missing number keeping the centred one), pulled back onto the screen only where its
// left or top edge lies off it.
Point Panel_PlacePosition(Size face, Size screen, std::string_view stored);

// The same with the position stored in "Panel"/"Position" of the profile store.
Point Panel_PlaceWindow(NestwellStore& store, Size face, Size screen);

// The text stored at the panel's destruction.
std::string Panel_PositionText(Point position);
