#include "components/discbay/disc_watchers.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include <libudev.h>

namespace {
std::string udevProperty(udev_device* device, const char* name)
{
    const char* value = udev_device_get_property_value(device, name);
    return value ? value : "";
}
}  // namespace

DiscWatchers::DiscWatchers(DiscbayCore& core, int periodMs) : core_(core)
{
    watchMounts();
    watchDevices();
    noticeMediaPresent();
    connect(&timer_, &QTimer::timeout, this, [this] { core_.rescan(); });
    timer_.start(periodMs);
}

DiscWatchers::~DiscWatchers()
{
    mountNotifier_.reset();
    deviceNotifier_.reset();
    if (mountInfo_ >= 0)
        ::close(mountInfo_);
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
}

void DiscWatchers::watchMounts()
{
    // The kernel marks the mount table with an urgent-data event whenever it changes.
    mountInfo_ = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
    if (mountInfo_ < 0)
        return;
    mountNotifier_ = std::make_unique<QSocketNotifier>(mountInfo_, QSocketNotifier::Exception);
    connect(mountNotifier_.get(), &QSocketNotifier::activated, this, [this] { core_.rescan(); });
}

void DiscWatchers::watchDevices()
{
    udev_ = udev_new();
    if (!udev_)
        return;
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (!monitor_ || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "block", "disk") < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0)
        return;
    deviceNotifier_ = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor_), QSocketNotifier::Read);
    connect(deviceNotifier_.get(), &QSocketNotifier::activated, this, &DiscWatchers::drainDevices);
}

void DiscWatchers::noticeMediaPresent()
{
    if (!udev_)
        return;
    udev_enumerate* scan = udev_enumerate_new(udev_);
    if (!scan)
        return;
    if (udev_enumerate_add_match_subsystem(scan, "block") >= 0 &&
        udev_enumerate_add_match_property(scan, "ID_CDROM_MEDIA", "1") >= 0 && udev_enumerate_scan_devices(scan) >= 0) {
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan))
        {
            if (udev_device* device = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry))) {
                notice(device);
                udev_device_unref(device);
            }
        }
    }
    udev_enumerate_unref(scan);
}

void DiscWatchers::drainDevices()
{
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        notice(device);
        udev_device_unref(device);
    }
}

void DiscWatchers::notice(udev_device* device)
{
    const char* type = udev_device_get_devtype(device);
    const char* node = udev_device_get_devnode(device);
    if (udevProperty(device, "ID_CDROM") != "1" || !type || std::strcmp(type, "disk") != 0 || !node)
        return;
    const char* action = udev_device_get_action(device);
    const bool removed = action && std::strcmp(action, "remove") == 0;
    core_.mediumChanged({.device = node,
                         .medium = !removed && udevProperty(device, "ID_CDROM_MEDIA") == "1",
                         .fileSystem = udevProperty(device, "ID_FS_TYPE"),
                         .usage = udevProperty(device, "ID_FS_USAGE")});
}
