#include <array>
#include <optional>

#include "audio/audio.h"
#include "components/components.h"
#include "core/app_windows.h"
#include "core/modal_loop.h"
#include "core/player_state.h"
#include "led/led_refresh.h"

namespace {
// The three settings, each with its fields in the state and in the engine's calls.
struct Setting {
    uint32_t PlayerState::*wanted;
    uint32_t PlayerState::*shown;
    std::optional<uint32_t> AudioWish::*wish;
    uint32_t AudioChoice::*engine;
    uint32_t values;  // the number of values, which is also the marker of "none"
    bool (LedDisplay::*refresh)(bool now);
};

constexpr std::array<Setting, 3> kSettings{{
    {&PlayerState::wantedSoundQuality, &PlayerState::shownSoundQuality, &AudioWish::soundQuality,
     &AudioChoice::soundQuality, 4, &LedDisplay::RefreshSoundQuality},
    {&PlayerState::wantedAudioChannel, &PlayerState::shownAudioChannel, &AudioWish::audioChannel,
     &AudioChoice::audioChannel, 3, &LedDisplay::RefreshAudioChannel},
    {&PlayerState::wantedSoundChannel, &PlayerState::shownSoundChannel, &AudioWish::soundChannel,
     &AudioChoice::soundChannel, 2, &LedDisplay::RefreshSoundChannel},
}};
}  // namespace

// The engine's value becomes the wanted one unless it reports that it has none.
void Audio::adopt(size_t slot)
{
    const Setting& setting = kSettings[slot];
    if (state_.*setting.shown != setting.values)
        state_.*setting.wanted = state_.*setting.shown;
}

bool Audio::cycle(size_t slot)
{
    const Setting& setting = kSettings[slot];
    Window* panel = windows_.panel;
    ReelkitEngine& engine = *components_.reelkit;

    uint32_t& wanted = state_.*setting.wanted;
    wanted = wanted + 1 >= setting.values ? 0 : wanted + 1;
    AudioWish wish;
    wish.*setting.wish = wanted;
    const bool result = engine.setAudioProperties(panel, wish);

    // A refused read keeps what was shown.
    if (const std::optional<AudioChoice> shown = engine.getAudioProperties(panel))
        state_.*setting.shown = *shown.*setting.engine;
    adopt(slot);
    (led_.*setting.refresh)(false);
    return result;
}

bool Audio::CycleSoundQuality() { return cycle(0); }
bool Audio::CycleAudioChannel() { return cycle(1); }
bool Audio::CycleSoundChannel() { return cycle(2); }

bool Audio::ShowAudioProperties()
{
    Window* panel = windows_.panel;
    ReelkitEngine& engine = *components_.reelkit;
    bool changed = false;
    {
        // The engine's dialog runs a loop of its own, with the panel as its owner.
        const ModalLoop loop(modalLoops_);
        changed = engine.mpegAudioDecoderConfig(panel);
    }
    if (!changed)
        return true;
    const std::optional<AudioChoice> shown = engine.getAudioProperties(panel);
    for (size_t slot = 0; slot < kSettings.size(); ++slot) {
        if (shown)
            state_.*kSettings[slot].shown = *shown.*kSettings[slot].engine;
        adopt(slot);
    }
    for (const Setting& setting : kSettings)
        (led_.*setting.refresh)(false);
    return true;
}

void Audio::ShowNoProperties()
{
    state_.shownSoundQuality = 4;
    state_.shownAudioChannel = 3;
    state_.shownSoundChannel = 2;
}

void Audio::ApplyToOpenedFile()
{
    ReelkitEngine& engine = *components_.reelkit;
    Window* panel = windows_.panel;
    engine.setAudioProperties(panel, {state_.wantedSoundQuality, state_.wantedAudioChannel, state_.wantedSoundChannel});
    if (const std::optional<AudioChoice> shown = engine.getAudioProperties(panel)) {
        state_.shownSoundQuality = shown->soundQuality;
        state_.shownAudioChannel = shown->audioChannel;
        state_.shownSoundChannel = shown->soundChannel;
    }
    led_.RefreshSoundQuality(false);
    led_.RefreshAudioChannel(false);
    led_.RefreshSoundChannel(false);
}
