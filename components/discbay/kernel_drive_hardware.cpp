#include "components/discbay/kernel_drive_hardware.h"

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <utility>

namespace {
// The device opened without waiting for a disc, which an empty or open drive never has;
// the request's answer, or -1.
int request(const std::string& device, unsigned long command, unsigned long argument = 0)
{
    const int fd = ::open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    const int answer = ::ioctl(fd, command, argument);
    ::close(fd);
    return answer;
}
}  // namespace

KernelDriveHardware::KernelDriveHardware(UdisksClient udisks) : udisks_(std::move(udisks)) {}

std::optional<bool> KernelDriveHardware::doorOpen(const std::string& device)
{
    const int status = request(device, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    if (status < 0 || status == CDS_NO_INFO)
        return std::nullopt;
    return status == CDS_TRAY_OPEN;
}

bool KernelDriveHardware::eject(const std::string& device)
{
    return request(device, CDROMEJECT) == 0;
}

bool KernelDriveHardware::closeTray(const std::string& device)
{
    return request(device, CDROMCLOSETRAY) == 0;
}

void KernelDriveHardware::unmountAndEject(const std::string& device, std::function<void(UdisksResult)> done)
{
    udisks_.unmountAndEject(device, std::move(done));
}

void KernelDriveHardware::requestMount(const std::string& device)
{
    udisks_.requestMount(device);
}
