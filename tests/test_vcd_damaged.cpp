#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "components/discbay/vcd_disc.h"
#include "tests/support/test_clips.h"
#include "tests/support/vcd_image.h"
#include "tests/test_vcd_layout.h"

// Disc images damaged on purpose: each is refused, or its damaged part is, without a crash and
// without reading beyond what the image holds.

namespace {

namespace fs = std::filesystem;
using namespace vcdlayout;

size_t firstTrack(const std::string& bin) { return trackRecord(bin, "AVSEQ01.DAT"); }

// Fills the rest of the streams' directory sector with copies of its last record, the last copy
// running past the sector's end.
void recordsPastTheSector(std::string& bin)
{
    const size_t last = trackRecord(bin, "AVSEQ03.DAT");
    const size_t length = static_cast<unsigned char>(bin[last]);
    const size_t sectorEnd = dataOf(read32(bin, mpegavRecord(bin) + kExtent)) + kForm1Data;
    std::string record = bin.substr(last, length);
    size_t at = last + length;
    if ((sectorEnd - at) % length == 0) {  // one longer copy, so that none ends on the sector's end
        record.push_back('\0');
        record[0] = static_cast<char>(length + 1);
    }
    for (; at < sectorEnd; at += record.size())
        bin.replace(at, std::min(record.size(), sectorEnd - at), record.substr(0, sectorEnd - at));
}

struct ImageFiles {
    std::string cue;
    std::string bin;
    bool binBeside = true;  // a .bin named like the .cue lies beside it
};
using Damage = std::function<void(ImageFiles&)>;

// What is still readable of a damaged image.
enum class Left { Nothing, NoStreamFolder, AllButTheFirstStream, TheListingButNoStream, Everything };

struct DamageCase {
    const char* name;
    Damage damage;
    Left left;
};

const DamageCase kDamage[] = {
    {"MissingBin", [](ImageFiles& f) { f.binBeside = false; }, Left::Nothing},
    // A cue renamed with its data but not its text: the data named like the cue is read.
    {"FileLineNamesAMissingBin", [](ImageFiles& f) { f.cue.replace(f.cue.find("disc.bin"), 8, "gone.bin"); },
     Left::Everything},
    {"EmptyBin", [](ImageFiles& f) { f.bin.clear(); }, Left::Nothing},
    {"GarbageBin", [](ImageFiles& f) { f.bin = Noise(f.bin.size(), 77); }, Left::Nothing},
    {"GarbageCue", [](ImageFiles& f) { f.cue = Noise(f.cue.size(), 77); }, Left::Nothing},
    {"BinCutBeforeTheFileSystem", [](ImageFiles& f) { f.bin.resize(10 * kRawSector); }, Left::Nothing},
    {"NoVolumeDescriptor", [](ImageFiles& f) { f.bin.replace(dataOf(kPvdSector) + 1, 5, "XXXXX"); }, Left::Nothing},
    {"RootClaimsAbsurdSize", [](ImageFiles& f) { writeBoth32(f.bin, rootRecord() + kDataLength, 0xfffff800u); },
     Left::Nothing},
    {"RootBeyondTheImage", [](ImageFiles& f) { writeBoth32(f.bin, rootRecord() + kExtent, 0x7fffff00u); },
     Left::Nothing},
    {"FolderClaimsAbsurdSize",
     [](ImageFiles& f) { writeBoth32(f.bin, mpegavRecord(f.bin) + kDataLength, 0xfffff800u); },
     Left::NoStreamFolder},
    {"FolderBeyondTheImage", [](ImageFiles& f) { writeBoth32(f.bin, mpegavRecord(f.bin) + kExtent, 0xfffffff0u); },
     Left::NoStreamFolder},
    {"NameLongerThanItsRecord",
     [](ImageFiles& f) { f.bin[firstTrack(f.bin) + kNameLength] = static_cast<char>(250); }, Left::NoStreamFolder},
    {"RecordShorterThanItsFields", [](ImageFiles& f) { f.bin[firstTrack(f.bin)] = 20; }, Left::NoStreamFolder},
    {"RecordsRunPastTheirSector", [](ImageFiles& f) { recordsPastTheSector(f.bin); }, Left::NoStreamFolder},
    {"FileClaimsAbsurdSize",
     [](ImageFiles& f) { writeBoth32(f.bin, firstTrack(f.bin) + kDataLength, 0xffffffffu); },
     Left::AllButTheFirstStream},
    {"FileBeyondTheImage", [](ImageFiles& f) { writeBoth32(f.bin, firstTrack(f.bin) + kExtent, 0xfffffff0u); },
     Left::AllButTheFirstStream},
    // The image ends where the bin does: streams recorded past it are refused.
    {"BinCutInTheFirstStream",
     [](ImageFiles& f) { f.bin.resize((read32(f.bin, firstTrack(f.bin) + kExtent) + 50) * kRawSector); },
     Left::TheListingButNoStream},
};

class DamagedImage : public ::testing::TestWithParam<DamageCase> {
protected:
    // A copy of the image in a folder of its own, damaged.
    std::string damagedCue()
    {
        const fs::path folder = fs::path(image.scratch().path()) / GetParam().name;
        fs::create_directories(folder);
        ImageFiles files{readAll(image.cue), readAll(image.bin)};
        GetParam().damage(files);
        writeAll(folder / "disc.cue", files.cue);
        if (files.binBeside)
            writeAll(folder / "disc.bin", files.bin);
        return (folder / "disc.cue").string();
    }

