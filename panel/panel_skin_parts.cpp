#include <utility>

#include "components/components.h"
#include "core/player_settings.h"
#include "core/qt_timers.h"
#include "led/led_draw.h"
#include "panel/panel_window.h"
#include "panel/skin/panel_skin_loader.h"
#include "playback/playback.h"

namespace {
SkinPaths filesOf(const PlayerSettings& settings)
{
    return {settings.cfgPath, settings.rcDir};
}
}  // namespace

SkinPanelParts::SkinPanelParts(const PanelLinks& links, FileDropTarget* drops)
    : links_(links), drops_(drops)
{
}

bool SkinPanelParts::loadFace(PanelSkin& skin, const std::function<void()>& afterFaces)
{
    return PanelSkin_LoadFace(skin, filesOf(links_.settings), *links_.components.maskcut, afterFaces);
}

void SkinPanelParts::loadLed(PanelSkin& skin)
{
    PanelSkin_LoadLed(skin, filesOf(links_.settings));
}

std::vector<PanelButton> SkinPanelParts::loadButtons(std::string_view section)
{
    return PanelSkin_LoadButtons(filesOf(links_.settings), section);
}

void SkinPanelParts::drawLed(QPainter& target, const PanelSkin& skin)
{
    Led_DrawAll(target, skin, links_.state, links_.settings.maxVolumeLevel);
}

std::unique_ptr<TimerHost> SkinPanelParts::makeTimers(TimerTick tick)
{
    return std::make_unique<QtTimers>(std::move(tick), &links_.turns);
}

CommandSink& SkinPanelParts::commands()
{
    return links_.playback;
}
