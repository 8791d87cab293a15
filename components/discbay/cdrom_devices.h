#pragma once

#include <string>
#include <string_view>
#include <vector>

// The CD-ROM drives' device nodes as the device manager knows them, in device order; empty
// without a device manager.
std::vector<std::string> ListCdRomDevices();

// Where the CD-ROM drives' device nodes come from, in device order.
class CdRomDeviceList {
public:
    virtual ~CdRomDeviceList() = default;
    virtual std::vector<std::string> cdRomDevices() const = 0;
};

// The drives the device manager knows now.
class SystemCdRomDevices : public CdRomDeviceList {
public:
    std::vector<std::string> cdRomDevices() const override { return ListCdRomDevices(); }
};

// Device order: names compare by their text, a number at their end by its value, so that
// /dev/sr10 follows /dev/sr9.
bool DeviceNodeLess(std::string_view a, std::string_view b);
