#include "components/nestwell/nestwell_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <utility>

#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>

namespace {

constexpr std::string_view kFileName = "profile.ini";
constexpr std::string_view kProfileSection = "Profile";
constexpr std::string_view kUserKey = "User";
constexpr std::string_view kApplicationKeyKey = "Application Key";
// Far beyond what a few window positions need; anything larger is not ours.
constexpr qint64 kMaximumFileSize = 1 << 20;

using Table = NestwellFile::Table;
using Section = NestwellFile::Section;
using Entry = NestwellFile::Entry;

bool isUtf8(std::string_view text)
{
    // Stateless, so that a sequence cut short at the end counts as an error too.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    return !decoder.hasError();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A name must survive a write and a read unchanged: one line, nothing the reader trims.
bool isAcceptableName(std::string_view name)
{
    if (name.empty() || isBlank(name.front()) || isBlank(name.back()))
        return false;
    const bool control = std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
    return !control && isUtf8(name);
}

bool isAcceptableKey(std::string_view key)
{
    return isAcceptableName(key) && key.find('=') == std::string_view::npos && key.front() != '[' &&
           key.front() != ';' && key.front() != '#';
}

bool isAcceptableValue(std::string_view value)
{
    return value.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos && isUtf8(value);
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a == b)
        return true;
    const QString left = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    const QString right = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    return left.compare(right, Qt::CaseInsensitive) == 0;
}

Section* findSection(Table& table, std::string_view name)
{
    const auto found =
        std::find_if(table.begin(), table.end(), [&](const Section& section) { return sameName(section.name, name); });
    return found == table.end() ? nullptr : &*found;
}

Entry* findEntry(Section& section, std::string_view key)
{
    const auto found = std::find_if(section.entries.begin(), section.entries.end(),
                                    [&](const Entry& entry) { return sameName(entry.key, key); });
    return found == section.entries.end() ? nullptr : &*found;
}

// Answers whether the table changed.
bool put(Table& table, std::string_view sectionName, std::string_view key, std::string_view value)
{
    Section* section = findSection(table, sectionName);
    if (!section)
        section = &table.emplace_back(Section{std::string(sectionName), {}});
    if (Entry* entry = findEntry(*section, key)) {
        if (entry->value == value)
            return false;
        entry->value = value;
        return true;
    }
    section->entries.push_back(Entry{std::string(key), std::string(value)});
    return true;
}

bool remove(Table& table, std::string_view sectionName, std::string_view key)
{
    Section* section = findSection(table, sectionName);
    if (!section)
        return false;
    const auto erased = std::erase_if(section->entries, [&](const Entry& entry) { return sameName(entry.key, key); });
    return erased > 0;
}

// Anything that is not wholly a file this store could have written reads as no entries at all:
// a half-understood profile would be rewritten as something else on the next change.
Table parse(std::string_view bytes)
{
    if (bytes.find('\0') != std::string_view::npos || !isUtf8(bytes))
        return {};
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(bom))
        bytes.remove_prefix(bom.size());

    Table table;
    Section* current = nullptr;
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);

        const std::string_view trimmed = trimBlanks(line);
        if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
            continue;
        if (trimmed.front() == '[' && trimmed.back() == ']' && trimmed.size() >= 2) {
            const std::string_view name = trimBlanks(trimmed.substr(1, trimmed.size() - 2));
            if (!isAcceptableName(name))
                return {};
            current = findSection(table, name);
            if (!current)
                current = &table.emplace_back(Section{std::string(name), {}});
            continue;
        }
        const size_t equals = line.find('=');
        if (!current || equals == std::string_view::npos)
            return {};
        const std::string_view key = trimBlanks(line.substr(0, equals));
        if (!isAcceptableKey(key))
            return {};
        put(table, current->name, key, line.substr(equals + 1));
    }
    return table;
}

std::string serialize(const Table& table)
{
    std::string out;
    for (const Section& section : table) {
        if (!out.empty())
            out += '\n';
        out += '[';
        out += section.name;
        out += "]\n";
        for (const Entry& entry : section.entries) {
            out += entry.key;
            out += '=';
            out += entry.value;
            out += '\n';
        }
    }
    return out;
}

Table load(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaximumFileSize)
        return {};
    const QByteArray bytes = file.read(kMaximumFileSize + 1);
    if (bytes.size() > kMaximumFileSize)
        return {};
    return parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

