#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "components/discbay/vcd_disc.h"
#include "components/discbay/drive_table.h"
#include "tests/support/vcd_image.h"
#include "tests/test_vcd_layout.h"

namespace {

using namespace vcdlayout;

// Everything a file holds, read in one call.
std::string wholeOf(VcdFile& file)
{
    std::string bytes(file.size(), '\0');
    EXPECT_EQ(file.read(0, bytes.data(), bytes.size()), static_cast<int64_t>(bytes.size()));
    return bytes;
}

std::string piece(VcdFile& file, uint64_t offset, size_t n)
{
    std::string bytes(n, '\0');
    const int64_t got = file.read(offset, bytes.data(), n);
    bytes.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return bytes;
}

// Sector addresses of a "MM:SS:FF" in a cue sheet.
uint32_t sectorOf(const std::string& msf)
{
    unsigned m = 0, s = 0, f = 0;
    std::sscanf(msf.c_str(), "%u:%u:%u", &m, &s, &f);
    return (m * 60 + s) * 75 + f;
}

// The sectors of each stream track before the next one's pause, read from the cue sheet: from
// the track's INDEX 01 to the next track's INDEX 00. The last track has none after it.
std::vector<uint32_t> trackSectorsFromCue(const std::string& cueText)
{
    std::istringstream cue(cueText);
    std::vector<uint32_t> index0, index1;
    std::string word;
    while (cue >> word) {
        if (word != "INDEX")
            continue;
        std::string number, at;
        cue >> number >> at;
        (number == "00" ? index0 : index1).push_back(sectorOf(at));
    }
    std::vector<uint32_t> sectors;
    for (size_t track = 1; track + 1 < index1.size(); ++track)  // track 1 holds the file system
        sectors.push_back(index0[track] - index1[track]);
    return sectors;
}

class VcdDiscTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        disc = VcdDisc::open(image.cue);
        ASSERT_NE(disc, nullptr);
    }
    std::unique_ptr<VcdFile> track(int number)
    {
        auto file = disc->openFile("/MPEGAV/" + VcdImage::trackName(number));
        EXPECT_NE(file, nullptr) << number;
        return file;
    }

    const VcdImage& image = VcdImage::get();
    std::unique_ptr<VcdDisc> disc;
};

// ---- the file system ----

TEST_F(VcdDiscTest, TheLabelIsTheVolumeIdWithoutItsBlanks)
{
    EXPECT_EQ(disc->label(), VcdImage::kLabel);
}

TEST_F(VcdDiscTest, ListsTheStreamsInTrackOrderWhateverTheCaseOfTheFolder)
{
    for (const char* folder : {"/MPEGAV", "MpegAV", "/mpegav/", "//MPEGAV//"}) {
        const auto entries = disc->list(folder);
        ASSERT_TRUE(entries.has_value()) << folder;
        ASSERT_EQ(entries->size(), std::size(VcdImage::kClipSeconds)) << folder;
        for (size_t i = 0; i < entries->size(); ++i) {
            EXPECT_EQ((*entries)[i].name, VcdImage::trackName(static_cast<int>(i) + 1)) << folder;
            EXPECT_FALSE((*entries)[i].directory);
        }
    }
}

TEST_F(VcdDiscTest, TheRootFlagsItsFoldersAndLeavesOutItselfAndItsParent)
{
    const auto root = disc->list("/");
    ASSERT_TRUE(root.has_value());
    auto isFolder = [&](const std::string& name) {
        const auto it = std::find_if(root->begin(), root->end(), [&](const VcdEntry& e) { return e.name == name; });
        return it != root->end() && it->directory;
    };
    EXPECT_TRUE(isFolder("MPEGAV"));
    EXPECT_TRUE(isFolder("VCD"));
    EXPECT_TRUE(isFolder("EXTRA"));
    for (const VcdEntry& entry : *root) {
        EXPECT_NE(entry.name, ".");
        EXPECT_NE(entry.name, "..");
        EXPECT_EQ(entry.name.find(';'), std::string::npos) << entry.name;
    }
    const auto info = disc->list("vcd");
    ASSERT_TRUE(info.has_value());
    EXPECT_NE(std::find_if(info->begin(), info->end(), [](const VcdEntry& e) { return e.name == "INFO.VCD" && !e.directory; }),
              info->end());
}

