#include "disc/disc_control.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

template <typename Result, typename Work, typename Done>
void DiscControlReader::offThread(uint32_t drive, Work work, Done done)
{
    const uint32_t slot = drive % kDriveCount;
    auto* watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcher<Result>::finished, this,
            [this, watcher, slot, asked = generation_[slot], done = std::move(done)] {
                watcher->deleteLater();
                if (asked == generation_[slot])
                    done(watcher->result());
            });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

void DiscControlReader::read(uint32_t drive, const VcdDiscSource& source)
{
    offThread<Reading>(
        drive, [source] { return Reading(std::make_shared<const VcdDiscReading>(ReadVcdDisc(source))); },
        [this, drive](const Reading& reading) { emit controlRead(drive, reading); });
}

void DiscControlReader::readEntryTimes(uint32_t drive, const VcdDiscSource& source, const Reading& reading,
                                       uint8_t cdTrack)
{
    offThread<EntryTimes>(
        drive, [source, reading, cdTrack] { return ReadTrackEntryTimes(source, *reading, cdTrack); },
        [this, drive, cdTrack](const EntryTimes& times) { emit entryTimesRead(drive, cdTrack, times); });
}

void DiscControlReader::forget(uint32_t drive)
{
    ++generation_[drive % kDriveCount];
}
