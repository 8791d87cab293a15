#pragma once

#include <cstdint>
#include <vector>

class Window;

// The system mixer. Line selector 0 is the default output device, 8 the player's own
// stream; control kind 0 is mute, 1 volume; values are per channel.
class SonokitMixer {
public:
    virtual ~SonokitMixer() = default;
    virtual uint32_t getValue(uint32_t mixer, uint32_t line, uint32_t kind, std::vector<uint32_t>* values) = 0;
    virtual uint32_t setValue(uint32_t mixer, uint32_t line, uint32_t kind, const std::vector<uint32_t>& values) = 0;
    virtual uint32_t getMaxMinValue(uint32_t mixer, uint32_t line, uint32_t kind, uint32_t* maximum,
                                    uint32_t* minimum) = 0;
    virtual uint32_t getControlId(uint32_t mixer, uint32_t line, uint32_t kind, uint32_t* controlId) = 0;
    virtual uint32_t hookDevice(Window* window, uint32_t mixer) = 0;
    virtual uint32_t unHookDevice(Window* window, uint32_t mixer) = 0;
};