TEST_F(VcdDiscTest, WhatIsNoFolderListsNothing)
{
    for (const char* path : {"/NOPE", "/MPEGAV/AVSEQ01.DAT", "/MPEGAV/NOPE", "/VCD/INFO.VCD/X"})
        EXPECT_FALSE(disc->list(path).has_value()) << path;
}

TEST_F(VcdDiscTest, OpensFilesWhateverTheCaseAndRefusesFoldersAndMissingOnes)
{
    for (const char* path : {"/MPEGAV/AVSEQ01.DAT", "mpegav/avseq01.dat", "/MpegAv//AvSeq01.Dat"})
        EXPECT_NE(disc->openFile(path), nullptr) << path;
    for (const char* path : {"/", "", "/MPEGAV", "/MPEGAV/AVSEQ09.DAT", "/NOPE/AVSEQ01.DAT", "/MPEGAV/AVSEQ01.DAT/X"})
        EXPECT_EQ(disc->openFile(path), nullptr) << path;
}

// ---- Form 2 streams ----

TEST_F(VcdDiscTest, AStreamIsForm2WithAllItsSectorsAt2324Bytes)
{
    const std::string bin = readAll(image.bin);
    const std::vector<uint32_t> cueSectors = trackSectorsFromCue(readAll(image.cue));
    ASSERT_EQ(cueSectors.size(), image.clips.size() - 1);
    for (int number = 1; number <= static_cast<int>(image.clips.size()); ++number) {
        auto file = track(number);
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->form2());
        // The directory records the sectors at 2,048 bytes each.
        const uint32_t recorded = read32(bin, trackRecord(bin, VcdImage::trackName(number)) + kDataLength);
        ASSERT_EQ(recorded % kForm1Data, 0u);
        EXPECT_EQ(file->size(), uint64_t{recorded / kForm1Data} * kForm2Data) << number;
        if (number <= static_cast<int>(cueSectors.size())) {
            EXPECT_EQ(file->size(), uint64_t{cueSectors[number - 1]} * kForm2Data) << number;
        }
    }
}

TEST_F(VcdDiscTest, AStreamHoldsTheClipWholeOnASectorBetweenEmptySectors)
{
    for (int number = 1; number <= static_cast<int>(image.clips.size()); ++number) {
        auto file = track(number);
        ASSERT_NE(file, nullptr);
        const std::string bytes = wholeOf(*file);
        const std::string clip = readAll(image.clips[number - 1].mpg);
        ASSERT_EQ(clip.size(), image.clips[number - 1].bytes);
        const size_t at = bytes.find(clip);
        ASSERT_NE(at, std::string::npos) << number;
        EXPECT_EQ(at % kForm2Data, 0u);
        EXPECT_EQ(bytes.substr(0, at), std::string(at, '\0'));
        EXPECT_EQ(bytes.substr(at, 4), std::string("\x00\x00\x01\xba", 4)) << "an MPEG pack header";
        EXPECT_EQ(bytes.find_first_not_of('\0', at + clip.size()), std::string::npos);
    }
}

struct Span {
    const char* name;
    int64_t offset;  // from the start, or from the end when negative
    size_t length;
};

const Span kSpans[] = {
    {"FirstByte", 0, 1},
    {"AcrossTheFirstSectorEnd", 2323, 2},
    {"TheSecondSectorExactly", 2324, 2324},
    {"SeveralSectorsFromAnOddOffset", 12345, 7777},
    {"AcrossAChunkOfSectors", 32 * 2324 - 5, 10},
    {"ManyChunks", 1001, 100 * 2324 + 17},
    {"TheLastBytes", -10, 10},
};

class VcdStreamSpans : public VcdDiscTest, public ::testing::WithParamInterface<Span> {};

TEST_P(VcdStreamSpans, ReadsMatchTheWholeRead)
{
    auto whole = track(1);
    auto file = track(1);
    ASSERT_TRUE(whole && file);
    const std::string all = wholeOf(*whole);
    const Span span = GetParam();
    const uint64_t offset = span.offset >= 0 ? uint64_t(span.offset) : all.size() - uint64_t(-span.offset);
    EXPECT_EQ(piece(*file, offset, span.length), all.substr(offset, span.length));
    // Again after a read elsewhere, so the sectors come from the disc again.
    EXPECT_EQ(piece(*file, all.size() / 2, 3), all.substr(all.size() / 2, 3));
    EXPECT_EQ(piece(*file, offset, span.length), all.substr(offset, span.length));
}

