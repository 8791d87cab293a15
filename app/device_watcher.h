#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

struct udev;
struct udev_monitor;

// Sound devices arriving and leaving, as the kernel's device manager reports them; each
// becomes a device notice for the main window. Without udev it reports nothing.
class SoundDeviceWatcher : public QObject {
    Q_OBJECT
public:
    explicit SoundDeviceWatcher(QObject* parent = nullptr);
    ~SoundDeviceWatcher() override;

signals:
    // event is device_event::Arrival or device_event::RemoveComplete.
    void deviceChanged(uint32_t event);

private:
    void drain();

    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
    std::unique_ptr<QSocketNotifier> notifier_;
};
