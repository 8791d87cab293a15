#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <memory>

#include "components/discbay/discbay_core.h"

struct udev;
struct udev_monitor;
struct udev_device;

// What makes the component look again: the mount table changing, the device manager's
// notices of CD-ROM drives and their discs, and a gentle periodic look for bound folders,
// which tell nobody when they fill or empty. Without udev only the other two remain.
class DiscWatchers : public QObject, public DiscWatch {
    Q_OBJECT
public:
    explicit DiscWatchers(DiscbayCore& core, int periodMs = 1000);
    ~DiscWatchers() override;

private:
    void watchMounts();
    void watchDevices();
    // The discs already in their drives when watching starts, told like new ones.
    void noticeMediaPresent();
    void drainDevices();
    void notice(udev_device* device);

    DiscbayCore& core_;
    QTimer timer_;
    int mountInfo_ = -1;
    std::unique_ptr<QSocketNotifier> mountNotifier_;
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    std::unique_ptr<QSocketNotifier> deviceNotifier_;
};
