#include "components/components.h"
#include "core/player_settings.h"
#include "panel/panel_window.h"
#include "panel/skin/panel_skin_loader.h"

PanelParts Panel_SkinParts(const PlayerSettings& settings, const Components& components)
{
    // The files are named when each step runs: the settings may change until the panel is made.
    const auto files = [&settings] { return SkinPaths{settings.cfgPath, settings.rcDir}; };
    PanelParts parts;
    parts.loadFace = [files, &components](PanelSkin& skin, const std::function<void()>& afterFaces) {
        return PanelSkin_LoadFace(skin, files(), *components.maskcut, afterFaces);
    };
    parts.loadLed = [files](PanelSkin& skin) { PanelSkin_LoadLed(skin, files()); };
    parts.loadButtons = [files](std::string_view section) { return PanelSkin_LoadButtons(files(), section); };
    return parts;
}
