#include "audio/audio_properties.h"

#include <array>
#include <optional>

#include "context/app_context.h"
#include "context/components.h"
#include "core/modal_loop.h"
#include "led/led_refresh.h"

namespace {
// The three settings, each with its fields in the state and in the engine's calls.
struct Setting {
    uint32_t PlayerState::*wanted;
    uint32_t PlayerState::*shown;
    std::optional<uint32_t> AudioWish::*wish;
    uint32_t AudioChoice::*engine;
    uint32_t values;  // the number of values, which is also the marker of "none"
    bool (*refresh)(bool now);
};

constexpr std::array<Setting, 3> kSettings{{
    {&PlayerState::wantedSoundQuality, &PlayerState::shownSoundQuality, &AudioWish::soundQuality,
     &AudioChoice::soundQuality, 4, Led_RefreshSoundQuality},
    {&PlayerState::wantedAudioChannel, &PlayerState::shownAudioChannel, &AudioWish::audioChannel,
     &AudioChoice::audioChannel, 3, Led_RefreshAudioChannel},
    {&PlayerState::wantedSoundChannel, &PlayerState::shownSoundChannel, &AudioWish::soundChannel,
     &AudioChoice::soundChannel, 2, Led_RefreshSoundChannel},
}};

// The engine's value becomes the wanted one unless it reports that it has none.
void adopt(const Setting& setting)
{
    PlayerState& state = app().state;
    if (state.*setting.shown != setting.values)
        state.*setting.wanted = state.*setting.shown;
}

bool cycle(size_t slot)
{
    const Setting& setting = kSettings[slot];
    PlayerState& state = app().state;
    Window* panel = app().windows.panel;
    ReelkitEngine& engine = *app().components.reelkit;

    uint32_t& wanted = state.*setting.wanted;
    wanted = wanted + 1 >= setting.values ? 0 : wanted + 1;
    AudioWish wish;
    wish.*setting.wish = wanted;
    const bool result = engine.setAudioProperties(panel, wish);

    // A refused read keeps what was shown.
    if (const std::optional<AudioChoice> shown = engine.getAudioProperties(panel))
        state.*setting.shown = *shown.*setting.engine;
    adopt(setting);
    setting.refresh(false);
    return result;
}
}  // namespace

bool CycleSoundQuality() { return cycle(0); }
bool CycleAudioChannel() { return cycle(1); }
bool CycleSoundChannel() { return cycle(2); }

bool ShowAudioProperties()
{
    Window* panel = app().windows.panel;
    ReelkitEngine& engine = *app().components.reelkit;
    bool changed = false;
    {
        // The engine's dialog runs a loop of its own, with the panel as its owner.
        const ModalLoop loop(app().modalLoops);
        changed = engine.mpegAudioDecoderConfig(panel);
    }
    if (!changed)
        return true;
    PlayerState& state = app().state;
    const std::optional<AudioChoice> shown = engine.getAudioProperties(panel);
    for (const Setting& setting : kSettings) {
        if (shown)
            state.*setting.shown = *shown.*setting.engine;
        adopt(setting);
    }
    for (const Setting& setting : kSettings)
        setting.refresh(false);
    return true;
}
