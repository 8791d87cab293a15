#include "panel/panel_place.h"

#include "components/nestwell/nestwell.h"
#include "video/video_values.h"

namespace {

// One axis of the clamp: off the near edge goes to 0, beyond the far edge comes back by the
// panel's own extent; a panel hanging over the far edge stays.
int clampAxis(int at, int extent, int screen)
{
    if (at < 0)
        return 0;
    if (at >= screen)
        return screen - extent;
    return at;
}

}  // namespace

Point Panel_PlacePosition(Size face, Size screen, std::string_view stored)
{
    int32_t x = (screen.width - face.width) / 2;
    int32_t y = (screen.height - face.height) / 2;
    if (!stored.empty())
        Skin_ReadPair(stored, x, y);
    return {clampAxis(x, face.width, screen.width), clampAxis(y, face.height, screen.height)};
}

Point Panel_PlaceWindow(NestwellStore& store, Size face, Size screen)
{
    const std::string stored = store.getProfileString("Panel", "Position").value_or("");
    return Panel_PlacePosition(face, screen, stored);
}

std::string Panel_PositionText(Point position)
{
    return std::to_string(position.x) + "," + std::to_string(position.y);
}