// Folders made here hold per-user state: owner only.
bool makeFolders(const std::string& folder)
{
    size_t position = 0;
    while (position != std::string::npos) {
        position = folder.find('/', position + 1);
        const std::string prefix = folder.substr(0, position);
        struct stat info {};
        if (::stat(prefix.c_str(), &info) == 0) {
            if (!S_ISDIR(info.st_mode))
                return false;
            continue;
        }
        if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool save(const std::string& path, const Table& table)
{
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(path.substr(0, slash)))
        return false;
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const std::string bytes = serialize(table);
    // commit() renames even when its own final flush failed (QTBUG-75077): a full disc would
    // put a cut file in place of the old one. Flushing first surfaces the failure.
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// "Halvex\VideoPlayer" → "Halvex/VideoPlayer"; empty when the key could name a place outside
// the base folder or cannot be a folder name at all.
std::string keyFolder(const std::string& applicationKey)
{
    std::string folder;
    size_t start = 0;
    for (;;) {
        const size_t end = applicationKey.find_first_of("\\/", start);
        const std::string_view part =
            std::string_view(applicationKey).substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == ".." || !isAcceptableName(part))
            return {};
        if (!folder.empty())
            folder += '/';
        folder += part;
        if (end == std::string::npos)
            return folder;
        start = end + 1;
    }
}

std::string withoutTrailingSlashes(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool isAbsolute(const char* path)
{
    return path && path[0] == '/';
}

}  // namespace

std::string NestwellConfigHome()
{
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (isAbsolute(configHome))
        return withoutTrailingSlashes(configHome);

    std::string home;
    if (const char* variable = std::getenv("HOME"); isAbsolute(variable)) {
        home = variable;
    } else {
        long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
        std::string buffer(size > 0 ? static_cast<size_t>(size) : 16384, '\0');
        struct passwd account {};
        struct passwd* result = nullptr;
        if (::getpwuid_r(::getuid(), &account, buffer.data(), buffer.size(), &result) == 0 && result &&
            isAbsolute(result->pw_dir))
            home = result->pw_dir;
    }
    if (home.empty())
        return {};
    home = withoutTrailingSlashes(std::move(home));
    return (home == "/" ? "" : home) + "/.config";
}

NestwellFile::NestwellFile() = default;

NestwellFile::NestwellFile(std::string baseFolder) : baseFolder_(std::move(baseFolder)) {}

bool NestwellFile::setUserProfileInfo(const char* user, const std::string& applicationKey)
{
    const std::string folder = keyFolder(applicationKey);
    if (folder.empty())
        return false;
    std::string base = baseFolder_.empty() ? NestwellConfigHome() : withoutTrailingSlashes(baseFolder_);
    if (base.empty())
        return false;
    if (base == "/")
        base.clear();
    const std::string path = base + "/" + folder + "/" + std::string(kFileName);

    Table table = load(path);
    // A name the file cannot hold is recorded as no name, like a name that could not be fetched.
    const std::string_view userName = user ? std::string_view(user) : std::string_view();
    bool changed = !userName.empty() && isAcceptableValue(userName)
                       ? put(table, kProfileSection, kUserKey, userName)
                       : remove(table, kProfileSection, kUserKey);
    changed = put(table, kProfileSection, kApplicationKeyKey, applicationKey) || changed;
    // Reading must work even where the profile cannot be written (a read-only home): the
    // record is then simply missing from the file.
    if (changed)
        save(path, table);

    filePath_ = path;
    table_ = std::move(table);
    return true;
}

std::optional<std::string> NestwellFile::getProfileString(const std::string& section, const std::string& key)
{
    if (filePath_.empty())
        return {};
    Section* found = findSection(table_, section);
    const Entry* entry = found ? findEntry(*found, key) : nullptr;
    if (!entry)
        return {};

    size_t length = std::min(entry->value.size(), kLongestProfileText);
    if (length < entry->value.size()) {
        // Back off to the start of the character the cut would split.
        while (length > 0 && (static_cast<unsigned char>(entry->value[length]) & 0xC0) == 0x80)
            --length;
    }
    return entry->value.substr(0, length);
}

bool NestwellFile::setProfileString(const std::string& section, const std::string& key, const std::string& text)
{
    if (filePath_.empty() || !isAcceptableName(section) || !isAcceptableKey(key) || !isAcceptableValue(text))
        return false;
    Table changed = table_;
    put(changed, section, key, text);
    if (!save(filePath_, changed))
        return false;
    table_ = std::move(changed);
    return true;
}
