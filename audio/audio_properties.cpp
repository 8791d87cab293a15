#include "audio/audio_properties.h"

#include <array>

#include "context/app_context.h"
#include "context/components.h"
#include "context/modal_loop.h"
#include "led/led_refresh.h"

namespace {
// The three settings in the order the engine's calls take them.
struct Setting {
    uint32_t PlayerState::*wanted;
    uint32_t PlayerState::*shown;
    uint32_t values;  // the number of values, which is also the marker of "none"
    uint32_t (*refresh)(uint32_t now);
};

constexpr std::array<Setting, 3> kSettings{{
    {&PlayerState::wantedSoundQuality, &PlayerState::shownSoundQuality, 4, Led_RefreshSoundQuality},
    {&PlayerState::wantedAudioChannel, &PlayerState::shownAudioChannel, 3, Led_RefreshAudioChannel},
    {&PlayerState::wantedSoundChannel, &PlayerState::shownSoundChannel, 2, Led_RefreshSoundChannel},
}};

// The engine's argument for each setting: the given field, or null for the others.
template <class Field>
std::array<Field*, 3> only(size_t slot, Field* field)
{
    std::array<Field*, 3> arguments{};
    arguments[slot] = field;
    return arguments;
}

// The engine's value becomes the wanted one unless it reports that it has none.
void adopt(const Setting& setting)
{
    PlayerState& state = app().state;
    if (state.*setting.shown != setting.values)
        state.*setting.wanted = state.*setting.shown;
}

uint32_t cycle(size_t slot)
{
    const Setting& setting = kSettings[slot];
    PlayerState& state = app().state;
    Window* panel = app().windows.panel;

    uint32_t& wanted = state.*setting.wanted;
    wanted = wanted + 1 >= setting.values ? 0 : wanted + 1;
    const auto given = only<const uint32_t>(slot, &wanted);
    const uint32_t result = Reelkit_SetAudioProperties(panel, given[0], given[1], given[2]);

    const auto read = only<uint32_t>(slot, &(state.*setting.shown));
    Reelkit_GetAudioProperties(panel, read[0], read[1], read[2]);
    adopt(setting);
    setting.refresh(0);
    return result;
}
}  // namespace

uint32_t CycleSoundQuality() { return cycle(0); }
uint32_t CycleAudioChannel() { return cycle(1); }
uint32_t CycleSoundChannel() { return cycle(2); }

uint32_t ShowAudioProperties()
{
    Window* panel = app().windows.panel;
    uint32_t changed = 0;
    {
        // The engine's dialog runs a loop of its own, with the panel as its owner.
        const ModalLoop loop;
        changed = Reelkit_MPEGAudioDecoderConfig(panel);
    }
    if (!changed)
        return 1;
    PlayerState& state = app().state;
    Reelkit_GetAudioProperties(panel, &state.shownSoundQuality, &state.shownAudioChannel, &state.shownSoundChannel);
    for (const Setting& setting : kSettings)
        adopt(setting);
    for (const Setting& setting : kSettings)
        setting.refresh(0);
    return 1;
}
