// The folders of the player stand in floors: a file includes only its own folder and folders
// on lower floors, the folders' includes form no cycle, and the components know nothing of the
// player but the bottom floor.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// Each product folder and its floor; tests, benchmarks, tools and resources stand apart.
const std::map<std::string, int> kFloors = {
    {"core", 0},
    {"components/discbay", 1}, {"components/hublet", 1}, {"components/maskcut", 1},
    {"components/nestwell", 1}, {"components/reelkit", 1}, {"components/sonokit", 1}, {"desktop", 1},
    {"panel/keys", 1}, {"led", 1},
    {"components", 2},
    {"panel/skin", 3}, {"disc", 3},
    {"audio", 4}, {"video", 4},
    {"playback", 5},
    {"disc/dialog", 6}, {"panel", 6}, {"mpris", 6},
    {"app", 7},
};
const std::set<std::string> kApart = {"tests", "bench", "tools", "resources"};

// Whether a file of the tree is one of the product's: not apart, not hidden, not built.
bool isProductFile(const fs::path& relative)
{
    const std::string top = relative.begin()->string();
    const std::string extension = relative.extension().string();
    return relative.has_parent_path() && !kApart.count(top) && !top.starts_with(".") && !top.starts_with("build") &&
           (extension == ".h" || extension == ".cpp");
}

struct Include {
    std::string file;    // relative to the source root
    std::string text;    // as written between the quotes
    std::string folder;  // the folder of the file it names
};

std::string folderOf(const fs::path& relative)
{
    return relative.parent_path().generic_string();
}

// The product's source files under root, each as its path and its path relative to root.
std::vector<std::pair<fs::path, fs::path>> productFiles(const fs::path& root)
{
    std::vector<std::pair<fs::path, fs::path>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const fs::path relative = fs::relative(entry.path(), root);
        if (entry.is_regular_file() && isProductFile(relative))
            files.emplace_back(entry.path(), relative);
    }
    return files;
}

