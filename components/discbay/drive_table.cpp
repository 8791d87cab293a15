#include "components/discbay/drive_table.h"

#include <QDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/ini_file.h"
#include "core/text.h"

namespace fs = std::filesystem;

namespace {
struct TypeName {
    std::string_view name;
    DriveType type;
};
constexpr TypeName kTypeNames[] = {
    {"CD-ROM", DriveType::CdRom},   {"Removable", DriveType::Removable}, {"Fixed", DriveType::Fixed},
    {"Remote", DriveType::Remote},  {"RAM Disk", DriveType::RamDisk},
};

std::string withoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string lastName(const std::string& folder)
{
    return fs::path(folder).filename().string();
}

// "folder" or "folder, type"; a folder may hold commas, so only a known type after the last
// one splits it.
std::optional<DriveSlot> parseBinding(std::string_view value)
{
    DriveSlot slot{.root = std::string(TrimmedBlanks(value)), .type = DriveType::CdRom, .bound = true};
    if (const size_t comma = value.rfind(','); comma != std::string_view::npos) {
        const std::string_view typeName = TrimmedBlanks(value.substr(comma + 1));
        for (const TypeName& known : kTypeNames) {
            if (EqualsIgnoringCase(typeName, known.name)) {
                slot.root = std::string(TrimmedBlanks(value.substr(0, comma)));
                slot.type = known.type;
            }
        }
    }
    // A relative folder would mean something else in every working folder.
    if (slot.root.empty() || slot.root.front() != '/')
        return std::nullopt;
    slot.root = withoutTrailingSlash(std::move(slot.root));
    slot.image = slot.type == DriveType::CdRom && IsDiscImageName(slot.root);
    slot.label = slot.image ? fs::path(slot.root).stem().string() : lastName(slot.root);
    return slot;
}

bool startsWithFolder(std::string_view path, std::string_view root)
{
    if (root == "/")
        return !path.empty() && path.front() == '/';
    return path.substr(0, root.size()) == root && (path.size() == root.size() || path[root.size()] == '/');
}

bool isNonEmptyFolder(const std::string& folder)
{
    std::error_code error;
    return fs::is_directory(folder, error) && !fs::is_empty(folder, error) && !error;
}

std::string readWhole(const char* path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string unescapeMountField(std::string_view field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        const auto isOctal = [](char c) { return c >= '0' && c <= '7'; };
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) && isOctal(field[i + 2]) &&
            isOctal(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}
}  // namespace

std::vector<MountPoint> ParseMountInfo(std::string_view text)
{
    std::vector<MountPoint> mounts;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::istringstream line{std::string(text.substr(0, end))};
        text.remove_prefix(std::min(end + 1, text.size()));
        // id parent major:minor root mount-point options [optional fields...] - fstype source ...
        std::vector<std::string> fields;
        for (std::string field; line >> field;)
            fields.push_back(field);
        const auto separator = std::find(fields.begin(), fields.end(), "-");
        if (fields.size() < 5 || separator == fields.end() || separator + 1 == fields.end())
            continue;
        const std::string source = separator + 2 < fields.end() ? unescapeMountField(*(separator + 2)) : std::string();
        mounts.push_back({unescapeMountField(fields[4]), *(separator + 1), source});
    }
    return mounts;
}

bool IsVolumeFolder(std::string_view folder, std::string_view user)
{
    const std::string runMedia = "/run/media/" + std::string(user);
    for (const std::string_view parent : {std::string_view("/media"), std::string_view(runMedia), std::string_view("/mnt")}) {
        if (folder.size() > parent.size() + 1 && startsWithFolder(folder, parent))
            return true;
    }
    return false;
}

DriveType TypeOfFileSystem(std::string_view fileSystem)
{
    static constexpr TypeName kFileSystems[] = {
        {"iso9660", DriveType::CdRom}, {"udf", DriveType::CdRom},      {"nfs", DriveType::Remote},
        {"nfs4", DriveType::Remote},   {"cifs", DriveType::Remote},    {"smb3", DriveType::Remote},
        {"fuse.sshfs", DriveType::Remote}, {"9p", DriveType::Remote},  {"tmpfs", DriveType::RamDisk},
        {"ramfs", DriveType::RamDisk},
    };
    for (const TypeName& known : kFileSystems) {
        if (fileSystem == known.name)
            return known.type;
    }
    return DriveType::Removable;
}

