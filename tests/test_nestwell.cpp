#include "components/nestwell/nestwell_file.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

using namespace std::string_literals;

const std::string kKey = "Halvex\\VideoPlayer";

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string profileIn(const std::string& base)
{
    return base + "/Halvex/VideoPlayer/profile.ini";
}

// Sets or clears an environment variable for one scope.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentVariable()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Files may grow to `bytes` at most while it lives; writes beyond fail instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

std::string get(NestwellStore& store, const std::string& section, const std::string& key)
{
    return store.getProfileString(section, key).value_or("<missing>");
}

TEST(Nestwell, EntriesSurviveIntoAFreshStore)
{
    TempDir base;
    {
        NestwellFile first(base.path());
        ASSERT_TRUE(first.setUserProfileInfo("alice", kKey));
        EXPECT_EQ(first.filePath(), profileIn(base.path()));
        EXPECT_TRUE(first.setProfileString("Panel", "Position", "0,0"));
        EXPECT_TRUE(first.setProfileString("Panel", "Position", "12,-40"));
        EXPECT_TRUE(first.setProfileString("Video Frame", "Position", "-3,7"));
        EXPECT_TRUE(first.setProfileString("Odd", "Text", "  a = b; [c] # d\t"));
        EXPECT_TRUE(first.setProfileString("Odd", "Empty", ""));
        EXPECT_TRUE(first.setProfileString("Odd", "Path", "C:\\Discs\\Été"));
    }
    NestwellFile second(base.path());
    ASSERT_TRUE(second.setUserProfileInfo("alice", kKey));
    EXPECT_EQ(get(second, "Panel", "Position"), "12,-40");
    EXPECT_EQ(get(second, "Video Frame", "Position"), "-3,7");
    EXPECT_EQ(get(second, "Odd", "Text"), "  a = b; [c] # d\t");
    EXPECT_EQ(get(second, "Odd", "Empty"), "");
    EXPECT_EQ(get(second, "Odd", "Path"), "C:\\Discs\\Été");

    const std::string file = readFile(second.filePath());
    EXPECT_NE(file.find("Position=12,-40\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("0,0"), std::string::npos) << "a replaced value stays in the file:\n" << file;
}

TEST(Nestwell, SectionsAndKeysMatchWithoutRegardToCase)
{
    TempDir base;
    NestwellFile store(base.path());
    ASSERT_TRUE(store.setUserProfileInfo(nullptr, kKey));
    ASSERT_TRUE(store.setProfileString("Panel", "Position", "1,2"));
    ASSERT_TRUE(store.setProfileString("Ärger", "Größe", "x"));

    EXPECT_EQ(get(store, "PANEL", "position"), "1,2");
    EXPECT_EQ(get(store, "panel", "POSITION"), "1,2");
    EXPECT_EQ(get(store, "ärger", "GRÖßE"), "x");

    ASSERT_TRUE(store.setProfileString("pAnEl", "POSITION", "3,4"));
    EXPECT_EQ(get(store, "Panel", "Position"), "3,4");
    // One entry, spelled as it was first stored.
    const std::string file = readFile(store.filePath());
    EXPECT_NE(file.find("[Panel]\nPosition=3,4\n"), std::string::npos) << file;
    EXPECT_EQ(file.find("POSITION"), std::string::npos) << file;
    EXPECT_EQ(file.find("pAnEl"), std::string::npos) << file;
}

TEST(Nestwell, MissingEntriesAndUnchosenProfileAreRefused)
{
    TempDir base;
    NestwellFile store(base.path());
    EXPECT_FALSE(store.getProfileString("Panel", "Position"));
    EXPECT_FALSE(store.setProfileString("Panel", "Position", "1,2"));
    EXPECT_TRUE(store.filePath().empty());
    EXPECT_TRUE(namesIn(base.path()).empty()) << "nothing is written before a profile is chosen";

    ASSERT_TRUE(store.setUserProfileInfo("bob", kKey));
    ASSERT_TRUE(store.setProfileString("Panel", "Position", "1,2"));
    EXPECT_FALSE(store.getProfileString("Panel", "Size"));
    EXPECT_FALSE(store.getProfileString("Video", "Position"));
}

TEST(Nestwell, TextIsCutToItsLongestWithoutSplittingACharacter)
{
    struct Case {
        std::string value;
        size_t room;  // bytes left for it after a run of "a"s
        std::string expected;
    };
    // "é" takes 2 bytes, "€" 3, "𝄞" 4.
    const std::vector<Case> cases = {
        {"abcé", 255, "abcé"}, {"abcé", 5, "abcé"}, {"abcé", 4, "abc"}, {"abcé", 3, "abc"},
        {"abcé", 2, "ab"},     {"abcé", 0, ""},     {"€𝄞", 7, "€𝄞"},    {"€𝄞", 6, "€"},
        {"€𝄞", 4, "€"},        {"€𝄞", 3, "€"},      {"€𝄞", 2, ""},      {"𝄞x", 4, "𝄞"},
    };
    TempDir base;
    NestwellFile store(base.path());
    ASSERT_TRUE(store.setUserProfileInfo(nullptr, kKey));
    for (const Case& c : cases) {
        const std::string run(kLongestProfileText - c.room, 'a');
        ASSERT_TRUE(store.setProfileString("Cut", "Text", run + c.value));
        EXPECT_EQ(get(store, "Cut", "Text"), run + c.expected) << c.value << " with room for " << c.room;
    }
}

TEST(Nestwell, ConfigHomeFollowsXdgThenHome)
{
    TempDir config;
    TempDir home;
    const std::string fallback = home.path() + "/.config";
    struct Case {
        const char* xdgConfigHome;
        std::string expectedBase;
    };
    const std::vector<Case> cases = {
        {config.path().c_str(), config.path()},
        {nullptr, fallback},
        {"", fallback},
        {"relative/config", fallback},
    };
    EnvironmentVariable homeVariable("HOME", home.path().c_str());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdgConfigHome ? c.xdgConfigHome : "(unset)");
        EnvironmentVariable xdg("XDG_CONFIG_HOME", c.xdgConfigHome);
        EXPECT_EQ(NestwellConfigHome(), c.expectedBase);

        NestwellFile store;
        ASSERT_TRUE(store.setUserProfileInfo("carol", kKey));
        ASSERT_TRUE(store.setProfileString("Panel", "Position", "5,5"));
        EXPECT_EQ(store.filePath(), profileIn(c.expectedBase));
        EXPECT_TRUE(std::filesystem::is_regular_file(profileIn(c.expectedBase)));
    }
    // Folders the store made are the owner's alone.
    for (const std::string& folder : {fallback, fallback + "/Halvex", fallback + "/Halvex/VideoPlayer"}) {
        struct stat info {};
        ASSERT_EQ(stat(folder.c_str(), &info), 0) << folder;
        EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
    }
}

