#include "components/discbay/vcd_control.h"

#include <algorithm>

#include "components/discbay/vcd_psd.h"

namespace {

using vcdbytes::Bytes;

// INFO's fields.
constexpr size_t kIdBytes = 8;
constexpr size_t kVersion = 8;
constexpr size_t kProfileTag = 9;
constexpr size_t kAlbumId = 10;
constexpr size_t kAlbumIdBytes = 16;
constexpr size_t kVolumeCount = 26;
constexpr size_t kVolumeNumber = 28;
constexpr size_t kPalFlags = 30;
constexpr size_t kStatus = 43;
constexpr size_t kPsdSize = 44;
constexpr size_t kFirstSegmentAddress = 48;
constexpr size_t kOffsetMultiplier = 51;
constexpr size_t kLidCount = 52;
constexpr size_t kSegmentCount = 54;
constexpr size_t kSegments = 56;
constexpr size_t kMostSegments = 1980;
constexpr uint8_t kOffsetMultiplierOfTheStandard = 8;

// ENTRIES' fields.
constexpr size_t kEntryCount = 10;
constexpr size_t kEntries = 12;
constexpr size_t kEntryBytes = 4;
constexpr size_t kMostEntries = 500;

// Play item numbers; a track keeps its number, the others count from their range's base.
struct ItemRange {
    uint16_t first, last;
    VcdPlayItem::Kind kind;
    uint16_t base;
};
constexpr ItemRange kItemRanges[] = {
    {0, 1, VcdPlayItem::Kind::Nothing, 0},
    {2, 99, VcdPlayItem::Kind::Track, 0},
    {100, 599, VcdPlayItem::Kind::Entry, 100},
    {1000, 2979, VcdPlayItem::Kind::Segment, 1000},
};
constexpr unsigned kFirstTrack = 2;
constexpr unsigned kLastTrack = 99;

// Wait codes.
constexpr uint8_t kLastWholeSeconds = 60;
constexpr uint8_t kForEver = 255;
constexpr int kTenSecondSteps = 10;

constexpr int kFramesPerSecond = 75;
constexpr int kLeadInFrames = 150;

struct DiscId {
    std::string_view id;
    VcdDiscKind kind;
};
constexpr DiscId kDiscIds[] = {
    {"VIDEO_CD", VcdDiscKind::VideoCd2}, {"SUPERVCD", VcdDiscKind::SuperVideoCd}, {"HQ-VCD  ", VcdDiscKind::HqVideoCd}};
constexpr uint8_t kVideoCd2Version = 2;
constexpr std::string_view kEntriesIds[] = {"ENTRYVCD", "ENTRYSVD"};

std::optional<unsigned> fromBcd(uint8_t byte)
{
    const unsigned high = byte >> 4;
    const unsigned low = byte & 0x0F;
    if (high > 9 || low > 9)
        return std::nullopt;
    return high * 10 + low;
}

// An absolute minute, second and frame in BCD, as an LSN.
std::optional<int32_t> sectorAt(const Bytes& bytes, size_t at)
{
    const std::optional<unsigned> minute = fromBcd(bytes.u8(at));
    const std::optional<unsigned> second = fromBcd(bytes.u8(at + 1));
    const std::optional<unsigned> frame = fromBcd(bytes.u8(at + 2));
    if (!bytes.has(at, 3) || !minute || !second || !frame || *second >= 60 || *frame >= kFramesPerSecond)
        return std::nullopt;
    const auto sector = static_cast<int32_t>((*minute * 60 + *second) * kFramesPerSecond + *frame) - kLeadInFrames;
    return sector >= 0 ? std::optional<int32_t>(sector) : std::nullopt;
}

VcdSegmentKind segmentKindOf(uint8_t byte)
{
    return {static_cast<uint8_t>(byte & 0x03), static_cast<VcdSegmentKind::Video>((byte >> 2) & 0x07),
            (byte & 0x20) != 0, static_cast<uint8_t>(byte >> 6)};
}

std::string withoutTrailingBlanks(std::string_view text)
{
    const size_t end = text.find_last_not_of(" \0", std::string_view::npos, 2);
    return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

struct EntriesReading {
    std::vector<VcdEntryPoint> entries;
    std::string problem;
};

EntriesReading parseEntries(std::string_view file)
{
    const Bytes bytes(file);
    const std::string_view id = bytes.text(0, kIdBytes);
    if (std::find(std::begin(kEntriesIds), std::end(kEntriesIds), id) == std::end(kEntriesIds))
        return {{}, "ENTRIES is not an entry table"};
    const size_t count = bytes.u16(kEntryCount);
    if (count > kMostEntries || !bytes.has(kEntries, count * kEntryBytes))
        return {{}, "ENTRIES claims " + std::to_string(count) + " entries"};
    EntriesReading reading;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = kEntries + i * kEntryBytes;
        const std::optional<unsigned> track = fromBcd(bytes.u8(at));
        const std::optional<int32_t> sector = sectorAt(bytes, at + 1);
        if (!track || *track < kFirstTrack || *track > kLastTrack || !sector)
            return {{}, "entry " + std::to_string(i) + " names no track or sector"};
        reading.entries.push_back({static_cast<uint8_t>(*track), *sector});
    }
    return reading;
}

// The areas of the extended PSD's selection lists given to the standard PSD's lists of the same
// list id; a list whose selections differ in number gets none.
void takeAreas(VcdPbc& pbc, const VcdPbc& extended)
{
    std::map<uint16_t, const VcdSelectionList*> byLid;
    for (const auto& [offset, list] : extended.lists)
        if (const auto* selection = std::get_if<VcdSelectionList>(&list); selection && selection->areas)
            byLid.emplace(selection->lid, selection);
    for (auto& [offset, list] : pbc.lists) {
        auto* selection = std::get_if<VcdSelectionList>(&list);
        if (!selection || selection->areas)
            continue;
        const auto found = byLid.find(selection->lid);
        if (found != byLid.end() && found->second->selections.size() == selection->selections.size())
            selection->areas = found->second->areas;
    }
}

void readPbc(VcdControl& control, const VcdControlFiles& files)
{
    const VcdInfo& info = control.info;
    if (info.kind == VcdDiscKind::VideoCd1) {
        control.pbcProblem = "a Video CD 1.x has no playback control";
        return;
    }
    if (info.psdSize == 0) {
        control.pbcProblem = "INFO tells of no PSD";
        return;
    }
    if (info.offsetMultiplier != kOffsetMultiplierOfTheStandard) {
        control.pbcProblem = "the offset multiplier is " + std::to_string(info.offsetMultiplier) + ", not 8";
        return;
    }
    VcdPbcReading reading = ParseVcdPbc(files.lot, files.psd, info.psdSize, info.lidCount);
    if (!reading.pbc) {
        control.pbcProblem = reading.problem;
        return;
    }
    if (const std::optional<uint16_t> loop = FindSilentVcdLoop(*reading.pbc, control)) {
        control.pbcProblem = "the lists from offset " + std::to_string(*loop) +
                             " pass on to each other for ever without showing anything";
        return;
    }
    control.pbc = std::move(reading.pbc);
    if (files.psdX.empty())
        return;
    const VcdPbcReading extended = ParseVcdPbc(files.lotX, files.psdX, files.psdX.size(), info.lidCount);
    if (extended.pbc)
        takeAreas(*control.pbc, *extended.pbc);
    else
        control.areasProblem = extended.problem;
}

}  // namespace

