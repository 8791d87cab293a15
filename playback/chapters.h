#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QObject>

#include "disc/disc_control.h"

class DriveTable;

// Where Next and Previous go inside a track whose entry points are its chapters, given the
// chapters' starts in milliseconds (the track's own start first) and the position: the time to
// seek to, or nothing when the track is to be left as it is without chapters. A track with no
// entry point but its start has none.
std::optional<uint32_t> NextChapter(const std::vector<uint32_t>& starts, uint32_t position);
std::optional<uint32_t> PreviousChapter(const std::vector<uint32_t>& starts, uint32_t position);

// How far into a chapter Previous goes back to its start rather than to the chapter before.
constexpr uint32_t kChapterRestartMs = 5000;

// The entry points of the Video CDs in the drives as chapters of their tracks. A disc's control
// is read when it arrives or is first asked about, a track's entry times when first asked for;
// until they are back a track has no chapters. Playback control reads its lists and its entries'
// times here too, and hears when they come.
class DiscChapters : public QObject {
    Q_OBJECT
public:
    DiscChapters();

    // A disc came into the drive, or left it. Answers whether the disc's control is being read,
    // which a drive without a door does not have.
    bool arrived(uint32_t drive, const DriveTable& table);
    void left(uint32_t drive);
    // The chapters' starts of the track at path, in milliseconds; empty while unknown, and
    // asked for then (a track's are wanted from when it opens).
    std::vector<uint32_t> startsOf(const std::string& path, const DriveTable& table);

    // What playback control reads of a drive's disc: its control once read (null before), the
    // folder its files lie in, and the times of a CD track's entry points in the order ENTRIES
    // lists them (nothing while unknown, and asked for then).
    DiscControlReader::Reading readingOf(uint32_t drive) const;
    std::string rootOf(uint32_t drive) const;
    std::optional<DiscControlReader::EntryTimes> timesOf(uint32_t drive, uint8_t cdTrack);
    const DiscControlReader::EntryTimes* knownTimesOf(uint32_t drive, uint8_t cdTrack) const;

signals:
    void controlKnown(uint32_t drive);
    void timesKnown(uint32_t drive);

private:
    struct Disc {
        VcdDiscSource source;
        std::string root;    // the drive's, which the play list's paths begin with
        std::string wanted;  // a track asked for before the control was read
        DiscControlReader::Reading reading;  // null until read
        std::map<uint8_t, DiscControlReader::EntryTimes> times;  // by CD track, once read
        std::set<uint8_t> asked;  // CD tracks whose times are on the way or read
    };

    Disc* discOf(uint32_t drive, const DriveTable& table);
    // The known times of a track of the disc, asking for them once when not known.
    const DiscControlReader::EntryTimes* timesIn(uint32_t drive, Disc& disc, uint8_t cdTrack);
    std::optional<uint8_t> cdTrackOf(const Disc& disc, const std::string& path) const;
    void controlRead(uint32_t drive, const DiscControlReader::Reading& reading);
    void timesRead(uint32_t drive, uint8_t cdTrack, const DiscControlReader::EntryTimes& times);

    DiscControlReader reader_;
    std::map<uint32_t, Disc> discs_;
};
