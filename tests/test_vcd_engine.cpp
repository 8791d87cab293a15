#include <QSignalSpy>

#include <cmath>

#include "components/discbay/vcd_control_reader.h"
#include "components/discbay/vcd_stream.h"
#include "tests/support/vcd_image.h"
#include "tests/support/vcd_pbc_image.h"
#include "tests/test_reelkit_support.h"

namespace {

// ---- the stream's address ----

TEST(VcdStreamUrl, CarriesAnySourceAndPathThereAndBack)
{
    const RawVcdSource sources[] = {
        {"/dev/sr0", "/MPEGAV/AVSEQ01.DAT"},
        {"/home/me/my discs/holiday 100%.cue", "/mpegav/avseq02.dat"},
        {"/tmp/ünïcödé/диск.CUE", "/MPEGAV/ÄVSEQ.DAT"},
        {"/a/b.cue/c", "/quintaravcd://x/y?z#w"},
        {std::string("/x\n\t\\\"'.cue", 11), std::string("/\x01\xff", 3)},
    };
    for (const RawVcdSource& source : sources) {
        const std::string url = VcdStreamUrl(source);
        EXPECT_EQ(url.find_first_of(" \n\t%?#\\\"'"), std::string::npos) << url;
        const auto back = ParseVcdStreamUrl(url);
        ASSERT_TRUE(back.has_value()) << url;
        EXPECT_EQ(back->source, source.source);
        EXPECT_EQ(back->inside, source.inside);
    }
}

TEST(VcdStreamUrl, OtherAddressesNameNoSource)
{
    const std::string good = VcdStreamUrl({"/dev/sr0", "/MPEGAV/AVSEQ01.DAT"});
    const std::string bad[] = {
        "",
        "/dev/sr0",
        "file:///dev/sr0",
        good.substr(0, good.find('/', 15)),           // no path inside
        good.substr(0, good.size() - 1),              // an odd number of digits
        std::string(good).replace(16, 1, "G"),        // not a digit
        std::string(good).replace(16, 1, "A"),        // digits are lowercase
        "quintaravcd:///2f",                           // no source
        "quintaravcd://2f/",                           // nothing inside
    };
    for (const std::string& url : bad)
        EXPECT_FALSE(ParseVcdStreamUrl(url).has_value()) << url;
}

// ---- libmpv through the reader ----

class VcdEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = ShownImageWindow();
        engine = StartedSoftwareEngine();
    }
    void TearDown() override
    {
        engine.reset();
        window.reset();
    }
    uint16_t status()
    {
        const std::optional<uint16_t> value = engine->getStatus();
        EXPECT_TRUE(value);
        return value.value_or(99);
    }
    uint32_t position()
    {
        const std::optional<uint32_t> value = engine->getCurrentPosition();
        EXPECT_TRUE(value);
        return value.value_or(0);
    }
    uint32_t length()
    {
        const std::optional<uint32_t> value = engine->getLength();
        EXPECT_TRUE(value);
        return value.value_or(0);
    }

    const VcdImage& image = VcdImage::get();
    std::unique_ptr<TestImageWindow> window;
    std::unique_ptr<MpvEngine> engine;
};

// Two frames of the clips' 25 a second.
constexpr uint32_t kTwoFramesMs = 2 * 1000 / VcdImage::kFramesPerSecond;

class VcdEngineTracks : public VcdEngineTest, public ::testing::WithParamInterface<int> {};

TEST_P(VcdEngineTracks, PlaysATrackOfTheImageToItsEnd)
{
    const int track = GetParam();
    const uint32_t clipMs = static_cast<uint32_t>(std::lround(image.clips[track - 1].seconds * 1000));
    ASSERT_EQ(OpenAnswer(*engine, window.get(), image.trackPath(track)), 1u) << image.trackPath(track);
    EXPECT_EQ(status(), 0);
    const uint32_t total = length();
    RecordProperty("lengthMs", static_cast<int>(total));
    EXPECT_NEAR(total, clipMs, kTwoFramesMs);
    ASSERT_NE(engine->pictureWidget(), nullptr);

    ASSERT_TRUE(engine->play());
    EXPECT_EQ(status(), 2);
    uint32_t furthest = 0;
    ASSERT_TRUE(WaitUntil([&] {
        furthest = std::max(furthest, position());
        return status() == 0;
    }, static_cast<int>(clipMs) + kDecodeDeadlineMs));
    EXPECT_EQ(position(), total);
    EXPECT_GE(furthest, total - kTwoFramesMs);
}

