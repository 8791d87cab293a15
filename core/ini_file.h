#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A read-only initialisation file read by the rules of the Windows profile functions, so that
// files written on Windows work unchanged: "[Section]" headers, "key=value" lines,
// names matched without regard to case, the first matching section and key winning.
class IniFile {
public:
    static constexpr size_t kMaxFileSize = size_t{64} << 20;

    // Anything that cannot be read (missing, not a regular file, no permission, larger than
    // kMaxFileSize) reads as an empty file.
    static IniFile load(const std::string& path);
    static IniFile parse(std::string_view bytes);

    // The whole value: blanks around it and one enclosing pair of double quotes removed.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    // The decimal number the value starts with (0 when it starts with none), saturated to the
    // 32-bit signed range and stored unsigned, so -1 reads as 0xFFFFFFFF. A missing key or an
    // empty value gives fallback.
    uint32_t intValue(std::string_view section, std::string_view key, uint32_t fallback) const;

    // The value cut to at most bufferSize - 1 characters (UTF-8 code points, a stray byte
    // counting as one); a missing key gives an empty text.
    std::string text(std::string_view section, std::string_view key, size_t bufferSize) const;

private:
    struct Span {
        size_t offset = 0;
        size_t size = 0;
    };
    struct Entry {
        Span key;
        Span value;
    };
    struct Section {
        Span name;
        size_t firstEntry = 0;  // its entries lie together in entries_
        size_t entryCount = 0;
    };

    static IniFile fromBytes(std::string bytes);
    std::string_view view(Span span) const { return std::string_view(bytes_).substr(span.offset, span.size); }
    const Entry* find(std::string_view section, std::string_view key) const;
    void addLine(size_t begin, size_t end);

    std::string bytes_;
    std::vector<Section> sections_;
    std::vector<Entry> entries_;
};
