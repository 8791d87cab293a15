#pragma once

#include "components/discbay/drive_hardware.h"
#include "components/discbay/udisks_client.h"

// The real drives: the kernel's CD-ROM requests on the device node, the disk service for
// what is mounted.
class KernelDriveHardware : public DriveHardware {
public:
    explicit KernelDriveHardware(UdisksClient udisks = UdisksClient());

    std::optional<bool> doorOpen(const std::string& device) override;
    bool eject(const std::string& device) override;
    bool closeTray(const std::string& device) override;
    void unmountAndEject(const std::string& device, std::function<void(UdisksResult)> done) override;
    void requestMount(const std::string& device) override;

private:
    UdisksClient udisks_;
};
