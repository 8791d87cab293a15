#include "led/led_draw.h"
#include "panel/panel_skin_loader.h"
#include "panel/panel_window.h"

bool Panel_Create(std::string& why)
{
    PanelParts parts;
    parts.loadFace = PanelSkin_LoadFace;
    parts.loadLed = PanelSkin_LoadLed;
    parts.loadSelectTrackSettings = PanelSkin_LoadSelectTrackSettings;
    parts.loadButtons = PanelSkin_LoadButtons;
    parts.freeSkin = PanelSkin_Free;
    parts.drawLed = [](QPainter& target) { Led_DrawAll(target); };
    return Panel_CreateWith(parts, why);
}
