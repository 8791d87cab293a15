#pragma once

#include <QString>

#include <string>
#include <string_view>

// Texts are UTF-8. Limits count characters (code points); a cut never splits one, and a
// byte that starts no well-formed sequence counts as a character of its own.

// Length of the well-formed UTF-8 sequence at `at`, or 1 for a byte that starts none.
size_t Utf8SequenceLength(std::string_view text, size_t at);
std::string CutToCharacters(std::string_view text, size_t maxCharacters);

// Compares one wanted name with many candidates, Unicode-aware and without regard to case.
class NameMatcher {
public:
    explicit NameMatcher(std::string_view wanted);
    bool operator()(std::string_view candidate) const;

private:
    std::string_view wanted_;
    bool ascii_;
    bool valid_;
    QString decoded_;
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The text without the blanks and tabs around it.
std::string_view TrimmedBlanks(std::string_view text);

// The key that orders names without regard to case (Unicode case folding); comparing two keys
// orders their names as CompareIgnoringCase does.
QString SortKey(std::string_view name);
// Below, equal to or above zero as a orders before, with or after b.
int CompareIgnoringCase(std::string_view a, std::string_view b);
