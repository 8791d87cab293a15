#include "core/player_settings.h"
#include "led/led_draw.h"
#include "panel/panel_window.h"

bool Panel_Create(std::unique_ptr<PanelWindow>& panel, const PanelLinks& links, const FilesDropped& dropped,
                  std::string& why)
{
    PanelParts parts = Panel_SkinParts(links.settings, links.components);
    parts.filesDropped = dropped;
    parts.drawLed = [&state = links.state, &settings = links.settings](QPainter& target, const PanelSkin& skin) {
        Led_DrawAll(target, skin, state, settings.maxVolumeLevel);
    };
    return Panel_CreateWith(panel, parts, links, why);
}
