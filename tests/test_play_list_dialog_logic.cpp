#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "playback/playback.h"
#include "core/ini_file.h"
#include "core/text.h"
#include "disc/dialog/dialog_folder_combo.h"
#include "disc/dialog/dialog_lists.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vcd_image.h"

namespace {

std::vector<std::string> pathsOf(const FolderCombo& combo)
{
    std::vector<std::string> out;
    for (const FolderComboItem& item : combo.items)
        out.push_back(item.path);
    return out;
}

std::vector<uint32_t> marksOf(const FolderCombo& combo)
{
    std::vector<uint32_t> out;
    for (const FolderComboItem& item : combo.items)
        out.push_back(item.mark);
    return out;
}

std::vector<std::string> pathsOf(const PlayList& list)
{
    std::vector<std::string> out;
    for (const PlayListEntry& entry : list.entries)
        out.push_back(entry.path);
    return out;
}

// cdRoms are where each CD-ROM drive's disc is mounted.
DriveTable tableWith(const std::vector<std::string>& cdRoms, const std::string& drives = {})
{
    std::vector<MountPoint> mounts = {{"/media/me/STICK", "vfat", "/dev/sdb1"}, {"/mnt/share", "nfs", "srv:/share"}};
    std::vector<std::string> devices;
    for (const std::string& root : cdRoms) {
        devices.push_back("/dev/sr" + std::to_string(devices.size()));
        mounts.push_back({root, "iso9660", devices.back()});
    }
    return DriveTable::build("/home/me", "me", devices, mounts, IniFile::parse(drives));
}

// A probe from fixed answers: drives by letter that are gone, folders that may not be read.
class FixedProbe : public FolderProbe {
public:
    FixedProbe(std::vector<uint32_t> goneDrives, std::vector<std::string> denied)
        : goneDrives_(std::move(goneDrives)), denied_(std::move(denied))
    {
    }
    DriveType driveType(uint32_t drive, const std::string&) const override
    {
        return std::ranges::count(goneDrives_, drive) ? DriveType::Unknown : DriveType::Fixed;
    }
    FolderAccess access(const std::string& folder) const override
    {
        return std::ranges::count(denied_, folder) ? FolderAccess::Denied : FolderAccess::Missing;
    }

private:
    std::vector<uint32_t> goneDrives_;
    std::vector<std::string> denied_;
};

constexpr uint32_t kC = 'C' - 'A';
constexpr uint32_t kD = 'D' - 'A';
constexpr uint32_t kE = 'E' - 'A';
constexpr uint32_t kZ = 'Z' - 'A';

TEST(FolderComboFill, DrivesInLetterOrderTheFirstCdRomElseTheFirstFixedSelected)
{
    struct Case {
        std::vector<std::string> cdRoms;
        std::string drives;
        std::vector<std::string> roots;
        std::string selected;
    };
    const Case cases[] = {
        // C: home, D: the CD-ROM, then the stick and the share, Z: the root.
        {{"/media/me/VCD"}, "", {"/home/me", "/media/me/VCD", "/media/me/STICK", "/mnt/share", "/"}, "/media/me/VCD"},
        // Without a CD-ROM drive the home folder, the first fixed drive.
        {{}, "", {"/home/me", "/media/me/STICK", "/mnt/share", "/"}, "/home/me"},
        // A letter bound before C: that is fixed comes first and is chosen.
        {{}, "[Drives]\nA: = /srv/films, Fixed\n", {"/srv/films", "/home/me", "/media/me/STICK", "/mnt/share", "/"},
         "/srv/films"},
        // A bound CD-ROM drive wins even past the found ones.
        {{}, "[Drives]\nV: = /tmp/disc\n", {"/home/me", "/media/me/STICK", "/mnt/share", "/tmp/disc", "/"}, "/tmp/disc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drives + (c.cdRoms.empty() ? "" : c.cdRoms.front()));
        FolderCombo combo;
        FillDriveCombo(combo, tableWith(c.cdRoms, c.drives));
        EXPECT_EQ(pathsOf(combo), c.roots);
        ASSERT_TRUE(combo.selected);
        EXPECT_EQ(combo.items[*combo.selected].path, c.selected);
        for (const FolderComboItem& item : combo.items) {
            EXPECT_TRUE(item.isRoot);
            EXPECT_EQ(item.root, item.path);
        }
    }
}

TEST(FolderComboFill, LettersAndLabels)
{
    FolderCombo combo;
    const DriveTable drives = tableWith({"/media/me/VCD"});
    FillDriveCombo(combo, drives);
    std::vector<std::string> labels;
    for (const FolderComboItem& item : combo.items)
        labels.push_back(FolderComboLabel(item, drives.slot(item.drive)));
    // The stick is removable: only its letter. The root has no label.
    EXPECT_EQ(labels, (std::vector<std::string>{"me (C:)", "VCD (D:)", "(E:)", "share (F:)", "(Z:)"}));
    FolderComboItem folder{"/home/me/Videos/Holiday", kC, "/home/me", false, 1};
    EXPECT_EQ(FolderComboLabel(folder, drives.slot(kC)), "Holiday");
}

TEST(FolderComboDrawing, IconAndTextMoveAQuarterIconPerLevel)
{
    struct Case {
        int icon;
        uint32_t depth;
        int iconX;
        int textX;
    };
    for (const Case c : {Case{16, 2, 10, 28}, Case{16, 0, 2, 20}, Case{16, 1, 6, 24}, Case{20, 3, 17, 39}, Case{22, 1, 7, 31}}) {
        const ItemPlaces places = ItemPlacesAt(c.icon, c.depth);
        EXPECT_EQ(places.iconX, c.iconX) << c.icon << " at " << c.depth;
        EXPECT_EQ(places.textX, c.textX) << c.icon << " at " << c.depth;
    }
}

FolderCombo chain(const std::vector<FolderComboItem>& items, size_t selected)
{
    FolderCombo combo;
    combo.items = items;
    combo.selected = selected;
    return combo;
}

const FolderComboItem kHome{"/home/me", kC, "/home/me", true, 1};
const FolderComboItem kVideos{"/home/me/Videos", kC, "/home/me", false, 1};
const FolderComboItem kHoliday{"/home/me/Videos/Holiday", kC, "/home/me", false, 1};
const FolderComboItem kDisc{"/media/me/VCD", kD, "/media/me/VCD", true, 1};
const FolderComboItem kStick{"/media/me/STICK", kE, "/media/me/STICK", true, 1};
const FolderComboItem kRoot{"/", kZ, "/", true, 1};
const FolderComboItem kUsr{"/usr", kZ, "/", false, 1};
const FolderComboItem kShare{"/usr/share", kZ, "/", false, 1};

TEST(FolderComboCheck, VanishedDrivesAndDeniedFoldersGoTheSelectionFollowsItsItem)
{
    struct Case {
        const char* name;
        std::vector<FolderComboItem> items;
        std::optional<size_t> selected;
        std::vector<uint32_t> goneDrives;
        std::vector<std::string> denied;
        std::vector<std::string> left;
        std::optional<size_t> selectedAfter;
    };
    const Case cases[] = {
        {"nothing to remove, nothing selected: the first", {kHome, kDisc, kRoot}, std::nullopt, {}, {}, {"/home/me", "/media/me/VCD", "/"}, 0},
        {"a drive before the selection", {kHome, kDisc, kStick, kRoot}, 2, {kD}, {}, {"/home/me", "/media/me/STICK", "/"}, 1},
        {"the selected drive: the next takes its place", {kHome, kDisc, kStick, kRoot}, 1, {kD}, {}, {"/home/me", "/media/me/STICK", "/"}, 1},
        {"the selected last drive: the new last", {kHome, kDisc, kStick}, 2, {kE}, {}, {"/home/me", "/media/me/VCD"}, 1},
        {"two in a row: the one moving up is examined too", {kHome, kDisc, kStick, kRoot}, 3, {kD, kE}, {}, {"/home/me", "/"}, 1},
        // A folder that is merely missing stays; one denied goes.
        {"a denied folder", {kHome, kVideos, kHoliday, kDisc}, 2, {}, {"/home/me/Videos"}, {"/home/me", "/home/me/Videos/Holiday", "/media/me/VCD"}, 1},
        {"a missing folder stays", {kHome, kVideos, kRoot}, 1, {}, {}, {"/home/me", "/home/me/Videos", "/"}, 1},
        {"everything gone", {kHome, kDisc}, 1, {kC, kD}, {}, {}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FolderCombo combo;
        combo.items = c.items;
        combo.selected = c.selected;
        CheckFolderCombo(combo, FixedProbe(c.goneDrives, c.denied));
        EXPECT_EQ(pathsOf(combo), c.left);
        EXPECT_EQ(combo.selected, c.selectedAfter);
        std::vector<uint32_t> marks(c.left.size(), 1);
        if (c.selectedAfter)
            marks[*c.selectedAfter] = 0;
        EXPECT_EQ(marksOf(combo), marks);
    }
}

TEST(FolderComboCheck, EmptyComboStaysEmpty)
{
    FolderCombo combo;
    CheckFolderCombo(combo, FixedProbe({}, {}));
    EXPECT_TRUE(combo.items.empty());
    EXPECT_FALSE(combo.selected);
}

TEST(FolderComboChain, SelectFolderKeepsTheRootsAndTheChainAboveTheChoice)
{
    struct Case {
        const char* name;
        std::vector<FolderComboItem> items;
        size_t chosen;
        std::vector<std::string> left;
        size_t selected;
    };
    const Case cases[] = {
        {"a root drops every folder", {kHome, kVideos, kHoliday, kDisc, kRoot}, 0, {"/home/me", "/media/me/VCD", "/"}, 0},
        {"another drive's root drops the chain", {kHome, kVideos, kHoliday, kDisc, kRoot}, 3, {"/home/me", "/media/me/VCD", "/"}, 1},
        {"a folder drops those below it", {kHome, kVideos, kHoliday, kDisc, kRoot}, 1, {"/home/me", "/home/me/Videos", "/media/me/VCD", "/"}, 1},
        {"the deepest keeps its chain", {kHome, kVideos, kHoliday, kDisc, kRoot}, 2,
         {"/home/me", "/home/me/Videos", "/home/me/Videos/Holiday", "/media/me/VCD", "/"}, 2},
        // Under the root "/" every folder is longer than it, and each root stays whatever its length.
        {"the root folder", {kHome, kDisc, kRoot, kUsr, kShare}, 2, {"/home/me", "/media/me/VCD", "/"}, 2},
        {"a chain under the root", {kHome, kDisc, kRoot, kUsr, kShare}, 3, {"/home/me", "/media/me/VCD", "/", "/usr"}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FolderCombo combo = chain(c.items, 0);
        const std::optional<std::string> listed = SelectFolder(combo, c.chosen);
        EXPECT_EQ(listed, c.items[c.chosen].path);
        EXPECT_EQ(pathsOf(combo), c.left);
        EXPECT_EQ(combo.selected, c.selected);
    }
    FolderCombo combo = chain({kHome}, 0);
    EXPECT_FALSE(SelectFolder(combo, 1));
    EXPECT_EQ(pathsOf(combo), std::vector<std::string>{"/home/me"});
}

TEST(FolderComboChain, EnteringFoldersGrowsTheChainOneLevelAtATime)
{
    FolderCombo combo = chain({kHome, kDisc, kRoot}, 2);
    ASSERT_TRUE(EnterFolder(combo, "/usr/"));
    ASSERT_EQ(SelectFolder(combo, *combo.selected), "/usr");
    ASSERT_TRUE(EnterFolder(combo, "/usr/share"));
    ASSERT_EQ(SelectFolder(combo, *combo.selected), "/usr/share");
    EXPECT_EQ(pathsOf(combo), (std::vector<std::string>{"/home/me", "/media/me/VCD", "/", "/usr", "/usr/share"}));
    EXPECT_EQ(combo.selected, 4u);
    std::vector<uint32_t> depths;
    for (const FolderComboItem& item : combo.items)
        depths.push_back(FolderDepth(item));
    EXPECT_EQ(depths, (std::vector<uint32_t>{0, 0, 0, 1, 2}));
    for (size_t at = 3; at < combo.items.size(); ++at)
        EXPECT_EQ(combo.items[at].drive, kZ);

    // Under the home folder, depth counts below the drive's root, not from "/".
    combo = chain({kHome, kDisc, kRoot}, 0);
    ASSERT_TRUE(EnterFolder(combo, "/home/me/Videos"));
    ASSERT_TRUE(EnterFolder(combo, "/home/me/Videos/Holiday"));
    EXPECT_EQ(FolderDepth(combo.items[1]), 1u);
    EXPECT_EQ(FolderDepth(combo.items[2]), 2u);
    // Choosing the CD-ROM's root drops the home chain.
    SelectFolder(combo, 3);
    EXPECT_EQ(pathsOf(combo), (std::vector<std::string>{"/home/me", "/media/me/VCD", "/"}));

    FolderCombo empty;
    EXPECT_FALSE(EnterFolder(empty, "/usr"));
}

TEST(FolderComboCheck, SystemProbeTellsMissingFromReadable)
{
    TempDir dir;
    EXPECT_EQ(ProbeFolderAccess(dir.path()), FolderAccess::Readable);
    EXPECT_EQ(ProbeFolderAccess(dir.file("gone")), FolderAccess::Missing);
}

int characters(std::string_view text)
{
    return static_cast<int>(text.size());
}

TEST(ShortenPath, TriesEachLaterSeparatorUntilOneFits)
{
    struct Case {
        std::string path;
        std::string root;
        int width;
        std::string shown;
    };
    const std::string path = "/home/me/A/B/K/F.DAT";
    const Case cases[] = {
        // Candidates: /home/me/.../B/K/F.DAT (22), /home/me/.../K/F.DAT (20), /home/me/.../F.DAT (18).
        {path, "/home/me", 23, "/home/me/.../B/K/F.DAT"},
        {path, "/home/me", 22, "/home/me/.../K/F.DAT"},
        {path, "/home/me", 19, "/home/me/.../F.DAT"},
        {path, "/home/me", 5, "/home/me/.../F.DAT"},
        // Under the root "/" the first part is empty.
        {"/VIDEO/CLIPS/A.MPG", "/", 17, "/.../CLIPS/A.MPG"},
        {"/VIDEO/CLIPS/A.MPG", "/", 16, "/.../A.MPG"},
        // A single separator below the root: nothing to shorten.
        {"/media/me/VCD/A.MPG", "/media/me/VCD", 3, "/media/me/VCD/A.MPG"},
        {"/A.MPG", "/", 3, "/A.MPG"},
        // A path off its root falls back to the text before the first "/".
        {"/x/y/z.mpg", "/media/other", 1, "/.../z.mpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path + " at " + std::to_string(c.width));
        EXPECT_EQ(ShortenPath(c.path, c.root, c.width, characters), c.shown);
    }
}

TEST(DialogLists, AddsUpdateDeselectsTheLeadingFolders)
{
    PlayList files;
    files.entries = {{"/d/a", 1}, {"/d/B", 1}, {"/d/x.mpg", 0}, {"/d/y.dat", 0}};
    struct Case {
        std::vector<uint32_t> selected;
        std::vector<uint32_t> deselected;
        bool addEnabled;
    };
    const Case cases[] = {
        {{}, {}, false},
        {{0}, {0}, false},
        {{0, 1}, {0, 1}, false},
        // A folder and a file together: only the file is left, and Add is on.
        {{1, 2}, {1}, true},
        {{0, 1, 2, 3}, {0, 1}, true},
        {{3}, {}, true},
        // An index past the end stops the walk as an unreadable flag does.
        {{7}, {}, true},
    };
    for (const Case& c : cases) {
        const std::vector<uint32_t> deselected = FoldersToDeselect(files, c.selected);
        EXPECT_EQ(deselected, c.deselected);
        EXPECT_EQ(c.selected.size() > deselected.size(), c.addEnabled);
    }
}

TEST(DialogLists, AppendingKeepsOrderFlagsAndDuplicatesRemovingTakesTheSelected)
{
    PlayList files;
    files.entries = {{"/d/a", 1}, {"/d/x.mpg", 0}, {"/d/y.dat", 0}};
    PlayList chosen;
    chosen.entries = {{"/old.avi", 0}};
    AppendEntries(chosen, files, {1, 2});
    AppendEntries(chosen, files, {1});
    AppendEntries(chosen, files, {0, 9});
    EXPECT_EQ(pathsOf(chosen), (std::vector<std::string>{"/old.avi", "/d/x.mpg", "/d/y.dat", "/d/x.mpg", "/d/a"}));
    EXPECT_EQ(chosen.entries.back().directory, 1u);
    AppendEntries(chosen, chosen, {0});
    EXPECT_EQ(pathsOf(chosen).back(), "/old.avi");

    RemoveEntries(chosen, {0, 3, 5, 40});
    EXPECT_EQ(pathsOf(chosen), (std::vector<std::string>{"/d/x.mpg", "/d/y.dat", "/d/a"}));
    RemoveEntries(chosen, {});
    EXPECT_EQ(chosen.entries.size(), 3u);
}

class ListDirectoryTest : public testing::Test, protected PanelFeedback {
protected:
    PlayerRecords records;
    bool beginBusyCursor() override { return ++begins, true; }
    bool endBusyCursor() override { return ++ends, true; }
    bool setButtonChecked(CommandId, bool) override { return true; }

    TempDir dir;
    int begins = 0;
    int ends = 0;
};

TEST_F(ListDirectoryTest, FoldersFirstThenPlayableFilesEachWithoutRegardToCase)
{
    std::filesystem::create_directories(dir.file("B"));
    std::filesystem::create_directories(dir.file("a"));
    for (const char* name : {"Y.dat", "z.txt", "x.MPG", "clip"})
        dir.write(name, "x");
    PlayList files;
    files.entries = {{"/stale.mpg", 0}};
    ASSERT_TRUE(ListDirectory(records.playList, this, &files, dir.path()));
    EXPECT_EQ(pathsOf(files), (std::vector<std::string>{dir.file("a"), dir.file("B"), dir.file("x.MPG"), dir.file("Y.dat")}));
    EXPECT_EQ(files.entries[1].directory, 1u);
    EXPECT_EQ(files.entries[2].directory, 0u);
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(ends, 1);

    // A trailing "/" is not doubled.
    ASSERT_TRUE(ListDirectory(records.playList, this, &files, dir.path() + "/"));
    EXPECT_EQ(files.entries.front().path, dir.file("a"));
}

TEST_F(ListDirectoryTest, AFolderThatCannotBeReadLeavesTheListEmpty)
{
    PlayList files;
    files.entries = {{"/stale.mpg", 0}};
    EXPECT_FALSE(ListDirectory(records.playList, this, &files, dir.file("missing")));
    EXPECT_TRUE(files.entries.empty());
    EXPECT_EQ(begins, ends);

    files.entries = {{"/stale.mpg", 0}};
    EXPECT_FALSE(ListDirectory(records.playList, this, &files, ""));
    EXPECT_EQ(files.entries.size(), 1u) << "an empty path fails before anything";
    EXPECT_FALSE(ListDirectory(records.playList, this, nullptr, dir.path()));
}

// An image drive is browsed through the reader: its folders, then its playable files, under
// paths the engine plays; the folder combo keeps the folders it enters.
TEST_F(ListDirectoryTest, ADiscImageIsListedThroughTheReader)
{
    const VcdImage& image = VcdImage::get();
    PlayList files;
    files.entries = {{"/stale.mpg", 0}};
    ASSERT_TRUE(ListDirectory(records.playList, this, &files, image.cue));
    ASSERT_FALSE(files.entries.empty());
    std::vector<std::string> folders;
    for (const PlayListEntry& entry : files.entries) {
        EXPECT_EQ(entry.directory, 1u) << entry.path << ": the root holds folders only";
        folders.push_back(entry.path);
    }
    for (const char* name : {"/EXTRA", "/MPEGAV", "/VCD"})
        EXPECT_NE(std::find(folders.begin(), folders.end(), image.cue + name), folders.end()) << name;
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(ends, 1);

    for (const std::string& tracks : {image.cue + "/MPEGAV", image.cue + "/mpegav/"}) {
        ASSERT_TRUE(ListDirectory(records.playList, this, &files, tracks));
        ASSERT_EQ(files.entries.size(), 3u) << tracks;
        for (int track = 1; track <= 3; ++track) {
            EXPECT_TRUE(EqualsIgnoringCase(files.entries[track - 1].path, image.trackPath(track))) << files.entries[track - 1].path;
            EXPECT_EQ(files.entries[track - 1].directory, 0u);
        }
    }
    // NOTES.BIN is no playable file; a folder the disc does not hold cannot be read.
    EXPECT_TRUE(ListDirectory(records.playList, this, &files, image.cue + "/EXTRA"));
    EXPECT_TRUE(files.entries.empty());
    EXPECT_FALSE(ListDirectory(records.playList, this, &files, image.cue + "/NOWHERE"));

    EXPECT_EQ(ProbeFolderAccess(image.cue + "/MPEGAV"), FolderAccess::Readable);
    EXPECT_EQ(ProbeFolderAccess(image.cue + "/NOWHERE"), FolderAccess::Missing);
    EXPECT_EQ(ProbeFolderAccess(dir.write("plain", "x") + "/inside"), FolderAccess::Missing);
}

}  // namespace
