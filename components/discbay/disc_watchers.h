#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

#include "components/discbay/discbay_core.h"

struct udev;
struct udev_monitor;
struct udev_device;

// What makes the component look again: the mount table changing, the device manager's
// notices of CD-ROM drives and their discs, and the file system's notices for the folders and
// images bound as drives, each watched with the folder above it so that its coming and going is
// heard too. Nothing is looked at on a clock, except at a slow pace while some bound drive has
// nothing the file system can watch.
class DiscWatchers : public QObject, public DiscWatch {
    Q_OBJECT
public:
    DiscWatchers(DiscbayCore& core, int slowPeriodMs);
    ~DiscWatchers() override;

    void looked() override;

private:
    void watchMounts();
    void watchDevices();
    // The discs already in their drives when watching starts, told like new ones.
    void noticeMediaPresent();
    void drainDevices();
    void notice(udev_device* device);
    // Watches what the bound drives are now.
    void watchFolders();

    DiscbayCore& core_;
    QFileSystemWatcher folders_;
    QTimer slowLook_;
    int mountInfo_ = -1;
    std::unique_ptr<QSocketNotifier> mountNotifier_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    std::unique_ptr<QSocketNotifier> deviceNotifier_;
};
