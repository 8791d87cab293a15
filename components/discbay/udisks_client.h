#pragma once

#include <QDBusConnection>

#include <optional>
#include <string>

#include "components/discbay/drive_hardware.h"

class QDBusMessage;
class QString;

// The desktop's disk service (udisks2) on the system bus. Every call that waits for an answer
// waits at most timeoutMs, so a stuck service cannot hang the player for long.
class UdisksClient {
public:
    explicit UdisksClient(QDBusConnection bus = QDBusConnection::systemBus(), int timeoutMs = 5000);

    UdisksResult unmountAndEject(const std::string& device);
    // Sent without waiting: the mount shows up in the mount table when it is done.
    void requestMount(const std::string& device);

private:
    // The service's object for the block device; nothing when there is no service or it does
    // not know the device.
    std::optional<QString> blockObject(const std::string& device);
    QDBusMessage call(const QDBusMessage& message);

    QDBusConnection bus_;
    int timeoutMs_;
};
