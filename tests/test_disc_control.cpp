// A Video CD's control and entry times read off the UI thread, from an image by its sectors
// and from a folder that holds a copy of its files.
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "components/discbay/vcd_disc.h"
#include "components/discbay/drive_view.h"
#include "disc/disc_control.h"
#include "tests/support/playback_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vcd_pbc_image.h"

namespace {

// The disc's files a folder needs for its control and its first track, copied as read.
void CopyFiles(const VcdDisc& disc, const TempDir& folder, const VcdDiscReading& reading)
{
    for (const std::string& path : {std::string("/SVCD/INFO.SVD"), std::string("/SVCD/ENTRIES.SVD"), reading.trackFiles.at(2)}) {
        const std::unique_ptr<VcdFile> file = disc.openFile(path);
        ASSERT_NE(file, nullptr) << path;
        std::string bytes(file->size(), '\0');
        ASSERT_EQ(file->read(0, bytes.data(), bytes.size()), static_cast<int64_t>(bytes.size())) << path;
        folder.write(path.substr(1), bytes);
    }
}

TEST(DiscControlReader, AnswersOffTheUiThreadForTheDiscOfTheMoment)
{
    const PbcImage image(PbcImage::Kind::SuperVideoCd);
    const VcdDiscSource source{VcdDiscSource::Kind::Sectors, image.cue};
    DiscControlReader reader;
    QSignalSpy read(&reader, &DiscControlReader::controlRead);
    QSignalSpy timed(&reader, &DiscControlReader::entryTimesRead);

    reader.read(3, source);
    reader.read(4, source);
    reader.forget(3);
    EXPECT_TRUE(read.isEmpty()) << "the answers come from the event loop";
    // Both readings done, their answers posted.
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(read.count(), 1) << "drive 3's disc left before its answer came";
    EXPECT_EQ(read[0][0].toUInt(), 4u);
    const auto reading = read[0][1].value<DiscControlReader::Reading>();
    ASSERT_TRUE(reading && reading->control && reading->control->pbc) << reading->problem;
    EXPECT_TRUE(timed.isEmpty());

    // Track 1 (CD track 2) has its start and an entry asked for at 1 s, which lands on a
    // group of pictures near it.
    const TempDir folder;
    CopyFiles(*VcdDisc::open(image.cue), folder, *reading);
    reader.readEntryTimes(4, source, reading, 2);
    reader.readEntryTimes(5, {VcdDiscSource::Kind::Folder, folder.path()}, reading, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timed.count() == 2; }));
    std::map<uint32_t, DiscControlReader::EntryTimes> times;
    for (const QList<QVariant>& answer : timed) {
        EXPECT_EQ(answer[1].toUInt(), 2u);
        times[answer[0].toUInt()] = answer[2].value<DiscControlReader::EntryTimes>();
    }
    ASSERT_EQ(times[4].size(), 2u);
    ASSERT_TRUE(times[4][0] && times[4][1]);
    EXPECT_NEAR(*times[4][0], 0, 0.05);
    EXPECT_GT(*times[4][1], 0.5);
    EXPECT_LT(*times[4][1], 1.5);
    EXPECT_EQ(times[5], times[4]) << "the folder's copy reads as the image";
}

TEST(Chapters, NextGoesToTheFollowingOnePreviousToTheStartOrTheOneBefore)
{
    const std::vector<uint32_t> three{11, 1811, 3011};
    struct Row {
        std::vector<uint32_t> starts;
        uint32_t at;
        std::optional<uint32_t> next, previous;
    };
    const Row rows[] = {
        {three, 500, 1811, std::nullopt},  // in the first chapter, Previous leaves the track
        {three, 1811, 3011, 11},
        {three, 2000, 3011, 11},           // less than 5 s into a chapter: the one before
        {three, 9000, std::nullopt, 3011}, // more: its own start
        {three, 0, 11, std::nullopt},      // before the first entry's picture
        {{11}, 500, std::nullopt, std::nullopt},  // only the track's start: no chapters
        {{}, 500, std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NextChapter(row.starts, row.at), row.next) << row.at;
        EXPECT_EQ(PreviousChapter(row.starts, row.at), row.previous) << row.at;
    }
}

// Both lie on Qt's pool: when it is done, their answers have been posted.
void Settle()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

// The Video CD's tracks as chapters, its image opened as a drive and loaded as a disc.
class ChaptersTest : public PlaybackTest {
protected:
    ChaptersTest()
    {
        records.settings.entryPointsAsChapters = 1;
        engine->length = 10000;
        records.drives.addImage(image.cue);
        playback().LoadDisc(*records.drives.current().driveOf(image.cue), 0);
        // The control, then the opened track's entry times.
        Settle();
        Settle();
    }
    // Where a track's entry points lie, in milliseconds, as the reader gives them.
    std::vector<uint32_t> entries(uint8_t cdTrack)
    {
        const VcdDiscSource source{VcdDiscSource::Kind::Sectors, image.cue};
        std::vector<uint32_t> starts;
        for (const std::optional<double>& time : ReadTrackEntryTimes(source, ReadVcdDisc(source), cdTrack))
            starts.push_back(static_cast<uint32_t>(std::lround(time.value_or(-1) * 1000)));
        return starts;
    }

    const PbcImage image{PbcImage::Kind::VideoCd};
};

TEST_F(ChaptersTest, NextAndPreviousStepThroughATracksEntryPointsBeforeLeavingIt)
{
    const std::vector<uint32_t> first = entries(2);
    const std::vector<uint32_t> second = entries(3);
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    ASSERT_EQ(records.state.currentTrack, 1u);
    struct Step {
        uint32_t at;
        bool next;
        uint32_t track;  // where it is then
        std::optional<uint32_t> seeked;
    };
    const Step steps[] = {
        {500, true, 1, first[1]},                // the next chapter
        {first[1] + 100, true, 2, std::nullopt},  // past the last one: the next track
        {500, true, 2, second[1]},
        {second[1] + 100, false, 2, second[0]},  // within a chapter's first 5 s: the one before
        {500, false, 1, std::nullopt},           // in the first: the previous track
    };
    for (const Step& step : steps) {
        engine->position = step.at;
        Settle();  // a newly opened track's times
        ASSERT_TRUE(playback().DispatchCommand(step.next ? CommandId::NextTrack : CommandId::PreviousTrack,
                                               CommandPhase::Click));
        EXPECT_EQ(records.state.currentTrack, step.track) << step.at;
        if (step.seeked) {
            EXPECT_EQ(engine->position, *step.seeked) << step.at;
        }
    }
    // Without chapters, the tracks step as they always did.
    records.settings.entryPointsAsChapters = 0;
    engine->position = 500;
    ASSERT_TRUE(playback().DispatchCommand(CommandId::NextTrack, CommandPhase::Click));
    EXPECT_EQ(records.state.currentTrack, 2u);
}

}  // namespace
