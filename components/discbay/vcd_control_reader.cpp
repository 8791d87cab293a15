#include "components/discbay/vcd_control_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string_view>
#include <vector>

#include "components/discbay/drive_table.h"
#include "components/discbay/entry_times.h"
#include "components/discbay/vcd_disc.h"
#include "core/text.h"

namespace fs = std::filesystem;

namespace {

// The most read of each file: a damaged record may claim any size.
constexpr size_t kInfoBytes = 2048;
constexpr size_t kEntriesBytes = 2048;
constexpr size_t kLotBytes = 65536;
// Lists start at offsets up to 0xFFFF units of 8 bytes; the longest runs 1,566 bytes on.
constexpr size_t kPsdBytes = 0x10000 * 8 + 2048;
constexpr int64_t kSectorsPerSegment = 150;
constexpr int kFirstStreamTrack = 2;
constexpr int kLastStreamTrack = 99;
constexpr std::string_view kSegmentFolder = "SEGMENT";
constexpr std::string_view kExtendedFolder = "EXT";

// Where a kind of disc keeps its control files.
struct ControlLayout {
    std::string_view folder;
    std::string_view extension;
};
constexpr ControlLayout kLayouts[] = {{"VCD", "VCD"}, {"SVCD", "SVD"}};

// A file of the disc by folder and name, each found without regard to case, up to `limit`
// bytes; nullopt when it is not there or does not read.
using ReadFile =
    std::function<std::optional<std::string>(std::string_view folder, std::string_view name, size_t limit)>;

struct ControlBytes {
    std::string info, entries, lot, psd, lotX, psdX;
};

std::optional<ControlBytes> readControlBytes(const ReadFile& read)
{
    for (const ControlLayout& layout : kLayouts) {
        const auto named = [&](std::string_view base) {
            return std::string(base) + "." + std::string(layout.extension);
        };
        std::optional<std::string> info = read(layout.folder, named("INFO"), kInfoBytes);
        if (!info)
            continue;
        ControlBytes bytes;
        bytes.info = std::move(*info);
        bytes.entries = read(layout.folder, named("ENTRIES"), kEntriesBytes).value_or("");
        bytes.lot = read(layout.folder, named("LOT"), kLotBytes).value_or("");
        bytes.psd = read(layout.folder, named("PSD"), kPsdBytes).value_or("");
        bytes.lotX = read(kExtendedFolder, "LOT_X.VCD", kLotBytes).value_or("");
        bytes.psdX = read(kExtendedFolder, "PSD_X.VCD", kPsdBytes).value_or("");
        return bytes;
    }
    return std::nullopt;
}

VcdDiscReading parsed(const std::optional<ControlBytes>& bytes)
{
    VcdDiscReading reading;
    if (!bytes) {
        reading.problem = "the disc has no INFO file";
        return reading;
    }
    reading.control = ParseVcdControl({bytes->info, bytes->entries, bytes->lot, bytes->psd, bytes->lotX, bytes->psdX});
    if (!reading.control)
        reading.problem = "INFO is not a Video CD's";
    return reading;
}

std::string insidePath(std::string_view folder, std::string_view name)
{
    return "/" + std::string(folder) + "/" + std::string(name);
}

// ---- by the sectors: a drive or an image ----

std::optional<std::string> readFromDisc(const VcdDisc& disc, std::string_view folder, std::string_view name,
                                        size_t limit)
{
    const std::unique_ptr<VcdFile> file = disc.openFile(insidePath(folder, name));
    if (!file)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(std::min<uint64_t>(file->size(), limit)), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const int64_t got = file->read(done, bytes.data() + done, bytes.size() - done);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        done += static_cast<size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

// The entry of a listing with that name, without regard to case.
const VcdEntry* entryNamed(const std::vector<VcdEntry>& listing, std::string_view name, bool directory)
{
    const auto found = std::find_if(listing.begin(), listing.end(), [&](const VcdEntry& entry) {
        return entry.directory == directory && EqualsIgnoringCase(entry.name, name);
    });
    return found == listing.end() ? nullptr : &*found;
}

// A folder of the disc's root, as the disc spells it, and its files.
struct Listing {
    std::string folder;
    std::vector<VcdEntry> files;
};

std::optional<Listing> listFolder(const VcdDisc& disc, const std::vector<VcdEntry>& root, std::string_view name)
{
    const VcdEntry* folder = entryNamed(root, name, true);
    std::optional<std::vector<VcdEntry>> files = folder ? disc.list("/" + folder->name) : std::nullopt;
    if (!files)
        return std::nullopt;
    std::erase_if(*files, [](const VcdEntry& entry) { return entry.directory; });
    return Listing{folder->name, std::move(*files)};
}

// Each track's stream: the file that starts first within the track.
std::map<uint8_t, std::string> tracksByContents(const VcdDisc& disc, const std::vector<VcdEntry>& root)
{
    std::optional<Listing> streams;
    for (const std::string_view name : kDiscStreamFolders)
        if (!streams)
            streams = listFolder(disc, root, name);
    if (!streams)
        return {};
    const std::vector<VcdTrack> tracks = disc.tracks();
    std::map<uint8_t, std::string> found;
    for (size_t i = 0; i < tracks.size(); ++i) {
        const int64_t start = tracks[i].lsn;
        const int64_t end = i + 1 < tracks.size() ? tracks[i + 1].lsn : std::numeric_limits<int64_t>::max();
        const VcdEntry* first = nullptr;
        for (const VcdEntry& file : streams->files)
            if (file.lsn >= start && file.lsn < end && (!first || file.lsn < first->lsn))
                first = &file;
        if (first && tracks[i].number >= kFirstStreamTrack && tracks[i].number <= kLastStreamTrack)
            found.emplace(static_cast<uint8_t>(tracks[i].number), insidePath(streams->folder, first->name));
    }
    return found;
}

// Each item's file: the one that starts at its first segment's sector.
std::map<uint16_t, std::string> segmentsBySector(const VcdDisc& disc, const std::vector<VcdEntry>& root,
                                                 const VcdInfo& info)
{
    const std::optional<Listing> items = listFolder(disc, root, kSegmentFolder);
    if (!items || !info.firstSegmentSector)
        return {};
    std::map<uint16_t, std::string> found;
    for (size_t segment = 0; segment < info.segments.size(); ++segment) {
        const int64_t sector = *info.firstSegmentSector + static_cast<int64_t>(segment) * kSectorsPerSegment;
        const auto file = std::find_if(items->files.begin(), items->files.end(),
                                       [&](const VcdEntry& entry) { return entry.lsn == sector; });
        if (!info.segments[segment].continuation && file != items->files.end())
            found.emplace(static_cast<uint16_t>(segment), insidePath(items->folder, file->name));
    }
    return found;
}

VcdDiscReading readSectors(const std::string& source)
{
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(source);
    if (!disc)
        return {std::nullopt, "the disc does not open", {}, {}};
    VcdDiscReading reading = parsed(readControlBytes([&](std::string_view folder, std::string_view name, size_t limit) {
        return readFromDisc(*disc, folder, name, limit);
    }));
    const std::optional<std::vector<VcdEntry>> root = disc->list("/");
    if (!reading.control || !root)
        return reading;
    reading.trackFiles = tracksByContents(*disc, *root);
    reading.segmentFiles = segmentsBySector(*disc, *root, reading.control->info);
    return reading;
}

// ---- a folder ----

// The regular files of a folder by name.
std::vector<std::string> filesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        if (it->is_regular_file(statusError))
            names.push_back(it->path().filename().string());
    }
    return names;
}

