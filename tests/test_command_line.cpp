#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "app/command_line.h"
#include "app/session_platform.h"
#include "core/message.h"
#include "core/window.h"
#include "tests/support/manual_timers.h"
#include "tests/support/temp_dir.h"

namespace {
class PostBox : public Window {
public:
    void post(const Message& message) override { posted.push_back(message); }
    TimerHost& timers() override { return timers_; }
    std::vector<Message> posted;

private:
    ManualClock clock_;
    ManualTimers timers_{clock_};
};

const Message kPlay{msg::SecondStart, second_start::Play, 0};
Message drive(intptr_t index)
{
    return {msg::SecondStart, second_start::LoadDrive, index};
}

struct LineCase {
    const char* line;
    std::vector<Message> expected;
};

TEST(CommandLine, PostsTheDriveBeforePlayAndIgnoresOtherWords)
{
    const std::vector<LineCase> cases = {
        {"/Play", {kPlay}},
        {"/play", {kPlay}},
        {"/PLAY", {kPlay}},
        {"/Plays", {}},
        {"Play", {}},
        {"e:", {drive(4)}},
        {"E:", {drive(4)}},
        {"a:", {drive(0)}},
        {"Z:", {drive(25)}},
        {"5:", {}},
        {"E:\\", {}},
        {"E:x", {}},
        {"E", {}},
        {"E: F:", {drive(5)}},
        {"/Play    E:", {drive(4), kPlay}},
        {"E:   /Play", {drive(4), kPlay}},
        {"   /Play   ", {kPlay}},
        {"/Play\tE:", {}},  // a tab is no separator: one word of neither kind
        {"Close now", {}},
        {" Close", {}},
        {"Destroy E:", {drive(4)}},
        {"\xc3\xa9: /Play", {kPlay}},  // a non-ASCII letter names no drive
    };
    // Files named beside the words go over after the drive's disc and before Play, which
    // would otherwise find the list empty.
    const Message files{msg::Command, 0, 0};
    for (const LineCase& c : cases) {
        PostBox box;
        EXPECT_TRUE(HandleCommandLine(box, c.line)) << c.line;
        EXPECT_EQ(box.posted, c.expected) << "line: \"" << c.line << "\"";

        PostBox withFiles;
        EXPECT_TRUE(HandleCommandLine(withFiles, c.line, [&withFiles, files] { withFiles.post(files); })) << c.line;
        std::vector<Message> expected = c.expected;
        expected.insert(std::find(expected.begin(), expected.end(), kPlay), files);
        EXPECT_EQ(withFiles.posted, expected) << "line with files: \"" << c.line << "\"";
    }
}

TEST(CommandLine, EmptyLinePostsNothingAndAnswersZero)
{
    PostBox box;
    EXPECT_FALSE(HandleCommandLine(box, ""));
    EXPECT_TRUE(box.posted.empty());
    bool filesWent = false;
    EXPECT_FALSE(HandleCommandLine(box, "", [&filesWent] { filesWent = true; }));
    EXPECT_TRUE(filesWent) << "files named alone still go over";
}

TEST(CommandLine, OnlyTheFirst255CharactersCount)
{
    // "/Play" ends at character 255: seen. One more character before it pushes it past the cut.
    const std::string inside = std::string(249, 'x') + " /Play";
    const std::string outside = std::string(250, 'x') + " /Play";
    PostBox seen;
    PostBox cut;
    HandleCommandLine(seen, inside);
    HandleCommandLine(cut, outside);
    EXPECT_EQ(seen.posted, std::vector<Message>{kPlay});
    EXPECT_TRUE(cut.posted.empty());

    // The limit counts characters, not bytes: 249 two-byte characters leave room for "/Play".
    std::string wide;
    for (int i = 0; i < 249; ++i)
        wide += "\xc3\xa9";
    PostBox multibyte;
    HandleCommandLine(multibyte, wide + " /Play");
    EXPECT_EQ(multibyte.posted, std::vector<Message>{kPlay});
}

TEST(CommandLine, CloseIsTheWholeLineInAnyCase)
{
    const std::vector<std::pair<const char*, bool>> cases = {
        {"Close", true},   {"close", true},   {"CLOSE", true},   {"Destroy", true}, {"destroy", true},
        {"Close E:", false}, {" Close", false}, {"Close ", false}, {"Closed", false}, {"", false},
    };
    for (const auto& [line, expected] : cases)
        EXPECT_EQ(IsCloseCommand(line), expected) << "\"" << line << "\"";
}

TEST(CommandLine, ArgumentsAreJoinedBySingleSpaces)
{
    const char* argv[] = {"quintara", "/Play", "", "E:"};
    EXPECT_EQ(JoinCommandLine(4, argv), "/Play  E:");
    EXPECT_EQ(JoinCommandLine(1, argv), "");
    const char* quoted[] = {"quintara", "Close E:"};
    EXPECT_FALSE(IsCloseCommand(JoinCommandLine(2, quoted)));
}

TEST(CommandLine, ExistingFilesAndFoldersArePlayedAndLeaveTheLine)
{
    TempDir dir;
    const std::string clip = dir.write("my E: clip.mpg", "x");
    dir.write("folder/a.dat", "x");
    dir.write("Close", "x");
    dir.write("E:", "x");
    const std::string cwd = std::filesystem::current_path().string();
    std::filesystem::current_path(dir.path());

    struct Case {
        std::vector<const char*> arguments;
        std::string line;
        std::vector<std::string> files;
        bool close = false;
    };
    const Case cases[] = {
        {{"quintara", "my E: clip.mpg", "./folder/", "missing.mpg", "/Play"},
         "missing.mpg /Play",
         {clip, dir.path() + "/folder/"}},
        // The line's own words win over files of the same name.
        {{"quintara", "Close"}, "Close", {}, true},
        {{"quintara", "destroy"}, "destroy", {}, true},
        {{"quintara", "E:", "/PLAY"}, "E: /PLAY", {}},
        {{"quintara", clip.c_str(), ""}, "", {clip}},
        // Close is the whole line as given, not what is left once the files are taken out.
        {{"quintara", clip.c_str(), "close"}, "close", {clip}},
        {{"quintara", "Destroy", clip.c_str()}, "Destroy", {clip}},
        {{"quintara", "close", "/Play"}, "close /Play", {}},
    };
    for (const Case& c : cases) {
        const CommandLineRequest request = ParseCommandLine(static_cast<int>(c.arguments.size()), c.arguments.data());
        EXPECT_EQ(request.line, c.line);
        EXPECT_EQ(request.files, c.files);
        EXPECT_EQ(request.close, c.close) << c.line;
    }
    std::filesystem::current_path(cwd);
}
// XWayland where a Wayland session has an X display too; natively where it has none; the
// user's own choice always.
TEST(SessionPlatform, XWaylandWhereThereIsAnXDisplayUnlessTheUserChose)
{
    struct Case {
        SessionEnvironment session;
        const char* platform;
    };
    const Case cases[] = {
        {{"", "wayland-0", "", ":0"}, "xcb"},
        {{"", "", "wayland", ":1"}, "xcb"},
        {{"", "wayland-0", "wayland", ""}, ""},       // only Wayland: natively
        {{"wayland", "wayland-0", "", ":0"}, ""},     // the user's choice wins
        {{"offscreen", "wayland-0", "", ":0"}, ""},
        {{"", "", "x11", ":0"}, ""},                  // an X session: Qt's own choice
        {{"", "", "", ""}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Session_PreferredPlatform(c.session), c.platform)
            << c.session.qpaPlatform << "|" << c.session.waylandDisplay << "|" << c.session.sessionType << "|"
            << c.session.display;
}

}  // namespace
