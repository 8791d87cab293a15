#include "components/discbay/cdrom_devices.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <libudev.h>

namespace {
struct UdevUnref {
    void operator()(udev* u) const { udev_unref(u); }
    void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
    void operator()(udev_device* d) const { udev_device_unref(d); }
};

// The text before a trailing number, and the number's digits without leading zeros.
std::pair<std::string_view, std::string_view> splitNumber(std::string_view name)
{
    size_t digits = name.size();
    while (digits > 0 && name[digits - 1] >= '0' && name[digits - 1] <= '9')
        --digits;
    std::string_view number = name.substr(digits);
    while (number.size() > 1 && number.front() == '0')
        number.remove_prefix(1);
    return {name.substr(0, digits), number};
}
}  // namespace

bool DeviceNodeLess(std::string_view a, std::string_view b)
{
    const auto [stemA, numberA] = splitNumber(a);
    const auto [stemB, numberB] = splitNumber(b);
    if (stemA != stemB)
        return stemA < stemB;
    if (numberA.size() != numberB.size())
        return numberA.size() < numberB.size();
    if (numberA != numberB)
        return numberA < numberB;
    return a < b;
}

std::vector<std::string> ListCdRomDevices()
{
    std::vector<std::string> nodes;
    const std::unique_ptr<udev, UdevUnref> context(udev_new());
    if (!context)
        return nodes;
    const std::unique_ptr<udev_enumerate, UdevUnref> scan(udev_enumerate_new(context.get()));
    if (!scan || udev_enumerate_add_match_subsystem(scan.get(), "block") < 0 ||
        udev_enumerate_add_match_property(scan.get(), "ID_CDROM", "1") < 0 || udev_enumerate_scan_devices(scan.get()) < 0)
        return nodes;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get()))
    {
        const std::unique_ptr<udev_device, UdevUnref> device(
            udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
        if (!device)
            continue;
        const char* type = udev_device_get_devtype(device.get());
        const char* node = udev_device_get_devnode(device.get());
        // The drive itself, not a partition of a disc in it.
        if (type && std::strcmp(type, "disk") == 0 && node)
            nodes.emplace_back(node);
    }
    std::sort(nodes.begin(), nodes.end(), DeviceNodeLess);
    return nodes;
}
