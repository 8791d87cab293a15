#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "core/ini_file.h"
#include "components/discbay/drive_table.h"
#include "disc/play_list.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vcd_image.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t drive(char letter)
{
    return static_cast<uint32_t>(letter - 'A');
}

TEST(DriveTable, LettersFromHomeRootMountsAndBindings)
{
    const std::vector<MountPoint> mounts = {
        {"/", "ext4", ""},
        {"/media/me/USB STICK", "vfat", ""},
        {"/mnt/share", "cifs", ""},
        {"/run/media/me/DISC", "iso9660", ""},
        {"/run/media/other/NOPE", "vfat", ""},  // another user's
        {"/mnt", "tmpfs", ""},                  // the folder itself holds no volume
        {"/media/me/cdrom", "iso9660", "/dev/sr1"},
    };
    const IniFile config = IniFile::parse(
        "[Drives]\n"
        "E: = /srv/discs/one, Remote\n"
        "v: = /srv/discs/a,b\n"  // a comma inside a folder's name
        "W: = relative/folder\n"
        "X: = /srv/ram/, ram disk\n"
        "Y: = /srv/discs/Holiday.CUE\n");
    // sr0 holds no disc but keeps its letter; the image comes after the drives.
    const DriveTable table =
        DriveTable::build("/home/me/", "me", {"/dev/sr0", "/dev/sr1"}, mounts, config, {"/srv/rips/film.cue"});

    struct Expect {
        char letter;
        const char* root;
        DriveType type;
    };
    const Expect expected[] = {
        {'A', "", DriveType::Unknown},
        {'C', "/home/me", DriveType::Fixed},
        {'D', "", DriveType::CdRom},
        {'E', "/srv/discs/one", DriveType::Remote},  // bound, so the found drives move up
        {'F', "/media/me/cdrom", DriveType::CdRom},
        {'G', "/srv/rips/film.cue", DriveType::CdRom},
        {'H', "/media/me/USB STICK", DriveType::Removable},
        {'I', "/mnt/share", DriveType::Remote},
        {'J', "/run/media/me/DISC", DriveType::CdRom},
        {'K', "", DriveType::Unknown},
        {'V', "/srv/discs/a,b", DriveType::CdRom},
        {'W', "", DriveType::Unknown},
        {'X', "/srv/ram", DriveType::RamDisk},
        {'Y', "/srv/discs/Holiday.CUE", DriveType::CdRom},
        {'Z', "/", DriveType::Fixed},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.letter);
        EXPECT_EQ(table.slot(drive(e.letter)).root, e.root);
        EXPECT_EQ(table.slot(drive(e.letter)).type, e.type);
    }
    EXPECT_EQ(table.slot(drive('H')).label, "USB STICK");
    EXPECT_EQ(table.slot(drive('D')).device, "/dev/sr0");
    EXPECT_EQ(table.slot(drive('F')).device, "/dev/sr1");
    EXPECT_EQ(table.slot(drive('F')).label, "cdrom");
    EXPECT_EQ(table.slot(drive('G')).label, "film");
    EXPECT_EQ(table.slot(drive('Y')).label, "Holiday");
    // Drives with a door: the devices, the images, the folders bound as CD-ROM drives.
    for (const char letter : {'D', 'F', 'G', 'V', 'Y'})
        EXPECT_TRUE(table.isCdRomDrive(drive(letter))) << letter;
    for (const char letter : {'C', 'E', 'H', 'J', 'K'})
        EXPECT_FALSE(table.isCdRomDrive(drive(letter))) << letter;
    EXPECT_TRUE(table.slot(drive('Y')).image);
    EXPECT_FALSE(table.slot(drive('V')).image);

    struct Owner {
        const char* path;
        char letter;
    };
    const Owner owners[] = {
        {"/home/me/clip.mpg", 'C'},
        {"/home/meat/clip.mpg", 'Z'},  // a longer name is not inside the folder
        {"/media/me/cdrom/MpegAV/AVSEQ01.DAT", 'F'},
        {"/srv/rips/film.cue/MPEGAV/AVSEQ01.DAT", 'G'},
        {"/srv/discs/a,b/x.dat", 'V'},
        {"/etc/passwd", 'Z'},
    };
    for (const Owner& o : owners)
        EXPECT_EQ(table.driveOf(o.path), drive(o.letter)) << o.path;
    EXPECT_FALSE(table.driveOf("relative.mpg"));
}

TEST(DriveTable, MountInfoLinesAndTheirEscapes)
{
    const std::string text =
        "36 35 98:0 /mnt1 /mnt/my\\040disc rw,noatime master:1 - iso9660 /dev/sr0 ro\n"
        "37 35 98:0 / /media/u/k rw shared:2 master:3 - vfat /dev/sdb1 rw\n"
        "garbage line\n"
        "38 35 98:0 / /x rw -\n";
    const std::vector<MountPoint> mounts = ParseMountInfo(text);
    ASSERT_EQ(mounts.size(), 2u);
    EXPECT_EQ(mounts[0].folder, "/mnt/my disc");
    EXPECT_EQ(mounts[0].fileSystem, "iso9660");
    EXPECT_EQ(mounts[1].folder, "/media/u/k");
    EXPECT_EQ(mounts[1].fileSystem, "vfat");
    EXPECT_EQ(mounts[0].source, "/dev/sr0");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
}

// A folder bound to a letter acts as a CD-ROM drive holding a Video CD.
class DiscScanTest : public testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    void SetUp() override
    {
        records.settings.cfgPath = dir_.write("Quintara.CFG", "[Drives]\nX: = " + dir_.file("disc") + "\nY: = " +
                                                                 dir_.file("empty") + "\n");
        fs::create_directories(dir_.file("empty"));
        ASSERT_TRUE(records.playList.PlayList_Create());
    }

    std::string disc(const std::string& name) { return dir_.write("disc/" + name, "x"); }
    std::vector<std::string> list() const { return paths(*records.playList.list()); }
    static std::vector<std::string> paths(const PlayList& list)
    {
        std::vector<std::string> out;
        for (const PlayListEntry& entry : list.entries)
            out.push_back(entry.path);
        return out;
    }

    TempDir dir_;
};

