#include "panel/skin/panel_skin_loader.h"
#include "panel/panel_window.h"

PanelParts Panel_SkinParts()
{
    PanelParts parts;
    parts.loadFace = [](const std::function<void()>& afterFaces) { return PanelSkin_LoadFace(afterFaces); };
    parts.loadLed = PanelSkin_LoadLed;
    parts.loadButtons = PanelSkin_LoadButtons;
    parts.freeSkin = PanelSkin_Free;
    return parts;
}
