#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "components/discbay/drive_table.h"
#include "playback/playback.h"
#include "tests/support/playback_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vcd_image.h"

namespace {
class PlayFilesTest : public PlaybackTest {
protected:
    TempDir dir;
};

TEST_F(PlayFilesTest, AFolderGivesItsPlayableFilesInOrderAndPlaysTheFirst)
{
    const std::string first = dir.write("clips/a.mpg", "1");
    const std::string third = dir.write("clips/C.DAT", "3");
    const std::string second = dir.write("clips/b.avi", "2");
    dir.write("clips/notes.txt", "n");
    dir.write("clips/clip", "no extension");
    dir.write("clips/sub.mpg/inner.mpg", "a folder is never a track");
    dir.write("clips/sub/d.mpg", "nor what it holds");

    EXPECT_TRUE(records.playback.PlayFiles({dir.file("clips")}));
    EXPECT_EQ(listPaths(), (std::vector<std::string>{first, second, third}));
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(records.state.trackCount, 3u);
    EXPECT_EQ(engine->openPath, first);
    EXPECT_EQ(engine->status, 2);
    EXPECT_TRUE(pollRuns());
}

// A Video CD's folder named alone is a disc: its MpegAV tracks in the disc's order, whatever
// else the folder holds. Among other names it is a folder like any.
TEST_F(PlayFilesTest, AVideoCdFolderNamedAloneIsADisc)
{
    struct Case {
        const char* disc;       // the MpegAV folder's spelling
        const char* named;      // how the disc's folder is named, under dir
        bool withAnotherFile;
    };
    for (const Case c : {Case{"MPEGAV", "vcd", false}, Case{"mpegav", "vcd/", false}, Case{"MpegAV", "./vcd/.", false},
                         Case{"MPEGAV", "vcd", true}}) {
        TempDir disc;
        const std::string second = disc.write(std::string("vcd/") + c.disc + "/AVSEQ02.DAT", "2");
        const std::string first = disc.write(std::string("vcd/") + c.disc + "/avseq01.dat", "1");
        disc.write(std::string("vcd/") + c.disc + "/README.TXT", "not a track");
        const std::string loose = disc.write("vcd/intro.mpg", "a file beside the disc's folders");
        disc.write("vcd/SEGMENT/ITEM0001.MPG", "s");
        disc.write("vcd/VCD/INFO.VCD", "i");
        const std::string other = dir.write("other.mpg", "o");
        const std::string named = disc.path() + "/" + c.named;
        setList({"/old/entry.mpg"});

        std::vector<std::string> paths = {named};
        if (c.withAnotherFile)
            paths.push_back(other);
        EXPECT_TRUE(records.playback.PlayFiles(paths)) << c.named;
        const std::vector<std::string> expected =
            c.withAnotherFile ? std::vector<std::string>{loose, other} : std::vector<std::string>{first, second};
        EXPECT_EQ(listPaths(), expected) << c.disc << " named " << c.named;
        EXPECT_EQ(engine->openPath, expected.front()) << c.named;
        EXPECT_EQ(engine->status, 2) << c.named;
    }
}

TEST_F(PlayFilesTest, ADiscsFolderWithoutPlayableFilesGivesItsStreamFolder)
{
    // The folder a desktop names when it opens an inserted disc: its root.
    const struct {
        const char* name;
        std::vector<const char*> files;
        std::vector<const char*> tracks;
    } cases[] = {
        {"video", {"VCD/INFO.VCD", "MPEGAV/AVSEQ02.DAT", "MPEGAV/avseq01.dat"}, {"MPEGAV/avseq01.dat", "MPEGAV/AVSEQ02.DAT"}},
        {"super", {"SVCD/INFO.SVD", "MPEG2/AVSEQ01.MPG", "MPEG2/NOTES.TXT"}, {"MPEG2/AVSEQ01.MPG"}},
        {"both", {"MPEG2/AVSEQ01.MPG", "mpegav/AVSEQ01.DAT"}, {"mpegav/AVSEQ01.DAT"}},
        {"named alone, the disc wins", {"film.mpg", "MPEGAV/AVSEQ01.DAT"}, {"MPEGAV/AVSEQ01.DAT"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string root = dir.file(c.name);
        for (const char* file : c.files)
            dir.write(std::string(c.name) + "/" + file, "x");
        std::vector<std::string> wanted;
        for (const char* track : c.tracks)
            wanted.push_back(root + "/" + track);
        EXPECT_TRUE(records.playback.PlayFiles({root}));
        EXPECT_EQ(listPaths(), wanted);
    }
    // A folder holding neither changes nothing.
    dir.write("plain/VCD/INFO.VCD", "x");
    EXPECT_FALSE(records.playback.PlayFiles({dir.file("plain")}));
    EXPECT_EQ(listPaths(), std::vector<std::string>{dir.file("named alone, the disc wins") + "/MPEGAV/AVSEQ01.DAT"});
}

TEST_F(PlayFilesTest, FilesKeepTheOrderTheyWereNamedIn)
{
    const std::string z = dir.write("z.mpg", "z");
    const std::string a = dir.write("a.mpg", "a");
    const std::string other = dir.write("film.mkv", "named on its own, any extension goes");
    const std::string inFolder = dir.write("more/m.dat", "m");
    setList({"/old/entry.mpg"});

    EXPECT_TRUE(records.playback.PlayFiles({z, dir.file("missing.mpg"), a, dir.file("more"), other}));
    EXPECT_EQ(listPaths(), (std::vector<std::string>{z, a, inFolder, other}));
    EXPECT_EQ(engine->openPath, z);
}

TEST_F(PlayFilesTest, PathsAreMadeWholeAndPlain)
{
    const std::string clip = dir.write("one/clip.mpg", "c");
    EXPECT_TRUE(records.playback.PlayFiles({dir.path() + "/one/../one/./clip.mpg"}));
    EXPECT_EQ(listPaths(), std::vector<std::string>{clip});
}

TEST_F(PlayFilesTest, NothingThatExistsChangesNothing)
{
    loadTracks(2, 2, 2);
    const std::string emptyFolder = dir.path() + "/empty";
    std::filesystem::create_directories(emptyFolder);
    EXPECT_FALSE(records.playback.PlayFiles({dir.file("missing.mpg"), emptyFolder}));
    EXPECT_FALSE(records.playback.PlayFiles({}));
    EXPECT_EQ(listPaths(), (std::vector<std::string>{track(1), track(2)}));
    EXPECT_EQ(records.state.currentTrack, 2u);
    EXPECT_TRUE(engine->log.empty());
}

TEST_F(PlayFilesTest, FilesThatFailToOpenAreDroppedOnTheWayToTheFirstThatPlays)
{
    const std::string bad = dir.write("1.mpg", "corrupt");
    const std::string good = dir.write("2.mpg", "fine");
    engine->failingPaths = {bad};
    EXPECT_TRUE(records.playback.PlayFiles({bad, good}));
    EXPECT_EQ(listPaths(), std::vector<std::string>{good});
    EXPECT_EQ(engine->status, 2);

    engine->failingPaths = {bad, good};
    EXPECT_FALSE(records.playback.PlayFiles({bad, good}));
    EXPECT_TRUE(listPaths().empty());
    EXPECT_EQ(records.state.trackCount, 0u);
    EXPECT_FALSE(engine->isOpen);
    EXPECT_EQ(videoFrame.titles.back(), "Video Window");
}

TEST_F(PlayFilesTest, WithoutAPlayListNothingHappens)
{
    const std::string clip = dir.write("clip.mpg", "c");
    records.playList.list().reset();
    EXPECT_FALSE(records.playback.PlayFiles({clip}));
    EXPECT_TRUE(engine->log.empty());
}
TEST_F(PlayFilesTest, ADiscImageBecomesADriveAndGivesItsTracks)
{
    const VcdImage& image = VcdImage::get();
    const std::string clip = dir.write("clip.mpg", "c");
    EXPECT_TRUE(records.playback.PlayFiles({image.cue, clip}));
    EXPECT_EQ(listPaths(), (std::vector<std::string>{image.trackPath(1), image.trackPath(2), image.trackPath(3), clip}));
    EXPECT_EQ(engine->openPath, image.trackPath(1));
    EXPECT_EQ(records.drives.images(), std::vector<std::string>{image.cue});

    // Named again, it stays one drive; the drive table has it among the CD-ROM drives.
    EXPECT_TRUE(records.playback.PlayFiles({image.cue}));
    EXPECT_EQ(records.drives.images(), std::vector<std::string>{image.cue});
    const DriveTable drives = records.drives.current();
    const std::optional<uint32_t> letter = drives.driveOf(image.trackPath(1));
    ASSERT_TRUE(letter);
    EXPECT_TRUE(drives.slot(*letter).image);
    EXPECT_TRUE(drives.isCdRomDrive(*letter));
}

}  // namespace