DriveTable DriveTable::build(const std::string& home, const std::string& user,
                             const std::vector<std::string>& cdRomDevices, const std::vector<MountPoint>& mounts,
                             const IniFile& configuration, const std::vector<std::string>& images)
{
    DriveTable table;
    table.slots_[kHomeDrive] = {.root = withoutTrailingSlash(home), .type = DriveType::Fixed, .label = lastName(home)};
    table.slots_[kRootDrive] = {.root = "/", .type = DriveType::Fixed};

    std::vector<DriveSlot> found;
    std::vector<std::string> taken;
    for (const std::string& device : cdRomDevices) {
        DriveSlot slot{.type = DriveType::CdRom, .device = device};
        const auto mount = std::find_if(mounts.begin(), mounts.end(), [&](const MountPoint& m) { return m.source == device; });
        if (mount != mounts.end()) {
            slot.root = mount->folder;
            slot.label = lastName(mount->folder);
            taken.push_back(mount->folder);
        }
        found.push_back(std::move(slot));
    }
    for (const std::string& image : images)
        found.push_back({.root = image, .type = DriveType::CdRom, .label = fs::path(image).stem().string(), .image = true});
    std::vector<MountPoint> volumes;
    for (const MountPoint& mount : mounts) {
        if (std::find(taken.begin(), taken.end(), mount.folder) == taken.end() && IsVolumeFolder(mount.folder, user))
            volumes.push_back(mount);
    }
    std::sort(volumes.begin(), volumes.end(), [](const MountPoint& a, const MountPoint& b) { return a.folder < b.folder; });
    for (const MountPoint& volume : volumes)
        found.push_back({.root = volume.folder, .type = TypeOfFileSystem(volume.fileSystem), .label = lastName(volume.folder)});

    // Bound letters first, so that the found drives fill the letters left over.
    for (uint32_t drive = 0; drive < kDriveCount; ++drive) {
        const std::string key = std::string(1, static_cast<char>('A' + drive)) + ":";
        if (const std::optional<std::string> value = configuration.value("Drives", key)) {
            if (std::optional<DriveSlot> slot = parseBinding(*value))
                table.slots_[drive] = std::move(*slot);
        }
    }
    uint32_t next = kFirstFreeDrive;
    for (DriveSlot& slot : found) {
        while (next < kRootDrive && table.slots_[next].type != DriveType::Unknown)
            ++next;
        if (next >= kRootDrive)
            break;
        table.slots_[next++] = std::move(slot);
    }
    return table;
}

DriveTable DriveTable::current(const DriveSources& sources)
{
    const QByteArray user = qgetenv("USER");
    return build(QDir::homePath().toStdString(), user.toStdString(),
                 sources.cdRomDevices,
                 ParseMountInfo(readWhole("/proc/self/mountinfo")),
                 sources.configuration ? *sources.configuration : IniFile::parse(""), sources.images);
}

std::optional<uint32_t> DriveTable::driveOf(std::string_view path) const
{
    std::optional<uint32_t> best;
    for (uint32_t drive = 0; drive < kDriveCount; ++drive) {
        const std::string& root = slots_[drive].root;
        if (!root.empty() && startsWithFolder(path, root) && (!best || root.size() > slots_[*best].root.size()))
            best = drive;
    }
    return best;
}

std::optional<std::string> DriveTable::presentRoot(uint32_t drive, const DoorQuery& doorOpen) const
{
    const DriveSlot& slot = this->slot(drive);
    if (slot.root.empty())
        return std::nullopt;
    std::error_code error;
    if (slot.image ? !fs::is_regular_file(slot.root, error)
                   : slot.bound ? !isNonEmptyFolder(slot.root) : !fs::is_directory(slot.root, error))
        return std::nullopt;
    // The door of a bound drive or an image is a flag the drive component keeps.
    if ((slot.image || (slot.bound && slot.type == DriveType::CdRom)) && doorOpen && doorOpen(drive))
        return std::nullopt;
    return slot.root;
}

bool DriveTable::isCdRomDrive(uint32_t drive) const
{
    const DriveSlot& slot = this->slot(drive);
    return slot.type == DriveType::CdRom && (!slot.device.empty() || slot.bound || slot.image);
}

bool IsInFolder(std::string_view path, std::string_view folder)
{
    return !folder.empty() && startsWithFolder(path, folder);
}

bool IsDiscImageName(std::string_view path)
{
    constexpr std::string_view kCue = ".cue";
    return path.size() > kCue.size() && EqualsIgnoringCase(path.substr(path.size() - kCue.size()), kCue);
}

std::string FindChildFolder(const std::string& folder, std::string_view name)
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        return {};
    const NameMatcher matches(name);
    std::string found;
    for (const fs::directory_iterator end; it != end; it.increment(error)) {
        if (error)
            break;
        const std::string child = it->path().filename().string();
        std::error_code statusError;
        // An exact match wins over one that differs in case only.
        if (matches(child) && it->is_directory(statusError) && (found.empty() || child == name))
            found = it->path().string();
    }
    return found;
}

std::string FindDiscStreamFolder(const std::string& root)
{
    for (const std::string_view name : kDiscStreamFolders)
        if (std::string folder = FindChildFolder(root, name); !folder.empty())
            return folder;
    return {};
}
