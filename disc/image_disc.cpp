#include "disc/image_disc.h"

#include <memory>

#include "app/text.h"
#include "components/discbay/vcd_disc.h"
#include "disc/drive_table.h"

namespace {
// The name the disc spells its stream folder with; empty when it has none.
std::string streamFolder(const std::vector<VcdEntry>& root)
{
    for (const std::string_view wanted : kDiscStreamFolders)
        for (const VcdEntry& entry : root)
            if (entry.directory && EqualsIgnoringCase(entry.name, wanted))
                return entry.name;
    return {};
}
}  // namespace

std::vector<std::string> ImageDiscFiles(const std::string& image)
{
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(image);
    if (!disc)
        return {};
    // The folder's name as the disc spells it, so that the paths name what the disc holds.
    const std::optional<std::vector<VcdEntry>> root = disc->list("/");
    if (!root)
        return {};
    const std::string folder = streamFolder(*root);
    const std::optional<std::vector<VcdEntry>> entries = folder.empty() ? std::nullopt : disc->list("/" + folder);
    if (!entries)
        return {};
    std::vector<std::string> files;
    for (const VcdEntry& entry : *entries) {
        if (!entry.directory)
            files.push_back(image + "/" + folder + "/" + entry.name);
    }
    return files;
}

std::string ImageDiscLabel(const std::string& image)
{
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(image);
    return disc ? disc->label() : std::string();
}
