#pragma once

#include <QObject>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "components/discbay/drive_table.h"
#include "components/discbay/vcd_control_reader.h"

// What a Video CD holds beyond its tracks, read off the UI thread: its control files at its
// arrival, the times of a track's entry points when they are first wanted. A drive that has to
// spin up takes seconds; the work shares nothing with the player and hands its result back by
// a queued signal. Answers come for the drive's disc of the moment: forgetting a drive drops
// what is still on the way for it.
class DiscControlReader : public QObject {
    Q_OBJECT
public:
    using Reading = std::shared_ptr<const VcdDiscReading>;
    using EntryTimes = std::vector<std::optional<double>>;

    void read(uint32_t drive, const VcdDiscSource& source);
    void readEntryTimes(uint32_t drive, const VcdDiscSource& source, const Reading& reading, uint8_t cdTrack);
    // The drive's disc has left, or another replaced it.
    void forget(uint32_t drive);

signals:
    void controlRead(uint32_t drive, DiscControlReader::Reading reading);
    void entryTimesRead(uint32_t drive, uint8_t cdTrack, DiscControlReader::EntryTimes times);

private:
    // Runs work on the pool and gives its result to done on this thread, unless the drive
    // was forgotten meanwhile.
    template <typename Result, typename Work, typename Done>
    void offThread(uint32_t drive, Work work, Done done);

    std::array<uint64_t, kDriveCount> generation_{};
};