bool VcdSegmentKind::still() const
{
    return video == Video::NtscStill || video == Video::NtscHiResStill || video == Video::PalStill ||
           video == Video::PalHiResStill;
}

bool VcdInfo::pal(unsigned track) const
{
    if (track == 0 || track > palFlags.size() * 8)
        return false;
    return (palFlags[(track - 1) / 8] >> ((track - 1) % 8) & 1) != 0;
}

VcdPlayItem DecodeVcdPlayItem(uint16_t id)
{
    const auto range = std::find_if(std::begin(kItemRanges), std::end(kItemRanges),
                                    [id](const ItemRange& r) { return id >= r.first && id <= r.last; });
    if (range == std::end(kItemRanges))
        return {id, VcdPlayItem::Kind::Reserved, 0};
    return {id, range->kind, static_cast<uint16_t>(range->kind == VcdPlayItem::Kind::Nothing ? 0 : id - range->base)};
}

std::optional<int> VcdWaitSeconds(uint8_t code)
{
    if (code == kForEver)
        return std::nullopt;
    if (code <= kLastWholeSeconds)
        return code;
    return (code - kLastWholeSeconds) * kTenSecondSteps + kLastWholeSeconds;
}

const VcdList* VcdPbc::at(VcdLink offset) const
{
    if (!offset)
        return nullptr;
    const auto found = lists.find(*offset);
    return found == lists.end() ? nullptr : &found->second;
}

