#include "components/discbay/entry_times.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <functional>

#include "components/discbay/mpeg_timestamps.h"
#include "components/discbay/vcd_disc.h"

namespace {

constexpr size_t kForm2Data = 2324;  // one pack a sector
constexpr size_t kForm1Data = 2048;
// A whole sector and where its data starts: after sync, address and sub-header.
constexpr size_t kRawSector = 2352;
constexpr size_t kRawDataStart = 24;

// A first look of a few sectors, then a wider one. The track's first packets of sound and
// picture lie in its first sectors unless it is silent or starts with a run of one stream. The
// entry's group of pictures starts in its first sector, but the first timestamp after its key
// picture comes after that whole picture: some tens of sectors at a Super Video CD's rates.
constexpr std::array<uint32_t, 2> kStartSectors = {8, 64};
constexpr std::array<uint32_t, 2> kEntrySectors = {8, 64};

// The data bytes of `count` sectors from `first`, fewer at the end; nullopt on a read error.
using SectorReader = std::function<std::optional<std::vector<uint8_t>>(uint32_t first, uint32_t count)>;

// The times of the sectors from `first`, read in growing windows until `enough` holds or the
// track ends; nullopt on a read error.
std::optional<MpegTimes> timesFrom(const SectorReader& read, uint32_t first, std::span<const uint32_t> windows,
                                   const std::function<bool(const MpegTimes&)>& enough)
{
    std::vector<uint8_t> bytes;
    uint32_t have = 0;
    MpegTimes times;
    for (const uint32_t window : windows) {
        const std::optional<std::vector<uint8_t>> more = read(first + have, window - have);
        if (!more)
            return std::nullopt;
        bytes.insert(bytes.end(), more->begin(), more->end());
        have = window;
        times = ReadMpegTimes(bytes);
        if (enough(times) || more->empty())
            break;
    }
    return times;
}

std::optional<uint64_t> trackStart(const SectorReader& read)
{
    const std::optional<MpegTimes> times = timesFrom(read, 0, kStartSectors, [](const MpegTimes& found) {
        return found.earliestVideo && found.earliestAudio;
    });
    return times ? times->earliest() : std::nullopt;
}

std::optional<uint64_t> entryPts(const SectorReader& read, uint32_t sector)
{
    const std::optional<MpegTimes> times =
        timesFrom(read, sector, kEntrySectors, [](const MpegTimes& found) { return found.keyPicture.has_value(); });
    if (!times)
        return std::nullopt;
    return times->keyPicture ? times->keyPicture : times->firstVideo;
}

std::vector<std::optional<double>> entryTimes(const SectorReader& read, std::span<const uint32_t> sectors)
{
    std::vector<std::optional<double>> times(sectors.size());
    const std::optional<uint64_t> start = trackStart(read);
    if (!start)
        return times;
    for (size_t i = 0; i < sectors.size(); ++i)
        if (const std::optional<uint64_t> pts = entryPts(read, sectors[i]))
            times[i] = std::max(0.0, MpegSecondsBetween(*start, *pts));
    return times;
}

SectorReader readerOf(VcdFile& track)
{
    const size_t unit = track.form2() ? kForm2Data : kForm1Data;
    return [&track, unit](uint32_t first, uint32_t count) -> std::optional<std::vector<uint8_t>> {
        const uint64_t offset = uint64_t{first} * unit;
        const uint64_t left = offset < track.size() ? track.size() - offset : 0;
        std::vector<uint8_t> bytes(static_cast<size_t>(std::min<uint64_t>(uint64_t{count} * unit, left)));
        const int64_t got = track.read(offset, bytes.data(), bytes.size());
        if (got < 0)
            return std::nullopt;
        bytes.resize(static_cast<size_t>(got));
        return bytes;
    };
}

// Where a folder's copy of a track keeps its sectors' data.
struct FileLayout {
    uint64_t first = 0;  // the first sector's offset
    size_t stride = kForm2Data;
    size_t skip = 0;  // bytes before the data in each sector
    uint64_t end = 0;  // the file's size
};

uint32_t littleEndian32(const char* bytes)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<uint8_t>(bytes[i]);
    return value;
}

// A RIFF "CDXA" file keeps whole sectors in its "data" chunk; anything else is the stream itself.
std::optional<FileLayout> layoutOf(std::ifstream& in)
{
    constexpr int kMostChunks = 8;
    if (!in.seekg(0, std::ios::end))
        return std::nullopt;
    const auto end = static_cast<uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
    char header[12];
    if (!in.seekg(0) || !in.read(header, sizeof header) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "CDXA", 4) != 0)
        return FileLayout{0, kForm2Data, 0, end};
    uint64_t at = sizeof header;
    for (int chunk = 0; chunk < kMostChunks; ++chunk) {
        char head[8];
        if (!in.seekg(static_cast<std::streamoff>(at)) || !in.read(head, sizeof head))
            return std::nullopt;
        const uint64_t size = littleEndian32(head + 4);
        if (std::memcmp(head, "data", 4) == 0)
            return FileLayout{at + sizeof head, kRawSector, kRawDataStart, end};
        at += sizeof head + size + (size & 1);
    }
    return std::nullopt;
}

SectorReader readerOf(std::ifstream& in, FileLayout layout)
{
    return [&in, layout](uint32_t first, uint32_t count) -> std::optional<std::vector<uint8_t>> {
        const uint64_t offset = layout.first + uint64_t{first} * layout.stride;
        const uint64_t left = offset < layout.end ? layout.end - offset : 0;
        std::vector<char> raw(static_cast<size_t>(std::min<uint64_t>(uint64_t{count} * layout.stride, left)));
        in.clear();
        if (!in.seekg(static_cast<std::streamoff>(offset)))
            return std::nullopt;
        in.read(raw.data(), static_cast<std::streamsize>(raw.size()));
        if (in.bad())
            return std::nullopt;
        const auto got = static_cast<size_t>(in.gcount());
        std::vector<uint8_t> data;
        data.reserve(got);
        for (size_t sector = 0; sector * layout.stride + layout.skip < got; ++sector) {
            const size_t from = sector * layout.stride + layout.skip;
            const size_t take = std::min(kForm2Data, got - from);
            data.insert(data.end(), raw.begin() + static_cast<std::ptrdiff_t>(from),
                        raw.begin() + static_cast<std::ptrdiff_t>(from + take));
        }
        return data;
    };
}

}  // namespace

std::vector<std::optional<double>> ReadEntryTimes(VcdFile& track, std::span<const uint32_t> entrySectors)
{
    return entryTimes(readerOf(track), entrySectors);
}

std::optional<double> ReadEntryTime(VcdFile& track, uint32_t entrySector)
{
    return ReadEntryTimes(track, std::span<const uint32_t>(&entrySector, 1)).front();
}

std::vector<std::optional<double>> ReadEntryTimes(const std::string& trackPath, std::span<const uint32_t> entrySectors)
{
    std::ifstream in(trackPath, std::ios::binary);
    const std::optional<FileLayout> layout = in ? layoutOf(in) : std::nullopt;
    if (!layout)
        return std::vector<std::optional<double>>(entrySectors.size());
    return entryTimes(readerOf(in, *layout), entrySectors);
}
