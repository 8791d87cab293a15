#include "disc/play_list.h"

#include <QString>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "core/player_settings.h"
#include "core/settings.h"
#include "core/text.h"
#include "disc/image_disc.h"

namespace fs = std::filesystem;

namespace {
enum class Kind { Missing, Directory, File };

Kind kindOf(const std::string& path)
{
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        return Kind::Missing;
    return fs::is_directory(status) ? Kind::Directory : Kind::File;
}

// The text after the last dot of the file's name; nothing when the name has no dot past its
// first character.
std::optional<std::string_view> extensionOf(std::string_view path)
{
    for (size_t at = path.size(); at > 1; --at) {
        const char c = path[at - 1];
        if (c == '/')
            return std::nullopt;
        if (c == '.')
            return path.substr(at);
    }
    return std::nullopt;
}

// Whether an entry ends the walk for a new path of the given kind.
bool stopsBefore(const PlayListEntry& entry, uint32_t directory, const std::string& path)
{
    if (directory != 0 && entry.directory == 0)
        return true;
    if (directory == 0 && entry.directory != 0)
        return false;
    return CompareIgnoringCase(entry.path, path) > 0;
}

std::optional<uint32_t> accepted(const PlayListStore& store, const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    switch (kindOf(path)) {
    case Kind::Missing:
        return std::nullopt;
    case Kind::Directory:
        return 1;
    case Kind::File:
        return store.HasListedExtension(path) ? std::optional<uint32_t>(0) : std::nullopt;
    }
    return std::nullopt;
}
}  // namespace

bool PlayListStore::PlayList_Create()
{
    Settings_ReadFor(settings_, SettingMoment::PlayList);
    list_.emplace().numbered = true;
    return true;
}

void PlayListStore::PlayList_Destroy()
{
    list_.reset();
}

uint32_t PlayListStore::PlayList_Count() const
{
    return list_ ? static_cast<uint32_t>(list_->entries.size()) : 0;
}

bool PlayListStore::PlayList_GetPath(uint32_t index, std::string& path) const
{
    if (!list_ || index >= list_->entries.size())
        return false;
    path = list_->entries[index].path;
    return true;
}

std::optional<uint64_t> PlayListStore::PlayList_Serial(uint32_t index) const
{
    if (!list_ || index >= list_->entries.size())
        return std::nullopt;
    return list_->entries[index].serial;
}

bool PlayListStore::PlayList_RemoveAt(uint32_t index)
{
    if (!list_ || index >= list_->entries.size())
        return false;
    list_->entries.erase(list_->entries.begin() + index);
    return true;
}

bool PlayListStore::PlayList_FindBackward(const std::string& path, uint32_t start, uint32_t& index) const
{
    if (!list_ || path.empty() || list_->entries.empty())
        return false;
    const auto& entries = list_->entries;
    const NameMatcher matches(path);
    for (size_t at = std::min<size_t>(start, entries.size() - 1) + 1; at-- > 0;) {
        if (matches(entries[at].path)) {
            index = static_cast<uint32_t>(at);
            return true;
        }
    }
    return false;
}

bool CopyList(PlayList* destination, const PlayList* source)
{
    if (!destination || !source)
        return false;
    if (destination != source)
        destination->entries = source->entries;
    if (destination->numbered) {
        for (PlayListEntry& entry : destination->entries) {
            if (entry.serial == 0)
                entry.serial = ++destination->lastSerial;
        }
    }
    return true;
}

bool PlayListStore::HasListedExtension(const std::string& path) const
{
    const std::optional<std::string_view> extension = extensionOf(path);
    if (!extension)
        return false;
    const NameMatcher matches(*extension);
    // Split at "," alone: blanks stay part of a token and empty tokens name nothing.
    const std::string_view list = settings_.playFileExtensions;
    for (size_t begin = 0; begin <= list.size();) {
        const size_t end = std::min(list.find(',', begin), list.size());
        const std::string_view token = list.substr(begin, end - begin);
        if (!token.empty() && matches(token))
            return true;
        begin = end + 1;
    }
    return false;
}

bool PlayListStore::AddFileSorted(PlayList* list, const std::string& path) const
{
    return AddFilesSorted(list, {path}) == 1;
}

namespace {
// Adds every path the check accepts (answering its folder flag), as AddFileSorted would.
template <typename Accept>
uint32_t addAllSorted(PlayList* list, const std::vector<std::string>& paths, Accept accept)
{
    if (!list)
        return 0;
    auto& entries = list->entries;
    if (!entries.empty()) {
        uint32_t added = 0;
        for (const std::string& path : paths) {
            if (const std::optional<uint32_t> directory = accept(path)) {
                const auto at = std::partition_point(entries.begin(), entries.end(), [&](const PlayListEntry& entry) {
                    return !stopsBefore(entry, *directory, path);
                });
                entries.insert(at, PlayListEntry{path, *directory});
                ++added;
            }
        }
        return added;
    }
    struct Keyed {
        PlayListEntry entry;
        QString key;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(paths.size());
    for (const std::string& path : paths) {
        if (const std::optional<uint32_t> directory = accept(path))
            keyed.push_back({PlayListEntry{path, *directory}, SortKey(path)});
    }
    // Stable, so that equal paths keep the order in which they came, as one by one they would.
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.entry.directory != b.entry.directory)
            return a.entry.directory != 0;
        return a.key.compare(b.key) < 0;
    });
    entries.reserve(keyed.size());
    for (Keyed& item : keyed)
        entries.push_back(std::move(item.entry));
    return static_cast<uint32_t>(keyed.size());
}
}  // namespace

uint32_t PlayListStore::AddFilesSorted(PlayList* list, const std::vector<std::string>& paths) const
{
    return addAllSorted(list, paths, [this](const std::string& path) { return accepted(*this, path); });
}

uint32_t PlayListStore::AddListedFilesSorted(PlayList* list, const std::vector<std::string>& files) const
{
    return addAllSorted(list, files, [this](const std::string& path) {
        return HasListedExtension(path) ? std::optional<uint32_t>(0) : std::nullopt;
    });
}

uint32_t PlayListStore::AddListedEntriesSorted(PlayList* list, const std::vector<PlayListEntry>& entries) const
{
    std::vector<std::string> paths;
    std::vector<std::string> folders;
    for (const PlayListEntry& entry : entries) {
        paths.push_back(entry.path);
        if (entry.directory)
            folders.push_back(entry.path);
    }
    std::sort(folders.begin(), folders.end());
    return addAllSorted(list, paths, [&](const std::string& path) {
        if (std::binary_search(folders.begin(), folders.end(), path))
            return std::optional<uint32_t>(1);
        return HasListedExtension(path) ? std::optional<uint32_t>(0) : std::nullopt;
    });
}

bool PlayListStore::AddFolderFilesSorted(PlayList* list, const std::string& folder) const
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        return false;
    std::vector<std::string> files;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        std::error_code statusError;
        if (it->is_directory(statusError))
            continue;
        files.push_back(it->path().string());
    }
    AddFilesSorted(list, files);
    return true;
}
