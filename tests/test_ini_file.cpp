#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/temp_dir.h"

using namespace std::string_literals;

namespace {

struct LookupCase {
    const char* what;
    std::string bytes;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

void PrintTo(const LookupCase& c, std::ostream* out)
{
    *out << c.what;
}

class IniLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, FindsTheValueByThePlatformRules)
{
    const LookupCase& c = GetParam();
    EXPECT_EQ(IniFile::parse(c.bytes).value(c.section, c.key), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IniLookup,
    testing::Values(
        LookupCase{"plain", "[Initiation]\nRC Path=Skins\n", "Initiation", "RC Path", "Skins"},
        LookupCase{"names ignore case", "[iNiTiAtIoN]\nrc path=Skins\n", "Initiation", "RC PATH", "Skins"},
        LookupCase{"non-ASCII names ignore case", "[Ärger]\nГромкость=5\n", "äRGER", "гРОМКОСТЬ", "5"},
        LookupCase{"non-ASCII names still differ", "[Ärger]\nk=5\n", "Örger", "k", std::nullopt},
        LookupCase{"first key wins", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        LookupCase{"first section wins", "[S]\nk=1\n[T]\nk=3\n[s]\nk=2\n", "S", "k", "1"},
        LookupCase{"a later copy of the section is not consulted", "[S]\na=1\n[s]\nk=2\n", "S", "k", std::nullopt},
        LookupCase{"keys belong to their own section", "[S]\nk=1\n[T]\nj=2\n", "S", "j", std::nullopt},
        LookupCase{"blanks dropped", " \t[ \tS\t ] \n \t k \t= \t v w \t\n", "S", "k", "v w"},
        LookupCase{"enclosing double quotes dropped", "[S]\nk= \" a b \" \n", "S", "k", " a b "},
        LookupCase{"inner quotes kept", "[S]\nk=a \"b\" c\n", "S", "k", "a \"b\" c"},
        LookupCase{"lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
        LookupCase{"single quotes kept", "[S]\nk='v'\n", "S", "k", "'v'"},
        LookupCase{"only the first = splits", "[S]\nk=a=b\n", "S", "k", "a=b"},
        LookupCase{"empty value", "[S]\nk=\n", "S", "k", ""},
        LookupCase{"byte-order mark skipped", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},
        LookupCase{"CR LF", "[S]\r\nk=v\r\nj=w\r\n", "S", "j", "w"},
        LookupCase{"CR LF leaves no CR in the value", "[S]\r\nk=v\r\n", "S", "k", "v"},
        LookupCase{"lone CR", "[S]\rk=v\rj=w\r", "S", "j", "w"},
        LookupCase{"mixed line ends and blank lines", "[S]\n\r\n\r\rk=v\n\nj=w", "S", "j", "w"},
        LookupCase{"no final newline", "[S]\nk=v", "S", "k", "v"},
        LookupCase{"lines before the first section ignored", "k=0\n[S]\nj=1\n", "S", "k", std::nullopt},
        LookupCase{"lines without = ignored", "[S]\nk\nk=v\n", "S", "k", "v"},
        LookupCase{"semicolon comment", "[S]\n;k=1\nk=2\n", "S", "k", "2"},
        LookupCase{"hash comment", "[S]\n  #k=1\nk=2\n", "S", "k", "2"},
        LookupCase{"text after ] ignored", "[S] trailing\nk=v\n", "S", "k", "v"},
        LookupCase{"unclosed header opens no section", "[S]\n[T\nk=v\n", "S", "k", "v"},
        LookupCase{"backslash in a section name", "[Panel\\Buttons]\nk=v\n", "panel\\buttons", "k", "v"},
        LookupCase{"NUL bytes are ordinary bytes", "\0\0[junk\0\n[S]\nk=a\0b\n"s, "S", "k", "a\0b"s},
        LookupCase{"missing section", "[S]\nk=v\n", "T", "k", std::nullopt},
        LookupCase{"empty file", "", "S", "k", std::nullopt}),
    [](const testing::TestParamInfo<LookupCase>& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return name;
    });

TEST(IniFile, IntegerRule)
{
    struct Case {
        std::string value;  // "<missing>" leaves the key out
        uint32_t expected;
    };
    const Case cases[] = {
        {"<missing>", 77},
        {"", 77},  // the platform's reader cannot tell empty from missing
        {"\"\"", 77},
        {"12", 12},
        {"12abc", 12},
        {"abc", 0},
        {" 7", 7},
        {"\"42\"", 42},
        {"+5", 5},
        {"0x10", 0},
        {"-", 0},
        {"- 3", 0},
        {"-0", 0},
        {"-1", 4294967295u},
        {"-12 ms", 4294967284u},
        {"2147483647", 2147483647u},
        {"2147483648", 2147483647u},
        {"4294967295", 2147483647u},
        {"99999999999999999999999999999999", 2147483647u},
        {"-2147483648", 2147483648u},
        {"-2147483649", 2147483648u},
        {"-99999999999999999999999999999999", 2147483648u},
        {"000000000000000000000000000000012", 12},
    };
    for (const Case& c : cases) {
        const std::string bytes = c.value == "<missing>" ? "[S]\n" : "[S]\nk=" + c.value + "\n";
        EXPECT_EQ(IniFile::parse(bytes).intValue("s", "K", 77), c.expected) << "value: " << c.value;
    }
}

TEST(IniFile, TextIsCutByCharacters)
{
    const std::string e = "\xC3\xA9";          // é, 2 bytes
    const std::string euro = "\xE2\x82\xAC";   // €, 3 bytes
    const std::string smile = "\xF0\x9F\x98\x80";  // 4 bytes
    const auto repeat = [](const std::string& s, size_t n) {
        std::string out;
        for (size_t i = 0; i < n; ++i)
            out += s;
        return out;
    };
    struct Case {
        std::string value;
        size_t bufferSize;
        std::string expected;
    };
    const Case cases[] = {
        {repeat("a", 300), 256, repeat("a", 255)},
        {repeat("a", 255), 256, repeat("a", 255)},
        {repeat("a", 254) + e, 256, repeat("a", 254) + e},
        {repeat("a", 255) + e, 256, repeat("a", 255)},
        {repeat(e, 300), 256, repeat(e, 255)},
        {repeat(euro, 300), 256, repeat(euro, 255)},
        {repeat(smile, 300), 256, repeat(smile, 255)},
        {repeat(e, 100), 128, repeat(e, 100)},
        {"a" + euro + smile + "b", 4, "a" + euro + smile},
        // Stray bytes count one each: a bare continuation, a cut sequence, an overlong form,
        // a surrogate.
        {"\x80\xFF" "a", 3, "\x80\xFF"},
        {"\xE2\x82" "ab", 3, "\xE2\x82"},
        {"\xC0\xAF" "a", 2, "\xC0"},
        {"\xED\xA0\x80" "a", 3, "\xED\xA0"},
        {"abc", 1, ""},
        {"abc", 0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IniFile::parse("[S]\nk=" + c.value + "\n").text("S", "k", c.bufferSize), c.expected)
            << "value of " << c.value.size() << " bytes, buffer " << c.bufferSize;
    }
    EXPECT_EQ(IniFile::parse("[S]\n").text("S", "k", 256), "");
}

TEST(IniFile, LongLinesAndLargeFiles)
{
    const std::string longValue(1 << 20, 'x');
    const IniFile longLine = IniFile::parse("[S]\nk=" + longValue + "\nj=after\n");
    EXPECT_EQ(longLine.value("S", "k"), longValue);
    EXPECT_EQ(longLine.text("S", "k", 256), std::string(255, 'x'));
    EXPECT_EQ(longLine.value("S", "j"), "after");

    // Ten megabytes of sections and keys; a parser that is not linear would not finish.
    std::string big;
    big.reserve(10'500'000);
    size_t sections = 0;
    while (big.size() < 10'000'000) {
        big += "[Section " + std::to_string(sections++) + "]\n";
        for (int k = 0; k < 20; ++k)
            big += "Key " + std::to_string(k) + " = value " + std::to_string(k) + "\n";
    }
    big += "[Last]\nKey=found\n";
    const auto start = std::chrono::steady_clock::now();
    const IniFile file = IniFile::parse(big);
    EXPECT_EQ(file.value("last", "key"), "found");
    EXPECT_EQ(file.value("Section " + std::to_string(sections - 1), "KEY 19"), "value 19");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST(IniFile, BinaryJunkYieldsNothingUseful)
{
    std::mt19937 random(20240611);
    std::string junk(1 << 20, '\0');
    for (char& c : junk)
        c = static_cast<char>(random());
    const IniFile junkOnly = IniFile::parse(junk);
    EXPECT_EQ(junkOnly.value("Initiation", "RC Path"), std::nullopt);
    EXPECT_EQ(junkOnly.intValue("Initiation", "Use ActiveMovie", 1), 1u);

    // Junk does not hide a well-formed section after it.
    const IniFile junkThenSection = IniFile::parse(junk + "\n[Initiation]\nRC Path=Skins\n");
    EXPECT_EQ(junkThenSection.value("Initiation", "RC Path"), "Skins");
}

TEST(IniFile, LoadReadsAFileAndToleratesEverythingElse)
{
    TempDir dir;
    const std::string path = dir.write("Quintara.CFG", "\xEF\xBB\xBF[Initiation]\r\nRC Path = Skins\r\n");
    EXPECT_EQ(IniFile::load(path).value("initiation", "rc path"), "Skins");

    std::filesystem::create_directories(dir.file("folder.CFG"));
    const std::string unreadable[] = {dir.file("missing.CFG"), dir.file("folder.CFG"), ""};
    for (const std::string& p : unreadable)
        EXPECT_EQ(IniFile::load(p).value("Initiation", "RC Path"), std::nullopt) << p;
}

TEST(IniFile, LoadRefusesFilesBeyond64MiB)
{
    TempDir dir;
    // Sparse files: a readable head, then zeros up to the size under test.
    const auto sized = [&](const std::string& name, uintmax_t size) {
        const std::string path = dir.write(name, "[S]\nk=v\n");
        std::filesystem::resize_file(path, size);
        return path;
    };
    EXPECT_EQ(IniFile::load(sized("limit.CFG", IniFile::kMaxFileSize)).value("S", "k"), "v");
    EXPECT_EQ(IniFile::load(sized("over.CFG", IniFile::kMaxFileSize + 1)).value("S", "k"), std::nullopt);
}

TEST(IniFile, LoadToleratesAFileWithoutReadPermission)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempDir dir;
    const std::string path = dir.write("Quintara.CFG", "[S]\nk=v\n");
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    EXPECT_EQ(IniFile::load(path).value("S", "k"), std::nullopt);
}

}  // namespace
