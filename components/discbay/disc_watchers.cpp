#include "components/discbay/disc_watchers.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include <libudev.h>

namespace fs = std::filesystem;

namespace {
// A drive's folder or image, with the folder above it; where they are missing, the nearest
// folder above that exists, whose changes tell when they come.
std::vector<QString> pathsToWatch(const std::string& root)
{
    std::vector<QString> paths;
    std::error_code error;
    fs::path path(root);
    if (fs::exists(path, error))
        paths.push_back(QString::fromStdString(path.string()));
    for (path = path.parent_path(); !path.empty(); path = path.parent_path()) {
        if (fs::is_directory(path, error)) {
            paths.push_back(QString::fromStdString(path.string()));
            break;
        }
        if (path == path.root_path())
            break;
    }
    return paths;
}

std::string udevProperty(udev_device* device, const char* name)
{
    const char* value = udev_device_get_property_value(device, name);
    return value ? value : "";
}
}  // namespace

DiscWatchers::DiscWatchers(DiscbayCore& core, int slowPeriodMs) : core_(core)
{
    watchMounts();
    watchDevices();
    connect(&folders_, &QFileSystemWatcher::directoryChanged, this, [this] { core_.rescan(); });
    connect(&folders_, &QFileSystemWatcher::fileChanged, this, [this] { core_.rescan(); });
    slowLook_.setInterval(slowPeriodMs);
    connect(&slowLook_, &QTimer::timeout, this, [this] { core_.rescan(); });
    watchFolders();
    noticeMediaPresent();
}

void DiscWatchers::looked()
{
    watchFolders();
}

void DiscWatchers::watchFolders()
{
    std::set<QString> wanted;
    bool unwatched = false;
    for (const std::string& root : core_.boundRoots()) {
        const std::vector<QString> paths = pathsToWatch(root);
        unwatched = unwatched || paths.empty();
        wanted.insert(paths.begin(), paths.end());
    }
    QStringList gone;
    for (const QStringList& held : {folders_.directories(), folders_.files()}) {
        for (const QString& path : held) {
            if (!wanted.contains(path))
                gone.push_back(path);
        }
    }
    if (!gone.isEmpty())
        folders_.removePaths(gone);
    QStringList added;
    for (const QString& path : wanted) {
        if (!folders_.directories().contains(path) && !folders_.files().contains(path))
            added.push_back(path);
    }
    // What the file system refuses to watch (too many watches, a file system without
    // notices) is looked at slowly instead.
    if (!added.isEmpty())
        unwatched = !folders_.addPaths(added).isEmpty() || unwatched;
    if (unwatched && !slowLook_.isActive())
        slowLook_.start();
    else if (!unwatched)
        slowLook_.stop();
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
