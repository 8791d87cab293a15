#pragma once

#include <cstdint>

// A device notice as the main window receives it: the event and the header's device type.
namespace device_event {
constexpr uint32_t Arrival = 0x8000;
constexpr uint32_t RemoveComplete = 0x8004;
}  // namespace device_event

namespace device_type {
constexpr uint32_t Oem = 0;
constexpr uint32_t DevNode = 1;
constexpr uint32_t Volume = 2;
}  // namespace device_type

struct DeviceHeader {
    uint32_t size = sizeof(DeviceHeader);
    uint32_t deviceType = 0;
    uint32_t unitMask = 0;  // volumes: one bit per drive letter, bit 0 = A:
    uint32_t flags = 0;
};
