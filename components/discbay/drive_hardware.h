#pragma once

#include <functional>
#include <optional>
#include <string>

// How a request to the desktop's disk service ended.
enum class UdisksResult {
    Done,
    Failed,       // the service was asked and refused or failed
    Unavailable,  // no service, or it does not know the device: the kernel has to do it
};

// The physical CD-ROM drives, named by their device node. The component decides what to ask;
// this layer only does it, so that the decisions can be tried against a scripted drive.
class DriveHardware {
public:
    virtual ~DriveHardware() = default;
    // Whether the tray is open; nothing when the drive cannot tell.
    virtual std::optional<bool> doorOpen(const std::string& device) = 0;
    // The kernel's own eject and close of the tray.
    virtual bool eject(const std::string& device) = 0;
    virtual bool closeTray(const std::string& device) = 0;
    // Unmounts the disc's file system, then ejects, through the disk service. The service may
    // take long: done hears the outcome on the event loop, after this call returned.
    virtual void unmountAndEject(const std::string& device, std::function<void(UdisksResult)> done) = 0;
    // Asks for the disc's file system to be mounted; the mount shows up in the mount table.
    virtual void requestMount(const std::string& device) = 0;
};
