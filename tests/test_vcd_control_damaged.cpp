#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "components/discbay/vcd_control.h"
#include "components/discbay/vcd_disc.h"
#include "tests/support/vcd_pbc_image.h"

// The control files of the Video CD fixture damaged on purpose: playback control goes, with a
// reason, and the disc's entries stay. The lists are those of tests/fixtures/vcd-pbc.xml.

namespace {

struct Files {
    std::string info, entries, lot, psd, lotX, psdX;
    VcdControlFiles view() const { return {info, entries, lot, psd, lotX, psdX}; }
};

std::string whole(const VcdDisc& disc, const std::string& path)
{
    const std::unique_ptr<VcdFile> file = disc.openFile(path);
    std::string bytes(file ? file->size() : 0, '\0');
    if (file && file->read(0, bytes.data(), bytes.size()) != static_cast<int64_t>(bytes.size()))
        bytes.clear();
    return bytes;
}

void put8(std::string& bytes, size_t at, unsigned value) { bytes.at(at) = static_cast<char>(value); }

void put16(std::string& bytes, size_t at, unsigned value)
{
    put8(bytes, at, value >> 8);
    put8(bytes, at + 1, value & 0xFF);
}

// Where list `lid` starts in the intact PSD, in units of 8 bytes and in bytes.
struct Place {
    unsigned offset;
    size_t byte;
};

// Fields of the lists, from the start of each.
constexpr size_t kItemCount = 1;       // play list: number of items
constexpr size_t kSelectionCount = 2;  // selection list: number of selections
constexpr size_t kFirstNumber = 3;     // selection list: the first selection's number
constexpr size_t kPlayNext = 6;
constexpr size_t kPlayWait = 12;
constexpr size_t kPlayItems = 14;
constexpr size_t kSelectionTimeout = 14;
constexpr size_t kMultiplier = 51;  // in INFO

using Damage = std::function<void(Files&, const std::function<Place(unsigned)>&)>;

struct DamageCase {
    const char* name;
    Damage damage;
    bool pbcStays;
    bool areasStay;
    const char* because = "";  // part of the reason given
};

// List 3 plays entry 1 and track 2 with no wait, then goes on to list 4; list 5 plays the three
// tracks with no wait. Emptied, each shows nothing and passes on at once.
void empty(Files& f, Place list)
{
    const size_t count = static_cast<unsigned char>(f.psd.at(list.byte + kItemCount));
    for (size_t i = 0; i < count; ++i)
        put16(f.psd, list.byte + kPlayItems + 2 * i, 0);
}

const DamageCase kDamage[] = {
    {"Intact", [](Files&, const auto&) {}, true, true},
    {"MultiplierIsNotEight", [](Files& f, const auto&) { put8(f.info, kMultiplier, 4); }, false, false,
     "multiplier"},
    {"PsdShorterThanInfoTells", [](Files& f, const auto&) { f.psd.resize(f.psd.size() / 2); }, false, false,
     "INFO tells"},
    // Playback starts at offset 0 when the LOT leaves list 1 out.
    {"LotWithoutListOne", [](Files& f, const auto&) { put16(f.lot, 2, 0xFFFF); }, true, true},
    {"LotPointsPastThePsd", [](Files& f, const auto&) { put16(f.lot, 2 * 2, unsigned(f.psd.size() / 8 + 1)); },
     false, false, "past the PSD's end"},
    {"LinkPointsPastThePsd", [](Files& f, const auto& lid) { put16(f.psd, lid(1).byte + kSelectionTimeout, 0x7FFF); },
     false, false, "past the PSD's end"},
    {"LinkPointsIntoAList",
     [](Files& f, const auto& lid) { put16(f.psd, lid(2).byte + kPlayNext, lid(2).offset + 1); }, false, false,
     "no list of a known type"},
    {"UnknownListType", [](Files& f, const auto& lid) { put8(f.psd, lid(4).byte, 0x11); }, false, false,
     "no list of a known type"},
    {"PlayListRunsPastTheEnd", [](Files& f, const auto& lid) { put8(f.psd, lid(5).byte + kItemCount, 255); }, false,
     false, "a play list runs past"},
    {"SelectionListRunsPastTheEnd",
     [](Files& f, const auto& lid) { put8(f.psd, lid(1).byte + kSelectionCount, 200); }, false, false,
     "a selection list runs past"},
    {"SelectionsNumberedPast99", [](Files& f, const auto& lid) { put8(f.psd, lid(1).byte + kFirstNumber, 98); },
     false, false, "outside 1 to 99"},
    {"EmptyListGoesOnToItself",
     [](Files& f, const auto& lid) {
         empty(f, lid(3));
         put16(f.psd, lid(3).byte + kPlayNext, lid(3).offset);
     },
     false, false, "without showing anything"},
    {"EmptyListsGoOnToEachOther",
     [](Files& f, const auto& lid) {
         empty(f, lid(3));
         empty(f, lid(5));
         put16(f.psd, lid(3).byte + kPlayNext, lid(5).offset);
         put16(f.psd, lid(5).byte + kPlayNext, lid(3).offset);
     },
     false, false, "without showing anything"},
    // A wait leaves the keys time to leave it: no trap.
    {"EmptyListThatWaitsGoesOnToItself",
     [](Files& f, const auto& lid) {
         empty(f, lid(3));
         put16(f.psd, lid(3).byte + kPlayNext, lid(3).offset);
         put8(f.psd, lid(3).byte + kPlayWait, 5);
     },
     true, true},
    // The areas go with it; the standard lists stay. The last list's areas end a few bytes of
    // padding before the file does.
    {"ExtendedPsdCutShort", [](Files& f, const auto&) { f.psdX.resize(f.psdX.size() - 8); }, true, false,
     "runs past"},
};

class DamagedPsd : public ::testing::TestWithParam<DamageCase> {};

TEST_P(DamagedPsd, TurnsPlaybackControlOffAndKeepsTheEntries)
{
    const PbcImage image(PbcImage::Kind::VideoCd);
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(image.cue);
    ASSERT_NE(disc, nullptr);
    Files files{whole(*disc, "/VCD/INFO.VCD"), whole(*disc, "/VCD/ENTRIES.VCD"), whole(*disc, "/VCD/LOT.VCD"),
                whole(*disc, "/VCD/PSD.VCD"),  whole(*disc, "/EXT/LOT_X.VCD"),   whole(*disc, "/EXT/PSD_X.VCD")};
    const std::optional<VcdControl> intact = ParseVcdControl(files.view());
    ASSERT_TRUE(intact && intact->pbc) << (intact ? intact->pbcProblem : "no INFO");
    ASSERT_FALSE(intact->entries.empty());
    const VcdPbc& pbc = *intact->pbc;
    GetParam().damage(files, [&](unsigned lid) {
        const uint16_t offset = pbc.lidOffsets.at(static_cast<uint16_t>(lid));
        return Place{offset, size_t{offset} * 8};
    });

    const std::optional<VcdControl> damaged = ParseVcdControl(files.view());
    ASSERT_TRUE(damaged.has_value());
    EXPECT_EQ(damaged->entries, intact->entries);
    EXPECT_EQ(damaged->pbc.has_value(), GetParam().pbcStays);
    EXPECT_EQ(damaged->pbcProblem.empty(), GetParam().pbcStays) << damaged->pbcProblem;
    EXPECT_NE((damaged->pbcProblem + damaged->areasProblem).find(GetParam().because), std::string::npos)
        << damaged->pbcProblem << damaged->areasProblem;
    if (!damaged->pbc)
        return;
    EXPECT_EQ(damaged->pbc->firstOffset, 0u);
    EXPECT_EQ(damaged->pbc->lists.size(), intact->pbc->lists.size()) << "every list is still reached";
    // List 7 is the one with areas.
    const auto* menu = std::get_if<VcdSelectionList>(damaged->pbc->ofLid(7));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->areas.has_value(), GetParam().areasStay);
    EXPECT_EQ(damaged->areasProblem.empty(), GetParam().areasStay) << damaged->areasProblem;
}

INSTANTIATE_TEST_SUITE_P(VcdControl, DamagedPsd, ::testing::ValuesIn(kDamage),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