TEST(Nestwell, RecordsTheUserAndTheApplicationKey)
{
    TempDir base;
    {
        NestwellFile store(base.path());
        ASSERT_TRUE(store.setUserProfileInfo("dora", kKey));
        const std::string file = readFile(store.filePath());
        EXPECT_NE(file.find("[Profile]\n"), std::string::npos) << file;
        EXPECT_NE(file.find("User=dora\n"), std::string::npos) << file;
        EXPECT_NE(file.find("Application Key=Halvex\\VideoPlayer\n"), std::string::npos) << file;
        ASSERT_TRUE(store.setProfileString("Panel", "Position", "1,2"));
    }
    // No name (none could be fetched, or it was empty), or one the file cannot hold: no user is on record.
    for (const char* user : {static_cast<const char*>(nullptr), "", "two\nlines"}) {
        NestwellFile store(base.path());
        ASSERT_TRUE(store.setUserProfileInfo(user, kKey));
        const std::string file = readFile(store.filePath());
        EXPECT_EQ(file.find("User="), std::string::npos) << file;
        EXPECT_NE(file.find("Application Key=Halvex\\VideoPlayer\n"), std::string::npos) << file;
        EXPECT_EQ(get(store, "Panel", "Position"), "1,2");
    }
}

TEST(Nestwell, ApplicationKeysThatCouldLeaveTheConfigFolderAreRefused)
{
    const std::vector<std::string> hostile = {
        "",
        "\\",
        "/",
        "\\Halvex\\VideoPlayer",
        "/etc/Halvex",
        "..",
        ".",
        "Halvex\\..\\..\\escaped",
        "Halvex/../../escaped",
        "Halvex\\.\\VideoPlayer",
        "Halvex\\\\VideoPlayer",
        "Halvex\\VideoPlayer\\",
        "Halvex\nVideoPlayer",
        "Halvex\0.."s,
    };
    TempDir base;
    for (const std::string& key : hostile) {
        NestwellFile store(base.path() + "/config");
        EXPECT_FALSE(store.setUserProfileInfo("eve", key)) << key;
        EXPECT_FALSE(store.setProfileString("Panel", "Position", "1,2")) << key;
        EXPECT_TRUE(store.filePath().empty()) << key;
    }
    EXPECT_TRUE(namesIn(base.path()).empty()) << "a refused key writes nothing anywhere";

    // A refused key leaves the profile already chosen in use.
    NestwellFile store(base.path());
    ASSERT_TRUE(store.setUserProfileInfo("eve", kKey));
    EXPECT_FALSE(store.setUserProfileInfo("eve", "..\\x"));
    EXPECT_EQ(store.filePath(), profileIn(base.path()));
    EXPECT_TRUE(store.setProfileString("Panel", "Position", "1,2"));

    // Forward slashes separate like backslashes.
    NestwellFile slashes(base.path());
    ASSERT_TRUE(slashes.setUserProfileInfo("eve", "Halvex/VideoPlayer"));
    EXPECT_EQ(get(slashes, "Panel", "Position"), "1,2");
}

