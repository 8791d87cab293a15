#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "components/discbay/drive_hardware.h"

class QDBusMessage;
class QString;

// The desktop's disk service (udisks2) on the system bus. Nothing here waits for the service:
// every request goes out at once and its answer is taken on the event loop when it comes, so
// a slow or stuck service never holds the player up. An answer waits at most timeoutMs.
class UdisksClient {
public:
    explicit UdisksClient(QDBusConnection bus = QDBusConnection::systemBus(), int timeoutMs = 5000);
    ~UdisksClient();
    UdisksClient(UdisksClient&&) noexcept;
    UdisksClient& operator=(UdisksClient&&) noexcept;

    // Unmounts the disc, then ejects its drive; done hears how it ended, always later than this
    // call returns, and never once the client is gone.
    void unmountAndEject(const std::string& device, std::function<void(UdisksResult)> done);
    // The mount shows up in the mount table when it is done.
    void requestMount(const std::string& device);

    // What the requests share; kept apart from the client so that a moved client's answers
    // still find their way.
    struct Link {
        QDBusConnection bus;
        int timeoutMs;
        QObject* context;  // answers arrive through it and die with it
    };

private:
    std::unique_ptr<QObject> context_;
    std::unique_ptr<Link> link_;
};
