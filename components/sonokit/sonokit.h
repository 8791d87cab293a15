#pragma once

#include <cstdint>
#include <optional>
#include <vector>

class Window;

// The system mixer. Line selector 0 is the default output device, 8 the player's own
// stream; control kind 0 is mute, 1 volume; values are per channel.
// A control's range of values.
struct MixerRange {
    uint32_t maximum = 0;
    uint32_t minimum = 0;
};

class SonokitMixer {
public:
    virtual ~SonokitMixer() = default;
    virtual std::optional<std::vector<uint32_t>> getValue(uint32_t mixer, uint32_t line, uint32_t kind) = 0;
    virtual bool setValue(uint32_t mixer, uint32_t line, uint32_t kind, const std::vector<uint32_t>& values) = 0;
    virtual std::optional<MixerRange> getMaxMinValue(uint32_t mixer, uint32_t line, uint32_t kind) = 0;
    virtual std::optional<uint32_t> getControlId(uint32_t mixer, uint32_t line, uint32_t kind) = 0;
    virtual bool hookDevice(Window* window, uint32_t mixer) = 0;
    virtual bool unHookDevice(Window* window, uint32_t mixer) = 0;
};

// No mixer: every call is refused.
class NoMixer : public SonokitMixer {
public:
    std::optional<std::vector<uint32_t>> getValue(uint32_t, uint32_t, uint32_t) override { return {}; }
    bool setValue(uint32_t, uint32_t, uint32_t, const std::vector<uint32_t>&) override { return false; }
    std::optional<MixerRange> getMaxMinValue(uint32_t, uint32_t, uint32_t) override { return {}; }
    std::optional<uint32_t> getControlId(uint32_t, uint32_t, uint32_t) override { return {}; }
    bool hookDevice(Window*, uint32_t) override { return false; }
    bool unHookDevice(Window*, uint32_t) override { return false; }
};