INSTANTIATE_TEST_SUITE_P(Spans, VcdStreamSpans, ::testing::ValuesIn(kSpans),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VcdDiscTest, SmallReadsForwardAndBackwardMakeTheWholeStream)
{
    auto whole = track(2);
    auto file = track(2);
    ASSERT_TRUE(whole && file);
    const std::string all = wholeOf(*whole);
    std::string forward;
    for (uint64_t at = 0; at < all.size(); at += 1000)
        forward += piece(*file, at, 1000);
    EXPECT_EQ(forward, all);
    // Backward, in pieces of an odd size that never meets a sector's end the same way twice.
    std::string backward(all.size(), '\0');
    for (uint64_t end = all.size(); end > 0;) {
        const uint64_t start = end > 3001 ? end - 3001 : 0;
        const std::string got = piece(*file, start, end - start);
        ASSERT_EQ(got.size(), end - start);
        backward.replace(start, got.size(), got);
        end = start;
    }
    EXPECT_EQ(backward, all);
}

TEST_F(VcdDiscTest, TheLastReadIsShortAndReadsPastTheEndGiveNothing)
{
    auto file = track(3);
    ASSERT_NE(file, nullptr);
    std::string buffer(8192, 'x');
    const uint64_t size = file->size();
    EXPECT_EQ(file->read(size - 100, buffer.data(), buffer.size()), 100);
    EXPECT_EQ(file->read(size, buffer.data(), buffer.size()), 0);
    EXPECT_EQ(file->read(size + 5000, buffer.data(), buffer.size()), 0);
    EXPECT_EQ(file->read(UINT64_MAX, buffer.data(), buffer.size()), 0);
    EXPECT_EQ(file->read(0, buffer.data(), 0), 0);
}

TEST_F(VcdDiscTest, DiscsOnTwoThreadsReadTheSameBytes)
{
    auto first = track(1);
    ASSERT_NE(first, nullptr);
    const std::string expected = wholeOf(*first);
    std::string got[2];
    std::thread readers[2];
    for (int i = 0; i < 2; ++i)
        readers[i] = std::thread([&, i] {
            auto own = VcdDisc::open(image.cue);
            auto file = own ? own->openFile("/MPEGAV/AVSEQ01.DAT") : nullptr;
            if (!file)
                return;
            for (uint64_t at = 0; at < file->size(); at += 4096)
                got[i] += piece(*file, at, 4096);
        });
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(got[0], expected);
    EXPECT_EQ(got[1], expected);
}

// ---- Form 1 files ----

TEST_F(VcdDiscTest, AForm1FileReadsItsRecordedBytes)
{
    auto notes = disc->openFile(VcdImage::kNotesPath);
    ASSERT_NE(notes, nullptr);
    EXPECT_FALSE(notes->form2());
    ASSERT_EQ(notes->size(), VcdImage::kNotesBytes);
    EXPECT_EQ(wholeOf(*notes), image.notes);
    EXPECT_EQ(piece(*notes, 2040, 20), image.notes.substr(2040, 20));
    EXPECT_EQ(piece(*notes, 4000, 4096), image.notes.substr(4000));
    EXPECT_EQ(piece(*notes, VcdImage::kNotesBytes, 10), "");

    auto info = disc->openFile("/vcd/info.vcd");
    ASSERT_NE(info, nullptr);
    EXPECT_FALSE(info->form2());
    EXPECT_EQ(info->size(), 2048u);
    EXPECT_EQ(piece(*info, 0, 8), "VIDEO_CD");
}

// ---- which paths are read raw ----

class RawSourceTest : public ::testing::Test {
protected:
    const VcdImage& image = VcdImage::get();
};

