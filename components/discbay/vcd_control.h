#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A Video CD's control files (INFO, ENTRIES, LOT, PSD and the extended LOT_X/PSD_X) read from
// their bytes into plain values. Nothing here trusts a byte: a damaged PSD turns playback
// control off with a reason, and the rest of the disc still reads.

enum class VcdDiscKind : uint8_t { VideoCd1, VideoCd2, SuperVideoCd, HqVideoCd };

// What one segment of the segment play item area holds, as INFO's byte for it tells.
struct VcdSegmentKind {
    enum class Video : uint8_t {
        None, NtscStill, NtscHiResStill, NtscMotion, Reserved, PalStill, PalHiResStill, PalMotion
    };
    uint8_t audio = 0;  // 0 none; 1, 2, 3: single channel, stereo, dual (VCD) or one, two, multi-channel
    Video video = Video::None;
    bool continuation = false;  // the second or later segment of one item
    uint8_t subtitleStreams = 0;  // Super Video CD only

    bool still() const;
    bool operator==(const VcdSegmentKind&) const = default;
};

struct VcdInfo {
    VcdDiscKind kind = VcdDiscKind::VideoCd2;
    uint8_t version = 0;
    uint8_t profileTag = 0;
    std::string albumId;  // trailing blanks removed
    uint16_t volumeCount = 0;
    uint16_t volumeNumber = 0;
    std::array<uint8_t, 13> palFlags{};
    uint8_t restriction = 0;  // 0 for everyone, up to 3
    bool nextVolumeAtLid2 = false;  // with playback control, when the next disc has this album id
    bool nextVolumeAtTrack3 = false;  // without it
    bool extendedPbc = false;
    uint32_t psdSize = 0;  // 0: no playback control
    std::optional<int32_t> firstSegmentSector;  // an LSN; none without segments
    uint8_t offsetMultiplier = 0;
    uint16_t lidCount = 0;  // the highest list id
    std::vector<VcdSegmentKind> segments;

    // Whether MPEG track `track` (1 = the first stream, CD track 2) is PAL.
    bool pal(unsigned track) const;
    bool operator==(const VcdInfo&) const = default;
};

struct VcdEntryPoint {
    uint8_t track = 0;  // the CD track, 2 to 99: MPEG track track-1
    int32_t sector = 0;  // LSN
    bool operator==(const VcdEntryPoint&) const = default;
};

// A play item number decoded. `number` is the CD track (2 to 99) of a track, the 0-based index
// into ENTRIES of an entry (played from there to the end of its track), and the 0-based segment
// of a segment.
struct VcdPlayItem {
    enum class Kind : uint8_t { Nothing, Track, Entry, Segment, Reserved };
    uint16_t id = 0;
    Kind kind = Kind::Nothing;
    uint16_t number = 0;
    bool operator==(const VcdPlayItem&) const = default;
};
VcdPlayItem DecodeVcdPlayItem(uint16_t id);

// A wait code (a play list's wait and auto-pause, a selection's timeout) in seconds; nullopt
// is for ever.
std::optional<int> VcdWaitSeconds(uint8_t code);

// PSD offsets count in units of the offset multiplier (8 bytes); nullopt is a disabled link.
using VcdLink = std::optional<uint16_t>;

// A rectangle of the picture on a 0 to 255 grid; all zero means none.
struct VcdArea {
    uint8_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    bool present() const { return x1 != 0 || y1 != 0 || x2 != 0 || y2 != 0; }
    bool operator==(const VcdArea&) const = default;
};

struct VcdSelectionAreas {
    VcdArea previous, next, back, defaultArea;
    std::vector<VcdArea> selections;
    bool operator==(const VcdSelectionAreas&) const = default;
};

struct VcdPlayList {
    uint16_t lid = 0;
    bool rejected = false;  // not reachable by number
    VcdLink previous, next, back;  // back: the RETURN key
    uint16_t playTime = 0;  // per item, in 1/15 s; 0 plays each item whole
    uint8_t waitCode = 0;  // after the last item
    uint8_t autoPauseCode = 0;
    std::vector<VcdPlayItem> items;
    bool operator==(const VcdPlayList&) const = default;
};

struct VcdSelectionList {
    enum class Default : uint8_t { Link, Multi, MultiWithoutNumbers };
    bool extended = false;  // type 0x1A, as in PSD_X
    uint8_t flags = 0;
    uint16_t lid = 0;
    bool rejected = false;
    uint8_t bsn = 0;  // the number of the first selection
    VcdLink previous, next, back, timeout;
    Default defaultKind = Default::Link;
    VcdLink defaultLink;  // with Default::Link only
    uint8_t timeoutCode = 0;
    uint8_t loopCount = 0;  // times the background plays; 0 for ever
    bool delayedJump = false;  // a key waits for the end of the background's pass
    VcdPlayItem background;
    std::vector<VcdLink> selections;  // by number bsn, bsn+1, ...
    std::optional<VcdSelectionAreas> areas;
    bool operator==(const VcdSelectionList&) const = default;
};

struct VcdEndList {
    uint8_t nextVolume = 0;  // 0 stops
    VcdPlayItem changeDiscPicture;
    bool operator==(const VcdEndList&) const = default;
};

// Defined for the Super Video CD, written by no known authoring tool: kept, not interpreted.
struct VcdCommandList {
    uint16_t lid = 0;
    bool rejected = false;
    std::vector<uint16_t> commands;
    bool operator==(const VcdCommandList&) const = default;
};

using VcdList = std::variant<VcdPlayList, VcdSelectionList, VcdEndList, VcdCommandList>;

// The lists reachable from the LOT and through their links, by offset; every enabled link of
// every list leads to one of them.
struct VcdPbc {
    uint16_t firstOffset = 0;  // where playback starts: LID 1, or offset 0 when the LOT has none
    std::map<uint16_t, uint16_t> lidOffsets;  // the LOT: list id to offset
    std::map<uint16_t, VcdList> lists;

    const VcdList* at(VcdLink offset) const;
    const VcdList* ofLid(uint16_t lid) const;
    // The list id of the list at an offset: its own, or the LOT's for an end list.
    std::optional<uint16_t> lidAt(uint16_t offset) const;
    bool operator==(const VcdPbc&) const = default;
};

// The files as read; a missing file is empty.
struct VcdControlFiles {
    std::string_view info, entries, lot, psd, lotX, psdX;
};

struct VcdControl {
    VcdInfo info;
    std::vector<VcdEntryPoint> entries;
    std::string entriesProblem;  // why there are none, when ENTRIES could not be read
    std::optional<VcdPbc> pbc;
    std::string pbcProblem;  // why there is no playback control
    std::string areasProblem;  // why the extended PSD's areas were left out

    // Whether an item names something the disc holds: an entry of ENTRIES, a track ENTRIES
    // knows, the first segment of an item.
    bool plays(const VcdPlayItem& item) const;
    // Whether an item is a segment that shows one picture and has no sound: played again, it
    // shows what it showed.
    bool silentStill(const VcdPlayItem& item) const;
    bool operator==(const VcdControl&) const = default;
};

// nullopt when INFO is not a Video CD's or a Super Video CD's.
std::optional<VcdInfo> ParseVcdInfo(std::string_view info);
std::optional<VcdControl> ParseVcdControl(const VcdControlFiles& files);
