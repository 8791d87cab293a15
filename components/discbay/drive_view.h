#pragma once

#include <functional>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "components/discbay/drive_table.h"
#include "core/ini_file.h"

// The drive table as the player sees it now: the CD-ROM drives the system lists, the disc
// images opened as drives and the bindings of the configuration at configPath, read once per
// file (the table is built on every disc event and every look of the drive component).
class DriveView {
public:
    using DeviceLister = std::function<std::vector<std::string>()>;

    explicit DriveView(const std::string& configPath, DeviceLister listCdRomDevices = {})
        : configPath_(configPath), listCdRomDevices_(std::move(listCdRomDevices))
    {
    }

    DriveTable current();
    void setDeviceLister(DeviceLister lister) { listCdRomDevices_ = std::move(lister); }
    // Keeps a disc image as a drive from now on; true when it was not one yet.
    bool addImage(const std::string& path);
    const std::vector<std::string>& images() const { return images_; }

private:
    const std::string& configPath_;
    DeviceLister listCdRomDevices_;
    std::vector<std::string> images_;  // oldest first
    std::string bindingsFrom_;
    std::optional<IniFile> bindings_;
};