INSTANTIATE_TEST_SUITE_P(Image, VcdEngineTracks, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "Track" + std::to_string(info.param); });

TEST_F(VcdEngineTest, ATrackThroughTheReaderLastsAsLongAsItsClip)
{
    // A Super Video CD's MPEG-2 streams lie in Form 2 sectors too.
    for (const VcdImage* disc : {&image, &VcdImage::superVideoCd()}) {
        ASSERT_EQ(OpenAnswer(*engine, nullptr, disc->clips[0].mpg), 1u);
        const uint32_t plain = length();
        ASSERT_EQ(OpenAnswer(*engine, nullptr, disc->trackPath(1)), 1u) << disc->trackPath(1);
        EXPECT_NEAR(length(), plain, kTwoFramesMs) << disc->trackPath(1);
    }
}

TEST_F(VcdEngineTest, SeeksInATrackAndPlaysOnFromThere)
{
    ASSERT_EQ(OpenAnswer(*engine, window.get(), image.trackPath(1)), 1u);
    ASSERT_TRUE(engine->seek(1200));
    ASSERT_TRUE(WaitUntil([&] { return position() == 1200; }));
    ASSERT_TRUE(engine->play());
    EXPECT_TRUE(WaitUntil([&] { return position() >= 1500 && status() == 2; }));
}

// A still is a one-frame stream: as a file it is too short to play; as a still it ends after
// its frame and its picture stays, or with its second of sound when it has one, while a motion
// item opened the same way plays its whole length.
TEST_F(VcdEngineTest, AStillEndsAtOnceAndKeepsItsPicture)
{
    const PbcImage disc(PbcImage::Kind::VideoCd);
    const VcdDiscReading reading = ReadVcdDisc({VcdDiscSource::Kind::Sectors, disc.cue});
    const std::string still = disc.cue + reading.segmentFiles.at(0);
    const std::string motion = disc.cue + reading.segmentFiles.at(2);
    const std::string voiced = disc.cue + reading.segmentFiles.rbegin()->second;
    EXPECT_EQ(OpenAnswer(*engine, window.get(), still), 0u) << still;
    const std::string byDefault = engine->imageDurationInForce();
    QSignalSpy ended(engine.get(), &ReelkitEngine::endOfFile);
    struct Item {
        const std::string& path;
        uint32_t atLeastMs, atMostMs;  // its length
    };
    for (const Item& item : {Item{still, 0, 100}, Item{motion, 300, 700}, Item{voiced, 900, 1100}}) {
        ended.clear();
        ASSERT_EQ(OpenAnswer(*engine, window.get(), item.path, OpenAs::Still), 1u) << item.path;
        ASSERT_TRUE(engine->play());
        ASSERT_TRUE(WaitUntil([&] { return ended.count() == 1; })) << item.path;
        EXPECT_EQ(status(), 0);
        EXPECT_EQ(position(), length());
        EXPECT_GE(length(), item.atLeastMs) << item.path;
        EXPECT_LE(length(), item.atMostMs) << item.path;
        EXPECT_NE(engine->pictureWidget(), nullptr) << item.path;
        EXPECT_EQ(std::stod(engine->imageDurationInForce()), 0) << "for this file";
    }
    ASSERT_EQ(OpenAnswer(*engine, window.get(), image.trackPath(1)), 1u);
    EXPECT_EQ(engine->imageDurationInForce(), byDefault) << "a still's time is no other file's";
    EXPECT_NE(std::stod(byDefault), 0);
}

TEST_F(VcdEngineTest, WhatTheImageDoesNotHoldIsRefused)
{
    image.scratch().write("garbage.bin", std::string(600 * 2352, '\x5a'));
    const std::string garbage = image.scratch().write(
        "garbage.cue", "FILE \"garbage.bin\" BINARY\n  TRACK 01 MODE2/2352\n    INDEX 01 00:00:00\n");
    const std::string refused[] = {
        garbage + "/MPEGAV/AVSEQ01.DAT",
        image.cue + "/MPEGAV/AVSEQ09.DAT",
        image.cue + "/MPEGAV",
        image.cue + "/NOPE/AVSEQ01.DAT",
    };
    for (const std::string& path : refused) {
        EXPECT_EQ(OpenAnswer(*engine, window.get(), path), 0u) << path;
        EXPECT_EQ(status(), 0);
        EXPECT_EQ(engine->pictureWidget(), nullptr);
    }
    EXPECT_EQ(OpenAnswer(*engine, window.get(), image.trackPath(2)), 1u);
}

}  // namespace
