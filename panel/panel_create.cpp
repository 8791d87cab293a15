#include "led/led_draw.h"
#include "panel/panel_window.h"

bool Panel_Create(std::unique_ptr<PanelWindow>& panel, const FilesDropped& dropped, std::string& why)
{
    PanelParts parts = Panel_SkinParts();
    parts.filesDropped = dropped;
    parts.drawLed = [](QPainter& target) { Led_DrawAll(target); };
    return Panel_CreateWith(panel, parts, why);
}
