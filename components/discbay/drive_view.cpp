#include "components/discbay/drive_view.h"

#include <algorithm>

DriveTable DriveView::current()
{
    if (!bindings_ || bindingsFrom_ != configPath_) {
        bindingsFrom_ = configPath_;
        bindings_ = IniFile::load(bindingsFrom_);
    }
    return DriveTable::current({.cdRomDevices = devices_ ? devices_->cdRomDevices() : std::vector<std::string>{},
                                .configuration = &*bindings_,
                                .images = images_});
}

bool DriveView::addImage(const std::string& path)
{
    if (std::ranges::find(images_, path) != images_.end())
        return false;
    images_.push_back(path);
    return true;
}