std::optional<std::string> readFromFolder(const std::string& root, std::string_view folder, std::string_view name,
                                          size_t limit)
{
    const std::string inside = FindChildFolder(root, folder);
    if (inside.empty())
        return std::nullopt;
    const std::vector<std::string> files = filesIn(inside);
    const NameMatcher matches(name);
    const auto file = std::find_if(files.begin(), files.end(), [&](const std::string& f) { return matches(f); });
    if (file == files.end())
        return std::nullopt;
    std::ifstream in(inside + "/" + *file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

// AVSEQnn.*, without regard to case.
bool isStreamName(std::string_view name)
{
    const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    return name.size() > 8 && EqualsIgnoringCase(name.substr(0, 5), "AVSEQ") && digit(name[5]) && digit(name[6]) &&
           name[7] == '.';
}

std::map<uint8_t, std::string> tracksByName(const std::string& root)
{
    const std::string folder = FindDiscStreamFolder(root);
    if (folder.empty())
        return {};
    std::vector<std::string> names = filesIn(folder);
    std::erase_if(names, [](const std::string& name) { return !isStreamName(name); });
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return CompareIgnoringCase(a, b) < 0; });
    const std::string folderName = fs::path(folder).filename().string();
    std::map<uint8_t, std::string> found;
    for (size_t i = 0; i < names.size() && kFirstStreamTrack + i <= kLastStreamTrack; ++i)
        found.emplace(static_cast<uint8_t>(kFirstStreamTrack + i), insidePath(folderName, names[i]));
    return found;
}

