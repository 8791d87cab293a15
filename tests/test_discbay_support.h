#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "components/discbay/cdrom_devices.h"
#include "components/discbay/drive_hardware.h"
#include "components/discbay/drive_table.h"

// A drive table the test makes at each look.
class TableOf : public DriveTableSource {
public:
    explicit TableOf(std::function<DriveTable()> make) : make_(std::move(make)) {}
    DriveTable current() override { return make_(); }

private:
    std::function<DriveTable()> make_;
};

// The CD-ROM devices the test says the system lists.
class ListedDevices : public CdRomDeviceList {
public:
    explicit ListedDevices(std::vector<std::string> devices) : devices_(std::move(devices)) {}
    std::vector<std::string> cdRomDevices() const override { return devices_; }

private:
    std::vector<std::string> devices_;
};

// A drive layer whose answers a test sets; it notes every request as "name(device)".
class ScriptedDrives : public DriveHardware {
public:
    std::map<std::string, std::optional<bool>> doors;  // a device not listed cannot tell
    bool kernelAnswers = true;
    UdisksResult udisks = UdisksResult::Done;
    std::function<void()> whenUnmounted;  // what the disk service's unmount does to the world
    std::vector<std::string> log;
    std::vector<std::function<void()>> unanswered;  // the disk service's answers still to come

    // Gives the disk service's answers, in the order they were asked.
    void answer()
    {
        for (auto& reply : std::exchange(unanswered, {}))
            reply();
    }

    std::optional<bool> doorOpen(const std::string& device) override
    {
        log.push_back("doorOpen(" + device + ")");
        const auto found = doors.find(device);
        return found == doors.end() ? std::nullopt : found->second;
    }
    bool eject(const std::string& device) override
    {
        log.push_back("eject(" + device + ")");
        return kernelAnswers;
    }
    bool closeTray(const std::string& device) override
    {
        log.push_back("closeTray(" + device + ")");
        return kernelAnswers;
    }
    void unmountAndEject(const std::string& device, std::function<void(UdisksResult)> done) override
    {
        log.push_back("unmountAndEject(" + device + ")");
        unanswered.push_back([this, done = std::move(done), result = udisks] {
            if (result == UdisksResult::Done && whenUnmounted)
                whenUnmounted();
            done(result);
        });
    }
    void requestMount(const std::string& device) override { log.push_back("requestMount(" + device + ")"); }
};
