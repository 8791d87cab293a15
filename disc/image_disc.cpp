#include "disc/image_disc.h"

#include <filesystem>
#include <memory>

#include "components/discbay/drive_table.h"
#include "core/text.h"
#include "components/discbay/vcd_disc.h"

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

std::optional<ImagePath> SplitImagePath(const std::string& path)
{
    std::optional<ImagePath> found;
    for (size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        const std::string leading = path.substr(0, end);
        std::error_code error;
        if (IsDiscImageName(leading) && std::filesystem::is_regular_file(leading, error)) {
            std::string inside = end == std::string::npos ? std::string() : path.substr(end);
            while (!inside.empty() && inside.back() == '/')
                inside.pop_back();
            found = ImagePath{leading, inside.empty() ? "/" : inside};
        }
        if (end == std::string::npos)
            return found;
    }
}

std::optional<std::vector<PlayListEntry>> ImageFolderEntries(const ImagePath& folder)
{
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(folder.image);
    const std::optional<std::vector<VcdEntry>> listed = disc ? disc->list(folder.inside) : std::nullopt;
    if (!listed)
        return std::nullopt;
    const std::string prefix = folder.image + (folder.inside == "/" ? "" : folder.inside);
    std::vector<PlayListEntry> entries;
    for (const VcdEntry& entry : *listed)
        entries.push_back({prefix + "/" + entry.name, entry.directory ? 1u : 0u});
    return entries;
}
