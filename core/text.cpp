#include "core/text.h"

#include <algorithm>

namespace {
bool isAscii(std::string_view s)
{
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

bool isValidUtf8(std::string_view s)
{
    for (size_t at = 0; at < s.size();) {
        const size_t length = Utf8SequenceLength(s, at);
        if (length == 1 && static_cast<unsigned char>(s[at]) >= 0x80)
            return false;
        at += length;
    }
    return true;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsAsciiNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}
}  // namespace

size_t Utf8SequenceLength(std::string_view s, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // overlong
        else if (lead == 0xED)
            high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;  // overlong
        else if (lead == 0xF4)
            high = 0x8F;  // beyond U+10FFFF
    } else {
        return 1;
    }
    if (s.size() - at < length || byte(at + 1) < low || byte(at + 1) > high)
        return 1;
    for (size_t i = 2; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 1;
    }
    return length;
}

std::string CutToCharacters(std::string_view text, size_t maxCharacters)
{
    size_t at = 0;
    for (size_t characters = 0; characters < maxCharacters && at < text.size(); ++characters)
        at += Utf8SequenceLength(text, at);
    return std::string(text.substr(0, at));
}

NameMatcher::NameMatcher(std::string_view wanted)
    : wanted_(wanted), ascii_(isAscii(wanted)), valid_(ascii_ || isValidUtf8(wanted))
{
    if (valid_)
        decoded_ = QString::fromUtf8(wanted.data(), static_cast<qsizetype>(wanted.size()));
}

bool NameMatcher::operator()(std::string_view candidate) const
{
    // Qt's comparison costs an allocation per candidate; plain ASCII pairs skip it.
    if (equalsAsciiNoCase(candidate, wanted_))
        return true;
    const bool candidateAscii = isAscii(candidate);
    if (ascii_ && candidateAscii)
        return false;
    // Both sides would decode stray bytes to U+FFFD and then look alike; such names match
    // only byte for byte (above).
    if (!valid_ || (!candidateAscii && !isValidUtf8(candidate)))
        return false;
    const QString other = QString::fromUtf8(candidate.data(), static_cast<qsizetype>(candidate.size()));
    return QString::compare(decoded_, other, Qt::CaseInsensitive) == 0;
}

std::string_view TrimmedBlanks(std::string_view text)
{
    const size_t begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return NameMatcher(a)(b);
}

QString SortKey(std::string_view name)
{
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())).toCaseFolded();
}

int CompareIgnoringCase(std::string_view a, std::string_view b)
{
    if (isAscii(a) && isAscii(b)) {
        // Folding ASCII is lowering it, and UTF-16 order is byte order there.
        const size_t common = std::min(a.size(), b.size());
        for (size_t i = 0; i < common; ++i) {
            const char x = asciiLower(a[i]);
            const char y = asciiLower(b[i]);
            if (x != y)
                return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
        }
        return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
    }
    return SortKey(a).compare(SortKey(b));
}