TEST(Nestwell, NamesAndValuesThatWouldCorruptTheFileAreRefused)
{
    struct Case {
        std::string section;
        std::string key;
        std::string value;
    };
    const std::vector<Case> refused = {
        {"Panel", "", "1"},
        {"Panel", "a=b", "1"},
        {"Panel", "a\nb", "1"},
        {"Panel", "a\rb", "1"},
        {"Panel", "a\tb", "1"},
        {"Panel", " Position", "1"},
        {"Panel", "Position ", "1"},
        {"Panel", "[Position]", "1"},
        {"Panel", ";Position", "1"},
        {"Panel", "#Position", "1"},
        {"Panel", "\xff", "1"},
        {"", "Position", "1"},
        {"Pa\nnel", "Position", "1"},
        {"Panel]\n[Other", "Position", "1"},
        {"Panel", "Position", "1\n[Other]"},
        {"Panel", "Position", "1\r"},
        {"Panel", "Position", "1\0" "2"s},
        {"Panel", "Position", "\xc3"},
        {"Panel", "Position", "\xc0\xaf"},
        {"Panel", "Position", "\xed\xa0\x80"},
    };
    TempDir base;
    NestwellFile store(base.path());
    ASSERT_TRUE(store.setUserProfileInfo(nullptr, kKey));
    ASSERT_TRUE(store.setProfileString("Panel", "Position", "1,2"));
    const std::string before = readFile(store.filePath());
    for (const Case& c : refused) {
        EXPECT_FALSE(store.setProfileString(c.section, c.key, c.value))
            << "[" << c.section << "] " << c.key << "=" << c.value;
    }
    EXPECT_EQ(readFile(store.filePath()), before);
    EXPECT_EQ(get(store, "Panel", "Position"), "1,2");
}

