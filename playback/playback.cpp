#include "playback/playback.h"
#include "playback/pbc_session.h"

#include "audio/audio.h"
#include "components/components.h"
#include "core/app_windows.h"

Playback::Playback(Components& components, PlayerSettings& settings, PlayerState& state, const AppWindows& windows,
                   DriveView& drives, PlayListStore& playList, Turns& turns, Audio& audio, LedDisplay& led)
    : components_(components),
      settings_(settings),
      state_(state),
      windows_(windows),
      drives_(drives),
      playList_(playList),
      turns_(turns),
      audio_(audio),
      led_(led),
      mainTimers_(windows.main),
      panelTimers_(windows.panel)
{
    QObject::connect(&chapters_, &DiscChapters::controlKnown, &chapters_, [this](uint32_t drive) { controlKnown(drive); });
    QObject::connect(&chapters_, &DiscChapters::timesKnown, &chapters_, [this](uint32_t drive) { pbcTimesKnown(drive); });
}

void Playback::setPanel(PanelFeedback* panel)
{
    panel_ = panel;
    audio_.setPanel(panel);
}

ReelkitEngine& Playback::engine() const
{
    return *components_.reelkit;
}

void Playback::beginBusyCursor() const
{
    if (panel_)
        panel_->beginBusyCursor();
}

void Playback::endBusyCursor() const
{
    if (panel_)
        panel_->endBusyCursor();
}
