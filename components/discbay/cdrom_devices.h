#pragma once

#include <string>
#include <string_view>
#include <vector>

// The CD-ROM drives' device nodes as the device manager knows them, in device order; empty
// without a device manager.
std::vector<std::string> ListCdRomDevices();

// Device order: names compare by their text, a number at their end by its value, so that
// /dev/sr10 follows /dev/sr9.
bool DeviceNodeLess(std::string_view a, std::string_view b);
