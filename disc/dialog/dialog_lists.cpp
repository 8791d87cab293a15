#include "disc/dialog/dialog_lists.h"

#include <filesystem>

#include "audio/panel_feedback.h"
#include "disc/image_disc.h"

namespace fs = std::filesystem;

namespace {
// The names of a folder joined to it; false when it cannot be read.
bool namesIn(const std::string& folder, std::vector<std::string>& paths)
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        return false;
    const std::string prefix = folder.back() == '/' ? folder : folder + "/";
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        paths.push_back(prefix + it->path().filename().string());
    }
    return true;
}
}  // namespace

bool ListDirectory(const PlayListStore& store, PanelFeedback* panel, PlayList* target, const std::string& folder)
{
    if (!target || folder.empty())
        return false;
    if (panel)
        panel->beginBusyCursor();
    std::vector<std::string> paths;
    PlayList found;
    bool read = false;
    // A disc image's folders are read through the reader, as its tracks are played.
    if (const std::optional<ImagePath> image = SplitImagePath(folder)) {
        const std::optional<std::vector<PlayListEntry>> entries = ImageFolderEntries(*image);
        read = entries.has_value();
        if (read)
            store.AddListedEntriesSorted(&found, *entries);
    } else {
        read = namesIn(folder, paths);
        // One sort for the whole folder instead of an insertion per name.
        if (read)
            store.AddFilesSorted(&found, paths);
    }
    CopyList(target, &found);
    if (panel)
        panel->endBusyCursor();
    return read;
}

std::vector<uint32_t> FoldersToDeselect(const PlayList& files, const std::vector<uint32_t>& selected)
{
    std::vector<uint32_t> folders;
    for (const uint32_t at : selected) {
        if (at >= files.entries.size() || files.entries[at].directory == 0)
            break;
        folders.push_back(at);
    }
    return folders;
}

void AppendEntries(PlayList& to, const PlayList& from, const std::vector<uint32_t>& selected)
{
    // Read all first: to and from may be the same list.
    std::vector<PlayListEntry> added;
    for (const uint32_t at : selected) {
        if (at < from.entries.size())
            added.push_back(from.entries[at]);
    }
    to.entries.insert(to.entries.end(), added.begin(), added.end());
}

void RemoveEntries(PlayList& list, const std::vector<uint32_t>& selected)
{
    std::vector<bool> removed(list.entries.size(), false);
    for (const uint32_t at : selected) {
        if (at < removed.size())
            removed[at] = true;
    }
    size_t index = 0;
    std::erase_if(list.entries, [&](const PlayListEntry&) { return removed[index++]; });
}

std::string ShortenPath(std::string_view path, std::string_view root, int width,
                        const std::function<int(std::string_view)>& widthOf)
{
    if (root == "/")
        root = {};
    // Without its root in front, the first part is what stands before the first "/".
    if (path.substr(0, root.size()) != root || (path.size() > root.size() && path[root.size()] != '/'))
        root = path.substr(0, path.find('/') == std::string_view::npos ? 0 : path.find('/'));
    const std::string_view rest = path.substr(root.size());
    std::vector<size_t> slashes;
    for (size_t at = 0; at < rest.size(); ++at) {
        if (rest[at] == '/')
            slashes.push_back(at);
    }
    if (slashes.size() < 2)
        return std::string(path);
    std::string candidate;
    for (size_t n = 1; n < slashes.size(); ++n) {
        candidate = std::string(root) + "/..." + std::string(rest.substr(slashes[n]));
        if (widthOf(candidate) < width)
            break;
    }
    return candidate;
}