// An item's file is named after its first segment, counted from 1: ITEM0001.DAT.
std::map<uint16_t, std::string> segmentsByName(const std::string& root, const VcdInfo& info)
{
    const std::string folder = FindChildFolder(root, kSegmentFolder);
    if (folder.empty())
        return {};
    const std::vector<std::string> names = filesIn(folder);
    const std::string folderName = fs::path(folder).filename().string();
    std::map<uint16_t, std::string> found;
    for (size_t segment = 0; segment < info.segments.size(); ++segment) {
        char stem[32];
        std::snprintf(stem, sizeof stem, "ITEM%04zu", segment + 1);
        const auto file = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
            return EqualsIgnoringCase(fs::path(name).stem().string(), stem);
        });
        if (!info.segments[segment].continuation && file != names.end())
            found.emplace(static_cast<uint16_t>(segment), insidePath(folderName, *file));
    }
    return found;
}

VcdDiscReading readFolder(const std::string& root)
{
    VcdDiscReading reading = parsed(readControlBytes([&](std::string_view folder, std::string_view name, size_t limit) {
        return readFromFolder(root, folder, name, limit);
    }));
    if (!reading.control)
        return reading;
    reading.trackFiles = tracksByName(root);
    reading.segmentFiles = segmentsByName(root, reading.control->info);
    return reading;
}

}  // namespace

VcdDiscSource VcdDiscSourceOf(const DriveSlot& slot)
{
    using Kind = VcdDiscSource::Kind;
    if (slot.image)
        return {Kind::Sectors, slot.root};
    if (!slot.device.empty())
        return {Kind::Sectors, slot.device};
    return {Kind::Folder, slot.root};
}

VcdDiscReading ReadVcdDisc(const VcdDiscSource& source)
{
    return source.kind == VcdDiscSource::Kind::Sectors ? readSectors(source.path) : readFolder(source.path);
}

namespace {
// The sectors of a track's entries counted from its file's first sector; an entry before the
// file's start counts as past its end, so that it has no time.
std::vector<uint32_t> sectorsFrom(int64_t first, const std::vector<int64_t>& entries)
{
    std::vector<uint32_t> sectors;
    for (int64_t sector : entries)
        sectors.push_back(sector < first ? std::numeric_limits<uint32_t>::max() : static_cast<uint32_t>(sector - first));
    return sectors;
}

std::optional<int64_t> firstSectorOf(const VcdDisc& disc, const std::string& pathInDisc)
{
    const size_t slash = pathInDisc.rfind('/');
    const std::optional<std::vector<VcdEntry>> listing = disc.list(pathInDisc.substr(0, slash));
    const VcdEntry* file = listing ? entryNamed(*listing, std::string_view(pathInDisc).substr(slash + 1), false) : nullptr;
    return file ? std::optional(file->lsn) : std::nullopt;
}
}  // namespace

std::vector<std::optional<double>> ReadTrackEntryTimes(const VcdDiscSource& source, const VcdDiscReading& reading,
                                                       uint8_t cdTrack)
{
    std::vector<int64_t> entries;
    for (const VcdEntryPoint& entry : reading.control ? reading.control->entries : std::vector<VcdEntryPoint>{})
        if (entry.track == cdTrack)
            entries.push_back(entry.sector);
    const auto file = reading.trackFiles.find(cdTrack);
    if (entries.empty() || file == reading.trackFiles.end())
        return std::vector<std::optional<double>>(entries.size());
    // A folder's file begins where the track's first entry, its start, is.
    if (source.kind == VcdDiscSource::Kind::Folder)
        return ReadEntryTimes(source.path + file->second, sectorsFrom(entries.front(), entries));
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(source.path);
    const std::optional<int64_t> first = disc ? firstSectorOf(*disc, file->second) : std::nullopt;
    const std::unique_ptr<VcdFile> track = first ? disc->openFile(file->second) : nullptr;
    if (!track)
        return std::vector<std::optional<double>>(entries.size());
    return ReadEntryTimes(*track, sectorsFrom(*first, entries));
}