const VcdList* VcdPbc::ofLid(uint16_t lid) const
{
    const auto found = lidOffsets.find(lid);
    return found == lidOffsets.end() ? nullptr : at(found->second);
}

std::optional<uint16_t> VcdPbc::lidAt(uint16_t offset) const
{
    const VcdList* list = at(offset);
    if (!list)
        return std::nullopt;
    if (const auto* play = std::get_if<VcdPlayList>(list))
        return play->lid;
    if (const auto* selection = std::get_if<VcdSelectionList>(list))
        return selection->lid;
    if (const auto* command = std::get_if<VcdCommandList>(list))
        return command->lid;
    for (const auto& [lid, listOffset] : lidOffsets)
        if (listOffset == offset)
            return lid;
    return std::nullopt;
}

bool VcdControl::silentStill(const VcdPlayItem& item) const
{
    if (item.kind != VcdPlayItem::Kind::Segment || item.number >= info.segments.size())
        return false;
    const VcdSegmentKind& segment = info.segments[item.number];
    return segment.still() && segment.audio == 0;
}

bool VcdControl::plays(const VcdPlayItem& item) const
{
    switch (item.kind) {
    case VcdPlayItem::Kind::Track:
        // Without ENTRIES the tracks are not known: take the item at its word.
        return entries.empty() || std::any_of(entries.begin(), entries.end(),
                                              [&](const VcdEntryPoint& entry) { return entry.track == item.number; });
    case VcdPlayItem::Kind::Entry:
        return item.number < entries.size();
    case VcdPlayItem::Kind::Segment:
        return item.number < info.segments.size() && !info.segments[item.number].continuation;
    case VcdPlayItem::Kind::Nothing:
    case VcdPlayItem::Kind::Reserved:
        break;
    }
    return false;
}

std::optional<VcdInfo> ParseVcdInfo(std::string_view file)
{
    const Bytes bytes(file);
    const std::string_view id = bytes.text(0, kIdBytes);
    const auto known =
        std::find_if(std::begin(kDiscIds), std::end(kDiscIds), [&](const DiscId& disc) { return disc.id == id; });
    const size_t segmentCount = bytes.u16(kSegmentCount);
    if (known == std::end(kDiscIds) || !bytes.has(kSegments, 0) || segmentCount > kMostSegments ||
        !bytes.has(kSegments, segmentCount))
        return std::nullopt;
    VcdInfo info;
    info.version = bytes.u8(kVersion);
    info.kind = known->kind == VcdDiscKind::VideoCd2 && info.version != kVideoCd2Version ? VcdDiscKind::VideoCd1
                                                                                          : known->kind;
    info.profileTag = bytes.u8(kProfileTag);
    info.albumId = withoutTrailingBlanks(bytes.text(kAlbumId, kAlbumIdBytes));
    info.volumeCount = bytes.u16(kVolumeCount);
    info.volumeNumber = bytes.u16(kVolumeNumber);
    for (size_t i = 0; i < info.palFlags.size(); ++i)
        info.palFlags[i] = bytes.u8(kPalFlags + i);
    const uint8_t status = bytes.u8(kStatus);
    info.restriction = (status >> 1) & 0x03;
    info.nextVolumeAtLid2 = (status & 0x20) != 0;
    info.nextVolumeAtTrack3 = (status & 0x40) != 0;
    info.extendedPbc = (status & 0x80) != 0;
    info.psdSize = bytes.u32(kPsdSize);
    info.firstSegmentSector = segmentCount > 0 ? sectorAt(bytes, kFirstSegmentAddress) : std::nullopt;
    info.offsetMultiplier = bytes.u8(kOffsetMultiplier);
    info.lidCount = bytes.u16(kLidCount);
    for (size_t i = 0; i < segmentCount; ++i)
        info.segments.push_back(segmentKindOf(bytes.u8(kSegments + i)));
    return info;
}

std::optional<VcdControl> ParseVcdControl(const VcdControlFiles& files)
{
    std::optional<VcdInfo> info = ParseVcdInfo(files.info);
    if (!info)
        return std::nullopt;
    VcdControl control;
    control.info = std::move(*info);
    EntriesReading entries = parseEntries(files.entries);
    control.entries = std::move(entries.entries);
    control.entriesProblem = std::move(entries.problem);
    readPbc(control, files);
    return control;
}