    const VcdImage& image = VcdImage::get();
};

TEST_P(DamagedImage, IsRefusedWhereItIsDamaged)
{
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(damagedCue());
    const Left left = GetParam().left;
    if (left == Left::Nothing) {
        EXPECT_EQ(disc, nullptr);
        return;
    }
    ASSERT_NE(disc, nullptr);
    EXPECT_EQ(disc->label(), VcdImage::kLabel);
    ASSERT_TRUE(disc->list("/").has_value());
    EXPECT_NE(disc->openFile("/VCD/INFO.VCD"), nullptr);

    const auto streams = disc->list("/MPEGAV");
    const std::unique_ptr<VcdFile> first = disc->openFile("/MPEGAV/AVSEQ01.DAT");
    const std::unique_ptr<VcdFile> second = disc->openFile("/MPEGAV/AVSEQ02.DAT");
    const bool listed = left != Left::NoStreamFolder;
    EXPECT_EQ(streams.has_value(), listed);
    if (listed && streams) {
        EXPECT_EQ(streams->size(), std::size(VcdImage::kClipSeconds));
    }
    EXPECT_EQ(first != nullptr, left == Left::Everything);
    EXPECT_EQ(second != nullptr, left == Left::Everything || left == Left::AllButTheFirstStream);
    if (second) {
        std::string start(4096, '\0');
        EXPECT_EQ(second->read(0, start.data(), start.size()), 4096);
    }
}

INSTANTIATE_TEST_SUITE_P(Images, DamagedImage, ::testing::ValuesIn(kDamage),
                         [](const auto& info) { return std::string(info.param.name); });

// An image cut short while a file of it is open: what was read stays right, what is read
// from then on fails.
TEST(DamagedSource, AnImageChangedWhileOpenIsReadNoMore)
{
    const VcdImage& image = VcdImage::get();
    const fs::path folder = fs::path(image.scratch().path()) / "cut";
    fs::create_directories(folder);
    const std::string bin = readAll(image.bin);
    writeAll(folder / "disc.cue", readAll(image.cue));
    writeAll(folder / "disc.bin", bin);
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open((folder / "disc.cue").string());
    ASSERT_NE(disc, nullptr);
    const std::unique_ptr<VcdFile> file = disc->openFile("/MPEGAV/AVSEQ01.DAT");
    ASSERT_NE(file, nullptr);
    std::string before(file->size(), '\0');
    ASSERT_EQ(file->read(0, before.data(), before.size()), static_cast<int64_t>(before.size()));

    fs::resize_file(folder / "disc.bin", (read32(bin, firstTrack(bin) + kExtent) + 50) * kRawSector);
    std::string buffer(64 * kForm2Data, '\0');
    for (const uint64_t at : {uint64_t{0}, 40 * kForm2Data + 7, 100 * kForm2Data, file->size() - 1})
        EXPECT_EQ(file->read(at, buffer.data(), buffer.size()), -1) << at;
    EXPECT_EQ(file->read(file->size(), buffer.data(), 1), 0);
    EXPECT_EQ(disc->openFile("/MPEGAV/AVSEQ02.DAT")->read(0, buffer.data(), 1), -1);
}

// libcdio takes the .bin named like the .cue, its extension in the same case.
TEST(ImageNames, AnImageOpensWithTheBinOfItsName)
{
    const VcdImage& image = VcdImage::get();
    const struct {
        const char* cue;
        const char* bin;
    } pairs[] = {{"lower.cue", "lower.bin"}, {"UPPER.CUE", "UPPER.BIN"}};
    for (const auto& pair : pairs) {
        const fs::path folder = fs::path(image.scratch().path()) / "names";
        fs::create_directories(folder);
        writeAll(folder / pair.cue, readAll(image.cue));
        fs::create_symlink(image.bin, folder / pair.bin);
        const std::unique_ptr<VcdDisc> disc = VcdDisc::open((folder / pair.cue).string());
        ASSERT_NE(disc, nullptr) << pair.cue;
        EXPECT_NE(disc->openFile("/MPEGAV/AVSEQ01.DAT"), nullptr) << pair.cue;
    }
}

TEST(DamagedSource, WhatIsNoDiscImageNorDeviceIsRefused)
{
    const VcdImage& image = VcdImage::get();
    const std::string folderCue = image.scratch().path() + "/folder.cue";
    fs::create_directories(folderCue);
    for (const std::string& source : {std::string(), image.bin, image.clips[0].mpg, folderCue,
                                      image.scratch().file("nope.cue"), std::string("/dev/null")})
        EXPECT_EQ(VcdDisc::open(source), nullptr) << source;
}

}  // namespace
