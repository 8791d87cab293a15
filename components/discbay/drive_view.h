#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "components/discbay/cdrom_devices.h"
#include "components/discbay/drive_table.h"
#include "core/ini_file.h"

// The drive table as the player sees it now: the CD-ROM drives the system lists, the disc
// images opened as drives and the bindings of the configuration at configPath, read once per
// file (the table is built on every disc event and every look of the drive component).
class DriveView : public DriveTableSource {
public:
    explicit DriveView(const std::string& configPath) : configPath_(configPath) {}

    DriveTable current() override;
    // Without a list, the table has no CD-ROM devices.
    void setDeviceList(std::unique_ptr<CdRomDeviceList> devices) { devices_ = std::move(devices); }
    // Keeps a disc image as a drive from now on; true when it was not one yet.
    bool addImage(const std::string& path);
    const std::vector<std::string>& images() const { return images_; }

private:
    const std::string& configPath_;
    std::unique_ptr<CdRomDeviceList> devices_;
    std::vector<std::string> images_;  // oldest first
    std::string bindingsFrom_;
    std::optional<IniFile> bindings_;
};
