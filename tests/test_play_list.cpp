#include "disc/play_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> paths(const PlayList& list)
{
    std::vector<std::string> out;
    for (const PlayListEntry& entry : list.entries)
        out.push_back(entry.path);
    return out;
}

class PlayListTest : public testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    void SetUp() override
    {
        records.settings.cfgPath = dir_.file("Quintara.CFG");
    }

    void createWith(const std::string& config)
    {
        dir_.write("Quintara.CFG", config);
        ASSERT_TRUE(records.playList.PlayList_Create());
    }

    std::string file(const std::string& name) { return dir_.write(name, "x"); }
    std::string folder(const std::string& name)
    {
        fs::create_directories(dir_.file(name));
        return dir_.file(name);
    }

    TempDir dir_;
};

TEST_F(PlayListTest, WithoutTheStoreEveryOperationRefuses)
{
    std::string path = "unchanged";
    uint32_t index = 7;
    EXPECT_EQ(records.playList.PlayList_Count(), 0u);
    EXPECT_FALSE(records.playList.PlayList_GetPath(0, path));
    EXPECT_FALSE(records.playList.PlayList_RemoveAt(0));
    EXPECT_FALSE(records.playList.PlayList_FindBackward("/a.mpg", 0, index));
    EXPECT_FALSE(records.playList.ScanDisc(*records.components.discbay, records.drives, 2, 0));
    EXPECT_EQ(path, "unchanged");
    EXPECT_EQ(index, 7u);
}

TEST_F(PlayListTest, ExtensionListComesFromTheConfigurationOrTheDefault)
{
    struct Case {
        const char* config;
        const char* accepted;
        const char* refused;
    };
    const Case cases[] = {
        {"", "a.dat", "a.txt"},
        {"[PlayList Settings]\nPlay File Extentsion List=\n", "a.AVI", "a.mp4"},
        {"[playlist settings]\nplay file extentsion list=mp4,MKV\n", "a.mkv", "a.dat"},
        // A blank after a comma belongs to the next token, which then names nothing.
        {"[PlayList Settings]\nPlay File Extentsion List=DAT, MPG\n", "a.dat", "a.MPG"},
        {"[PlayList Settings]\nPlay File Extentsion List=,,mpg,,\n", "a.mpg", "a.dat"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.config);
        createWith(c.config);
        PlayList list;
        EXPECT_TRUE(records.playList.AddFileSorted(&list, file(c.accepted)));
        EXPECT_FALSE(records.playList.AddFileSorted(&list, file(c.refused)));
    }
}

TEST_F(PlayListTest, AddFileSortedRefusesWhatIsNotAPlayableFile)
{
    createWith("");
    fs::create_directories(dir_.file("DIR.V"));
    const std::vector<std::string> refused = {
        "",
        dir_.file("missing.mpg"),
        file("CLIP"),
        file("DIR.V/CLIP"),   // the only dot lies in a folder's name
        file("clip.mpg.txt"),
        file("clip.mpg."),
    };
    PlayList list;
    for (const std::string& path : refused)
        EXPECT_FALSE(records.playList.AddFileSorted(&list, path)) << path;
    EXPECT_FALSE(records.playList.AddFileSorted(nullptr, file("a.mpg")));
    EXPECT_TRUE(list.entries.empty());
}

TEST_F(PlayListTest, AddFileSortedPutsFoldersFirstThenFilesEachWithoutRegardToCase)
{
    createWith("");
    PlayList list;
    const std::vector<std::string> added = {
        file("b.mpg"), folder("Zeta"), file("A.MPG"), folder("alpha"), file("c.dat"), file("B.mpg"),
        file("\xC3\xA9t\xC3\xA9.avi"),  // été
        file("\xC3\x89T\xC3\x89" "2.avi"),  // ÉTÉ2
    };
    for (const std::string& path : added)
        ASSERT_TRUE(records.playList.AddFileSorted(&list, path)) << path;
    const std::string d = dir_.path() + "/";
    EXPECT_EQ(paths(list), (std::vector<std::string>{d + "alpha", d + "Zeta", d + "A.MPG", d + "b.mpg", d + "B.mpg",
                                                     d + "c.dat", d + "\xC3\xA9t\xC3\xA9.avi",
                                                     d + "\xC3\x89T\xC3\x89" "2.avi"}));
    EXPECT_EQ(list.entries[0].directory, 1u);
    EXPECT_EQ(list.entries[2].directory, 0u);
}

TEST_F(PlayListTest, SortingAtOnceGivesTheOrderOfAddingOneByOne)
{
    createWith("");
    std::vector<std::string> names;
    for (int i = 0; i < 60; ++i) {
        const std::string stem = std::string(1, static_cast<char>((i % 2 ? 'a' : 'A') + i % 7)) + std::to_string(i % 5);
        names.push_back(i % 9 == 0 ? folder("dir" + stem) : file(stem + (i % 3 ? ".mpg" : ".DAT")));
    }
    std::mt19937 random(42);
    for (int round = 0; round < 5; ++round) {
        std::shuffle(names.begin(), names.end(), random);
        PlayList oneByOne;
        for (const std::string& name : names)
            records.playList.AddFileSorted(&oneByOne, name);
        PlayList atOnce;
        EXPECT_EQ(records.playList.AddFilesSorted(&atOnce, names), oneByOne.entries.size());
        EXPECT_EQ(paths(atOnce), paths(oneByOne));
    }
}

TEST_F(PlayListTest, StoreOperations)
{
    createWith("");
    PlayList source;
    source.entries = {{"/m/A.mpg", 0}, {"/m/dir", 1}, {"/m/b.mpg", 0}, {"/m/a.MPG", 0}};
    ASSERT_TRUE(CopyList(&*records.playList.list(), &source));
    EXPECT_EQ(records.playList.PlayList_Count(), 4u);
    EXPECT_EQ(records.playList.list()->entries[1].directory, 1u);
    EXPECT_FALSE(CopyList(nullptr, &source));
    EXPECT_FALSE(CopyList(&source, nullptr));

    uint32_t index = 99;
    EXPECT_TRUE(records.playList.PlayList_FindBackward("/M/a.mpg", 2, index));
    EXPECT_EQ(index, 0u);
    EXPECT_TRUE(records.playList.PlayList_FindBackward("/m/a.mpg", 100, index));  // starts at the last entry
    EXPECT_EQ(index, 3u);
    EXPECT_FALSE(records.playList.PlayList_FindBackward("/m/b.mpg", 1, index));
    EXPECT_FALSE(records.playList.PlayList_FindBackward("", 3, index));

    std::string path;
    EXPECT_TRUE(records.playList.PlayList_RemoveAt(0));
    EXPECT_FALSE(records.playList.PlayList_RemoveAt(3));
    ASSERT_TRUE(records.playList.PlayList_GetPath(2, path));
    EXPECT_EQ(path, "/m/a.MPG");
    EXPECT_FALSE(records.playList.PlayList_GetPath(3, path));

    records.playList.PlayList_Destroy();
    EXPECT_EQ(records.playList.PlayList_Count(), 0u);
}

}  // namespace
