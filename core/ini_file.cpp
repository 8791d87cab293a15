#include "core/ini_file.h"

#include "core/text.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// strtol's rule on a 32-bit long: optional sign, digits, saturation; no digits gives 0.
int32_t leadingNumber(std::string_view s)
{
    size_t at = 0;
    bool negative = false;
    if (at < s.size() && (s[at] == '-' || s[at] == '+')) {
        negative = s[at] == '-';
        ++at;
    }
    constexpr int64_t limit = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (; at < s.size() && s[at] >= '0' && s[at] <= '9'; ++at) {
        magnitude = magnitude * 10 + (s[at] - '0');
        if (magnitude > limit)
            magnitude = limit;  // keeps the product in range for any number of digits
    }
    if (negative)
        return static_cast<int32_t>(-magnitude);  // -2^31 at the limit
    return magnitude >= limit ? INT32_MAX : static_cast<int32_t>(magnitude);
}

std::string readAll(const std::string& path)
{
    // O_NONBLOCK: a FIFO put in the file's place must not hang the start.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return {};
    std::string bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_size) <= IniFile::kMaxFileSize) {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t filled = 0;
        bool failed = false;
        // Read past the reported size too: the file may grow meanwhile.
        for (;;) {
            if (filled == bytes.size()) {
                if (bytes.size() > IniFile::kMaxFileSize) {
                    failed = true;
                    break;
                }
                bytes.resize(std::min(IniFile::kMaxFileSize + 1, bytes.size() + 4096));
            }
            const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                failed = true;
                break;
            }
            if (got == 0)
                break;
            filled += static_cast<size_t>(got);
        }
        if (failed)
            bytes.clear();
        else
            bytes.resize(filled);
    }
    ::close(fd);
    return bytes;
}

}  // namespace

IniFile IniFile::load(const std::string& path)
{
    return fromBytes(readAll(path));
}

IniFile IniFile::parse(std::string_view bytes)
{
    return fromBytes(std::string(bytes));
}

IniFile IniFile::fromBytes(std::string bytes)
{
    IniFile file;
    file.bytes_ = std::move(bytes);
    const std::string_view all = file.bytes_;
    size_t at = all.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    while (at < all.size()) {
        size_t end = at;
        while (end < all.size() && all[end] != '\n' && all[end] != '\r')
            ++end;
        file.addLine(at, end);
        at = end;
        if (at < all.size())
            at += all.substr(at, 2) == "\r\n" ? 2 : 1;
    }
    return file;
}

void IniFile::addLine(size_t begin, size_t end)
{
    const std::string_view all = bytes_;
    const auto trimmed = [&](size_t from, size_t to) {
        while (from < to && isBlank(all[from]))
            ++from;
        while (to > from && isBlank(all[to - 1]))
            --to;
        return Span{from, to - from};
    };

    const Span line = trimmed(begin, end);
    if (line.size == 0)
        return;
    const char first = all[line.offset];
    const size_t lineEnd = line.offset + line.size;
    if (first == '[') {
        const size_t close = all.substr(0, lineEnd).find(']', line.offset + 1);
        if (close == std::string_view::npos)
            return;
        sections_.push_back(Section{trimmed(line.offset + 1, close), entries_.size(), 0});
        return;
    }
    if (sections_.empty() || first == ';' || first == '#')
        return;
    const size_t equals = all.substr(0, lineEnd).find('=', line.offset);
    if (equals == std::string_view::npos)
        return;
    Span value = trimmed(equals + 1, lineEnd);
    if (value.size >= 2 && all[value.offset] == '"' && all[value.offset + value.size - 1] == '"')
        value = Span{value.offset + 1, value.size - 2};
    entries_.push_back(Entry{trimmed(line.offset, equals), value});
    ++sections_.back().entryCount;
}

const IniFile::Entry* IniFile::find(std::string_view section, std::string_view key) const
{
    const NameMatcher sectionMatches(section);
    for (const Section& candidate : sections_) {
        if (!sectionMatches(view(candidate.name)))
            continue;
        // Only the first section of that name counts, as with the platform's reader.
        const NameMatcher keyMatches(key);
        for (size_t i = 0; i < candidate.entryCount; ++i) {
            const Entry& entry = entries_[candidate.firstEntry + i];
            if (keyMatches(view(entry.key)))
                return &entry;
        }
        return nullptr;
    }
    return nullptr;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    const Entry* entry = find(section, key);
    if (!entry)
        return std::nullopt;
    return std::string(view(entry->value));
}

uint32_t IniFile::intValue(std::string_view section, std::string_view key, uint32_t fallback) const
{
    const Entry* entry = find(section, key);
    // The platform's reader cannot tell an empty value from a missing one.
    if (!entry || entry->value.size == 0)
        return fallback;
    return static_cast<uint32_t>(leadingNumber(view(entry->value)));
}

std::string IniFile::text(std::string_view section, std::string_view key, size_t bufferSize) const
{
    const Entry* entry = find(section, key);
    if (!entry || bufferSize == 0)
        return {};
    return CutToCharacters(view(entry->value), bufferSize - 1);
}
