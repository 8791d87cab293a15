// A Video CD's control and entry times read off the UI thread, from an image by its sectors
// and from a folder that holds a copy of its files.
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "components/discbay/vcd_disc.h"
#include "disc/disc_control.h"
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

}  // namespace
