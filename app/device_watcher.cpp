#include "app/device_watcher.h"

#include <cstring>

#include <libudev.h>

#include "core/device_change.h"

SoundDeviceWatcher::SoundDeviceWatcher(QObject* parent) : QObject(parent)
{
    udev_ = udev_new();
    if (!udev_)
        return;
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (!monitor_ || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "sound", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor_), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &SoundDeviceWatcher::drain);
}

SoundDeviceWatcher::~SoundDeviceWatcher()
{
    notifier_.reset();
    if (monitor_)
        udev_monitor_unref(monitor_);
    if (udev_)
        udev_unref(udev_);
}

void SoundDeviceWatcher::drain()
{
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const char* action = udev_device_get_action(device);
        if (action && std::strcmp(action, "add") == 0)
            emit deviceChanged(device_event::Arrival);
        else if (action && std::strcmp(action, "remove") == 0)
            emit deviceChanged(device_event::RemoveComplete);
        udev_device_unref(device);
    }
}