TEST(Nestwell, WritesReplaceTheFileWhole)
{
    TempDir base;
    NestwellFile store(base.path());
    ASSERT_TRUE(store.setUserProfileInfo("frank", kKey));
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(store.setProfileString("Panel", "Position", std::to_string(i) + ",1"));
    EXPECT_EQ(namesIn(base.path() + "/Halvex/VideoPlayer"), std::vector<std::string>{"profile.ini"});

    // A write that fails half-way (the disc fills up) leaves the old file as it was.
    const std::string before = readFile(store.filePath());
    {
        FileSizeLimit limit(before.size() / 2);
        EXPECT_FALSE(store.setProfileString("Panel", "Position", std::string(4096, '9')));
    }
    EXPECT_EQ(readFile(store.filePath()), before);
    EXPECT_EQ(namesIn(base.path() + "/Halvex/VideoPlayer"), std::vector<std::string>{"profile.ini"});
    EXPECT_EQ(get(store, "Panel", "Position"), "19,1") << "a failed write changes nothing";
}

TEST(Nestwell, AFolderThatCannotBeWrittenRefusesWrites)
{
    // Tests may run as root, whom permissions do not stop: a file where the folder should be does.
    TempDir base;
    const std::string blocker = base.write("Halvex/VideoPlayer", "old contents");
    NestwellFile store(base.path());
    EXPECT_TRUE(store.setUserProfileInfo("gina", kKey)) << "reading still works";
    EXPECT_FALSE(store.setProfileString("Panel", "Position", "1,2"));
    EXPECT_EQ(get(store, "Panel", "Position"), "<missing>");
    EXPECT_EQ(readFile(blocker), "old contents");
    EXPECT_EQ(namesIn(base.path() + "/Halvex"), std::vector<std::string>{"VideoPlayer"});
}

TEST(Nestwell, AnUnreadableFileReadsAsEmptyAndIsReplacedOnWrite)
{
    const std::vector<std::string> corrupt = {
        "[Panel]\nPosition=7,7\n\0\x01\x02\xff"s,
        "\xff\xfe[\0P\0"s,
        "[Panel]\nPosition=7,7\n\xc3(\n",
        "Position=7,7\n[Panel]\n",
        "[Panel]\nPosition=7,7\nno equals sign\n",
        "[Panel\nPosition=7,7\n",
        "[Panel]\n=7,7\n",
        std::string(2 << 20, 'x'),
    };
    for (const std::string& bytes : corrupt) {
        SCOPED_TRACE(bytes.substr(0, 40));
        TempDir base;
        base.write("Halvex/VideoPlayer/profile.ini", bytes);
        NestwellFile store(base.path());
        ASSERT_TRUE(store.setUserProfileInfo(nullptr, kKey));
        EXPECT_EQ(get(store, "Panel", "Position"), "<missing>");
        ASSERT_TRUE(store.setProfileString("Panel", "Position", "8,8"));

        NestwellFile fresh(base.path());
        ASSERT_TRUE(fresh.setUserProfileInfo(nullptr, kKey));
        EXPECT_EQ(get(fresh, "Panel", "Position"), "8,8");
        EXPECT_EQ(readFile(fresh.filePath()).find("7,7"), std::string::npos);
    }
}

TEST(Nestwell, HandEditedFilesAreRead)
{
    TempDir base;
    base.write("Halvex/VideoPlayer/profile.ini",
               "\xEF\xBB\xBF; positions\r\n"
               "[ Panel ]\r\n"
               "  Position = 3,4\r\n"
               "\r\n"
               "# the frame\n"
               "[Video]\n"
               "Position=5,6\n"
               "[panel]\n"
               "Size=big\n");
    NestwellFile store(base.path());
    ASSERT_TRUE(store.setUserProfileInfo(nullptr, kKey));
    EXPECT_EQ(get(store, "Panel", "Position"), " 3,4") << "values are kept as they stand after the '='";
    EXPECT_EQ(get(store, "Panel", "Size"), "big");
    EXPECT_EQ(get(store, "Video", "Position"), "5,6");
}

}  // namespace