// Every #include "..." of the product's sources that names a file of the tree.
std::vector<Include> readIncludes(const fs::path& root)
{
    static const std::regex kInclude(R"(^\s*#\s*include\s+"([^"]+)\")");
    std::vector<Include> found;
    for (const auto& [path, relative] : productFiles(root)) {
        std::ifstream in(path);
        std::string line;
        std::smatch match;
        while (std::getline(in, line)) {
            if (!std::regex_search(line, match, kInclude))
                continue;
            const std::string text = match[1];
            fs::path target = root / text;
            if (!fs::exists(target))
                target = path.parent_path() / text;
            if (fs::exists(target))
                found.push_back({relative.generic_string(), text, folderOf(fs::relative(target, root))});
        }
    }
    return found;
}

// What is wrong with the includes, one line each, naming the file and the include.
std::vector<std::string> faults(const std::vector<Include>& includes)
{
    std::vector<std::string> out;
    std::map<std::string, std::map<std::string, std::string>> edges;  // folder -> folder -> first include
    for (const Include& include : includes) {
        const std::string from = folderOf(include.file);
        if (from == include.folder)
            continue;
        const std::string where = include.file + ": #include \"" + include.text + "\"";
        const auto a = kFloors.find(from);
        const auto b = kFloors.find(include.folder);
        if (a == kFloors.end() || b == kFloors.end()) {
            out.push_back(where + " involves a folder without a floor");
            continue;
        }
        if (b->second > a->second)
            out.push_back(where + " runs upward");
        if (from.starts_with("components/") && b->second != 0 && !include.folder.starts_with("components/"))
            out.push_back(where + ": a component reaches into the player");
        edges[from].emplace(include.folder, where);
    }
    // An include closes a cycle when its folder leads back to the includer's.
    for (const auto& [from, targets] : edges) {
        for (const auto& [to, where] : targets) {
            std::set<std::string> seen;
            std::vector<std::string> open{to};
            bool back = false;
            while (!open.empty() && !back) {
                const std::string next = open.back();
                open.pop_back();
                back = next == from;
                if (seen.insert(next).second && edges.count(next))
                    for (const auto& [further, unused] : edges.at(next))
                        open.push_back(further);
            }
            if (back)
                out.push_back(where + " closes a cycle between folders");
        }
    }
    return out;
}

TEST(Floors, TheProductsIncludesRunDownwardWithoutCycles)
{
    const std::vector<Include> includes = readIncludes(QUINTARA_SOURCE_DIR);
    ASSERT_GT(includes.size(), 100u);
    for (const std::string& fault : faults(includes))
        ADD_FAILURE() << fault;
}

TEST(Floors, EveryProductFolderHasAFloor)
{
    for (const auto& [path, relative] : productFiles(QUINTARA_SOURCE_DIR))
        EXPECT_TRUE(kFloors.count(folderOf(relative))) << relative.generic_string() << " stands in no floor";
}

// The check itself, on small trees made for it.
TEST(Floors, TheCheckNamesTheIncludeThatBreaksTheFloors)
{
    struct Case {
        std::vector<std::pair<std::string, std::string>> files;  // path, include
        std::string expected;  // a part of the one fault, empty for none
    };
    const std::vector<Case> cases = {
        {{{"led/a.h", "core/b.h"}, {"core/b.h", ""}}, ""},
        {{{"core/b.h", "led/a.h"}, {"led/a.h", ""}}, "core/b.h: #include \"led/a.h\" runs upward"},
        {{{"components/sonokit/s.h", "audio/c.h"}, {"audio/c.h", ""}}, "a component reaches into the player"},
        {{{"audio/a.h", "video/v.h"}, {"video/v.h", "audio/a.h"}}, "closes a cycle"},
        {{{"extra/x.h", "core/b.h"}, {"core/b.h", ""}}, "without a floor"},
    };
    for (const Case& c : cases) {
        TempDir tree;
        for (const auto& [path, include] : c.files)
            tree.write(path, include.empty() ? "" : "#include \"" + include + "\"\n");
        const std::vector<std::string> found = faults(readIncludes(tree.path()));
        if (c.expected.empty()) {
            EXPECT_TRUE(found.empty()) << found.front();
            continue;
        }
        EXPECT_TRUE(std::ranges::any_of(found, [&](const std::string& f) { return f.find(c.expected) != f.npos; }))
            << c.expected << (found.empty() ? " not found" : ", found " + found.front());
    }
}

// Mutable state that lives outside every owner: a function's static or a variable at namespace
// scope that is not const. Each finding names its file, line and variable.
struct Global {
    std::string file;
    int line = 0;
    std::string name;
};

std::vector<Global> mutableGlobals(const fs::path& root)
{
    // A static in a function, not const: `static std::mutex lock;`.
    static const std::regex kLocal(R"(^\s+static\s+(?!const\b|constexpr\b|inline\s+const)[^()]*?\b(\w+)\s*(\[[^\]]*\])?\s*(=|\{|;))");
    // A variable at namespace scope (this code does not indent namespaces), not const.
    static const std::regex kTop(
        R"(^(?!(const|constexpr|static\s+const|static\s+constexpr|inline\s+constexpr|using|typedef|struct|class|enum|namespace|template|extern|return)\b)[A-Za-z_][\w:<>,\s\*&]*?\s[\*&]?(\w+)\s*(\[[^\]]*\])?\s*(=[^=]|\{|;))");
    std::vector<Global> found;
    for (const auto& [path, relative] : productFiles(root)) {
        std::ifstream in(path);
        std::string text;
        std::smatch match;
        for (int line = 1; std::getline(in, text); ++line) {
            const std::string declared = text.substr(0, text.find('='));
            if (std::regex_search(text, match, kLocal))
                found.push_back({relative.generic_string(), line, match[1]});
            else if (declared.find('(') == std::string::npos && std::regex_search(text, match, kTop))
                found.push_back({relative.generic_string(), line, match[2]});
        }
    }
    return found;
}

TEST(Floors, NoRecordLivesOutsideAnOwner)
{
    // What an outside library or the operating system makes process-wide, and so must be ours
    // once per process too.
    const std::set<std::pair<std::string, std::string>> kProcessWide = {
        {"app/shutdown_signals.cpp", "wakeFds"},                // a signal handler reaches nothing else
        {"components/discbay/vcd_disc.cpp", "g_libcdioLog"},    // libcdio's log handler is the process's
        {"components/discbay/vcd_disc.cpp", "once"},            // so is its table of drivers
        {"components/discbay/vcd_disc.cpp", "lock"},            // and its cue parser's strtok()
    };
    for (const Global& global : mutableGlobals(QUINTARA_SOURCE_DIR))
        EXPECT_TRUE(kProcessWide.count({global.file, global.name}))
            << global.file << ':' << global.line << ": " << global.name << " lives outside every owner";

    // The check finds both kinds.
    TempDir tree;
    tree.write("core/a.cpp", "namespace {\nint counter = 0;\n}\nvoid f()\n{\n    static std::string last;\n}\n"
                             "constexpr int kLimit = 3;\nconst std::string kName = \"x\";\nint g(int a);\n");
    const std::vector<Global> made = mutableGlobals(tree.path());
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].name, "counter");
    EXPECT_EQ(made[1].name, "last");
}

}  // namespace