TEST_F(RawSourceTest, APathThroughAnImageIsReadRaw)
{
    const std::string upper = image.scratch().write("DISC.CUE", readAll(image.cue));
    const std::string mixed = image.scratch().write("Disc.Cue", readAll(image.cue));
    for (const std::string& cue : {image.cue, upper, mixed}) {
        const auto raw = FindRawVcdSource(cue + "/MPEGAV/AVSEQ01.DAT");
        ASSERT_TRUE(raw.has_value()) << cue;
        EXPECT_EQ(raw->source, cue);
        EXPECT_EQ(raw->inside, "/MPEGAV/AVSEQ01.DAT");
    }
    // The one opening of the disc tells the size too.
    const auto first = FindRawVcdSource(image.cue + "/MPEGAV/AVSEQ01.DAT");
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->size, VcdDisc::open(image.cue)->openFile("/MPEGAV/AVSEQ01.DAT")->size());
    EXPECT_GT(first->size, 0u);
    // Whatever follows the image is its path inside, even one the disc does not hold.
    const auto missing = FindRawVcdSource(image.cue + "/mpegav/avseq07.dat");
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->inside, "/mpegav/avseq07.dat");
    EXPECT_EQ(missing->size, 0u);
}

TEST_F(RawSourceTest, OtherPathsArePlayedAsTheyAre)
{
    const std::string folderCue = image.scratch().write("folder.cue/MPEGAV/AVSEQ01.DAT", readAll(image.clips[0].mpg));
    const struct {
        const char* name;
        std::string path;
    } cases[] = {
        {"a plain file", image.clips[0].mpg},
        {"a folder named .cue", folderCue},
        {"the image itself", image.cue},
        {"nothing after the image", image.cue + "/"},
        {"a missing image", image.scratch().file("nope.cue") + "/MPEGAV/AVSEQ01.DAT"},
        {"the bin", image.bin + "/MPEGAV/AVSEQ01.DAT"},
        {"no path", ""},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(FindRawVcdSource(c.path).has_value()) << c.name;
}

TEST_F(RawSourceTest, AForm2FileOnAnIso9660MountIsReadFromItsDisc)
{
    const std::string mount = image.scratch().file("mnt/VCD");
    const std::vector<MountPoint> mounts = {
        {"/", "ext4", "/dev/sda1"},
        {mount, "iso9660", image.cue},
        {mount + "/EXTRA", "vfat", image.cue},
    };
    const auto stream = FindRawVcdSourceOnMounts(mount + "/mpegav/avseq02.dat", mounts);
    ASSERT_TRUE(stream.has_value());
    EXPECT_EQ(stream->source, image.cue);
    EXPECT_EQ(stream->inside, "/mpegav/avseq02.dat");
    EXPECT_EQ(stream->size, VcdDisc::open(image.cue)->openFile("/MPEGAV/AVSEQ02.DAT")->size());
    // A Super Video CD's streams, in its MPEG2 folder, are read raw the same way.
    const std::string superMount = image.scratch().file("mnt/SVCD");
    const std::string superCue = VcdImage::superVideoCd().cue;
    const auto superStream = FindRawVcdSourceOnMounts(superMount + "/mpeg2/avseq01.mpg", {{superMount, "iso9660", superCue}});
    ASSERT_TRUE(superStream.has_value());
    EXPECT_EQ(superStream->source, superCue);
    EXPECT_EQ(superStream->inside, "/mpeg2/avseq01.mpg");

    const struct {
        const char* name;
        std::string path;
    } plain[] = {
        {"a Form 1 file", mount + "/VCD/INFO.VCD"},
        {"a file the disc lacks", mount + "/MPEGAV/AVSEQ09.DAT"},
        {"a folder", mount + "/MPEGAV"},
        {"the mount itself", mount},
        {"under another mount inside", mount + "/EXTRA/NOTES.BIN"},
        {"a name that only starts like the mount", mount + "X/MPEGAV/AVSEQ01.DAT"},
        {"on another file system", "/home/me/MPEGAV/AVSEQ01.DAT"},
    };
    for (const auto& c : plain)
        EXPECT_FALSE(FindRawVcdSourceOnMounts(c.path, mounts).has_value()) << c.name;

    // A file system mounted over the disc hides it.
    std::vector<MountPoint> covered = mounts;
    covered.push_back({mount, "tmpfs", "tmpfs"});
    EXPECT_FALSE(FindRawVcdSourceOnMounts(mount + "/MPEGAV/AVSEQ02.DAT", covered).has_value());
}

}  // namespace