TEST_F(DiscScanTest, LoadingTakesTheSortedPlayableFilesOfMpegAvWhateverItsCase)
{
    const std::vector<std::string> wanted = {disc("mpegav/avseq01.dat"), disc("mpegav/AVSEQ02.DAT"),
                                             disc("mpegav/MUSIC01.DAT")};
    disc("mpegav/README.TXT");
    disc("mpegav/SUB.DAT/inner.dat");  // a folder with a playable name is never added
    disc("SEGMENT/ITEM0001.MPG");
    records.playList.list()->entries = {{"/elsewhere/old.mpg", 0}};

    ASSERT_TRUE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('X'), 0));
    EXPECT_EQ(list(), wanted);
}

TEST_F(DiscScanTest, ASuperVideoCdGivesItsMpeg2FolderWhereItHasNoMpegAv)
{
    const std::vector<std::string> superTracks = {disc("MPEG2/AVSEQ01.MPG"), disc("MPEG2/avseq02.mpg")};
    disc("MPEG2/README.TXT");
    disc("SVCD/INFO.SVD");
    ASSERT_TRUE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('X'), 0));
    EXPECT_EQ(list(), superTracks);

    // A disc holding both plays its MpegAV folder alone.
    const std::string videoTrack = disc("MpegAV/AVSEQ01.DAT");
    ASSERT_TRUE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('X'), 0));
    EXPECT_EQ(list(), std::vector<std::string>{videoTrack});
}

TEST_F(DiscScanTest, LoadingWhatHoldsNothingPlayableChangesNothing)
{
    records.playList.list()->entries = {{"/elsewhere/old.mpg", 0}};
    disc("MpegAV/README.TXT");
    const uint32_t drives[] = {drive('X'), drive('Y'), drive('A'), drive('W'), 0x1234FFFF, 25 + 0x10000};
    for (const uint32_t d : drives)
        EXPECT_FALSE(records.playList.ScanDisc(*records.components.discbay, records.drives, d, 0)) << d;
    EXPECT_EQ(list(), std::vector<std::string>{"/elsewhere/old.mpg"});
}

TEST_F(DiscScanTest, DroppingADriveRemovesItsEntriesOnly)
{
    const std::string root = dir_.file("disc");
    records.playList.list()->entries = {{root + "/MpegAV/A.DAT", 0}, {"/srv/other.mpg", 0},
                               {root + "x/not-on-x.mpg", 0}, {root + "/b.avi", 0}};
    // Only the low 16 bits name the drive.
    ASSERT_TRUE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('X') + 0x50000, 1));
    EXPECT_EQ(list(), (std::vector<std::string>{"/srv/other.mpg", root + "x/not-on-x.mpg"}));
    EXPECT_FALSE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('X'), 1));
    records.playList.list()->entries.clear();
    EXPECT_FALSE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('X'), 1));
}

TEST_F(DiscScanTest, AnImageBoundAsADriveGivesTheTracksInsideIt)
{
    // A Super Video CD's tracks are the streams of its MPEG2 folder.
    for (const VcdImage* image : {&VcdImage::get(), &VcdImage::superVideoCd()}) {
        SCOPED_TRACE(image->cue);
        // A copy of the image whose name ends in no ".cue" is not taken for one.
        const std::string notAnImage = image->scratch().file("plain/disc.bin");
        fs::create_directories(fs::path(notAnImage).parent_path());
        fs::copy_file(image->bin, notAnImage, fs::copy_options::overwrite_existing);
        // A file of its own for each: the bindings are read once per configuration file.
        records.settings.cfgPath = dir_.write(fs::path(image->cue).parent_path().filename().string() + ".CFG",
                                            "[Drives]\nV: = " + image->cue + "\nW: = " + notAnImage + "\n");
        records.playList.list()->entries = {{"/elsewhere/old.mpg", 0}};

        ASSERT_TRUE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('V'), 0));
        EXPECT_EQ(list(), (std::vector<std::string>{image->trackPath(1), image->trackPath(2), image->trackPath(3)}));
        EXPECT_EQ(records.drives.current().driveOf(image->trackPath(2)), drive('V'));
        EXPECT_FALSE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('W'), 0));

        // Dropping it takes its tracks and nothing else.
        records.playList.list()->entries.push_back({"/elsewhere/new.mpg", 0});
        ASSERT_TRUE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('V'), 1));
        EXPECT_EQ(list(), std::vector<std::string>{"/elsewhere/new.mpg"});
    }
}

TEST_F(DiscScanTest, AnImageThatCannotBeReadLoadsNothing)
{
    const std::string broken = dir_.write("rips/broken.cue", "FILE \"broken.bin\" BINARY\n  TRACK 01 MODE2/2352\n");
    dir_.write("rips/broken.bin", std::string(2352 * 20, '\x11'));
    records.settings.cfgPath = dir_.write("Quintara.CFG", "[Drives]\nV: = " + broken + "\nU: = " + dir_.file("rips/gone.cue") + "\n");
    records.playList.list()->entries = {{"/elsewhere/old.mpg", 0}};
    EXPECT_FALSE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('V'), 0));
    EXPECT_FALSE(records.playList.ScanDisc(*records.components.discbay, records.drives, drive('U'), 0));
    EXPECT_EQ(list(), std::vector<std::string>{"/elsewhere/old.mpg"});
}

}  // namespace
