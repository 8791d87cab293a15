#include "components/discbay/vcd_disc.h"

#include <cdio/bytesex.h>
#include <cdio/cdio.h>
#include <cdio/iso9660.h>
#include <cdio/logging.h>
#include <cdio/xa.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

#include "core/text.h"
#include "components/discbay/cue_links.h"
#include "components/discbay/drive_table.h"

namespace fs = std::filesystem;

// One open libcdio handle, shared by a disc and the files opened from it.
class VcdDrive {
public:
    VcdDrive(CdIo_t* handle, lsn_t end, std::string bin, std::optional<CueLinks> links)
        : cdio(handle), end(end), bin_(std::move(bin)), links_(std::move(links))
    {
        if (!bin_.empty())
            binBytes_ = fs::file_size(bin_, binError_);
    }
    ~VcdDrive() { cdio_destroy(cdio); }
    VcdDrive(const VcdDrive&) = delete;
    VcdDrive& operator=(const VcdDrive&) = delete;

    // Whether `sectors` sectors from `lsn` lie on the disc.
    bool holds(int64_t lsn, uint64_t sectors) const
    {
        return lsn >= 0 && static_cast<uint64_t>(lsn) + sectors <= static_cast<uint64_t>(end);
    }
    // Whether the image is still the one opened: libcdio reports reading past the end of a
    // .bin cut short since as a success, with nothing read.
    bool unchanged() const
    {
        if (bin_.empty())
            return true;
        std::error_code error;
        return !binError_ && fs::file_size(bin_, error) == binBytes_ && !error;
    }

    CdIo_t* const cdio;
    const lsn_t end;  // the first sector after the disc's last track

private:
    std::string bin_;  // an image's .bin; empty for a drive
    std::optional<CueLinks> links_;  // what libcdio opened the image by, while it reads it
    std::error_code binError_;
    uintmax_t binBytes_ = 0;
};

struct VcdDisc::Record {
    std::string name;
    bool directory = false;
    int64_t lsn = 0;
    uint32_t size = 0;
    bool form2 = false;
    bool self = false;  // "." or ".."
};

namespace {
constexpr size_t kForm1Bytes = ISO_BLOCKSIZE;
constexpr size_t kForm2Bytes = M2F2_SECTOR_SIZE;
// What libcdio writes for each Form 2 sector: the sub-header, then the data and its EDC.
constexpr size_t kMode2Bytes = M2RAW_SECTOR_SIZE;
constexpr size_t kSubHeaderBytes = CDIO_CD_SUBHEADER_SIZE;
// Sectors read at once: mpv reads a stream in pieces of some tens of kilobytes.
constexpr uint32_t kChunkSectors = 32;
// A Video CD's folders take one sector each; a folder claiming more than this is damaged.
constexpr uint32_t kLargestDirectorySectors = 64;

// Fields of an ISO 9660 directory record.
constexpr size_t kRecordLength = 0;
constexpr size_t kExtent = 2;      // both-endian; the little-endian half first
constexpr size_t kDataLength = 10;  // the same
constexpr size_t kFlags = 25;
constexpr size_t kNameLength = 32;
constexpr size_t kName = 33;

uint32_t littleEndian32(const unsigned char* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

uint64_t sectorsOf(uint64_t bytes) { return (bytes + ISO_BLOCKSIZE - 1) / ISO_BLOCKSIZE; }

// Failures are answered through return values; a broken assumption inside libcdio (an
// assertion) is still its own to report.
cdio_log_handler_t g_libcdioLog = nullptr;

void quietLog(cdio_log_level_t level, const char message[])
{
    if (level == CDIO_LOG_ASSERT && g_libcdioLog)
        g_libcdioLog(level, message);
}

// Once per process, before any thread opens a disc: libcdio sets up its table of drivers on
// first use without a lock.
void prepareLibcdio()
{
    static std::once_flag once;
    std::call_once(once, [] {
        g_libcdioLog = cdio_log_set_handler(quietLog);
        cdio_init();
    });
}

// libcdio parses a cue sheet with strtok(), whose state is the process's: two threads opening
// images at once (the player listing a disc while the engine's stream opens one) would cut
// each other's lines.
std::mutex& openingLock()
{
    static std::mutex lock;
    return lock;
}

std::string withoutVersion(std::string name)
{
    const size_t semicolon = name.rfind(';');
    if (semicolon != std::string::npos &&
        std::all_of(name.begin() + static_cast<std::ptrdiff_t>(semicolon) + 1, name.end(),
                    [](char c) { return c >= '0' && c <= '9'; }))
        name.resize(semicolon);
    return name;
}

// One directory record of `length` bytes; nullopt when its fields do not fit in it.
std::optional<VcdDisc::Record> parseRecord(const unsigned char* record, size_t length)
{
    if (length < kName + 1 || record[kRecordLength] > length)
        return std::nullopt;
    const size_t nameLength = record[kNameLength];
    if (nameLength == 0 || kName + nameLength > length)
        return std::nullopt;
    VcdDisc::Record entry;
    entry.lsn = littleEndian32(record + kExtent);
    entry.size = littleEndian32(record + kDataLength);
    entry.directory = (record[kFlags] & ISO_DIRECTORY) != 0;
    const char* name = reinterpret_cast<const char*>(record + kName);
    entry.self = nameLength == 1 && (name[0] == '\0' || name[0] == '\1');
    entry.name = withoutVersion(std::string(name, nameLength));
    // The XA record in the system use area says in which form the file's sectors are.
    const size_t systemUse = kName + nameLength + (nameLength % 2 == 0 ? 1 : 0);
    iso9660_xa_t xa;
    if (systemUse + sizeof xa <= length) {
        std::memcpy(&xa, record + systemUse, sizeof xa);
        if (xa.signature[0] == 'X' && xa.signature[1] == 'A')
            entry.form2 = (uint16_from_be(xa.attributes) & XA_ATTR_MODE2FORM2) != 0;
    }
    return entry;
}

std::vector<std::string_view> componentsOf(std::string_view path)
{
    std::vector<std::string_view> parts;
    size_t at = 0;
    while (at < path.size()) {
        const size_t slash = std::min(path.find('/', at), path.size());
        if (slash > at)
            parts.push_back(path.substr(at, slash - at));
        at = slash + 1;
    }
    return parts;
}

bool inFolder(std::string_view path, std::string_view folder)
{
    if (folder == "/")
        return !path.empty() && path.front() == '/';
    return path.substr(0, folder.size()) == folder && (path.size() == folder.size() || path[folder.size()] == '/');
}

bool namesSomething(std::string_view inside) { return inside.find_first_not_of('/') != std::string_view::npos; }

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// "<image.cue>/<inside>": the first leading part that is an image file.
std::optional<RawVcdSource> insideImage(const std::string& path)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string image = path.substr(0, slash);
        std::error_code error;
        if (!IsDiscImageName(image) || !fs::is_regular_file(image, error))
            continue;
        if (!namesSomething(std::string_view(path).substr(slash)))
            return std::nullopt;
        return RawVcdSource{image, path.substr(slash)};
    }
    return std::nullopt;
}
}  // namespace

// ---- the file ----

VcdFile::VcdFile(std::shared_ptr<VcdDrive> drive, int32_t lsn, uint32_t sectors, uint64_t size, bool form2)
    : drive_(std::move(drive)), lsn_(lsn), sectors_(sectors), size_(size), form2_(form2)
{
}

VcdFile::~VcdFile() = default;

size_t VcdFile::sectorData() const { return form2_ ? kForm2Bytes : kForm1Bytes; }

bool VcdFile::load(uint32_t sector)
{
    chunkCount_ = 0;
    const size_t stride = form2_ ? kMode2Bytes : kForm1Bytes;
    chunk_.resize(size_t{kChunkSectors} * stride);
    const uint32_t run = std::min(kChunkSectors, sectors_ - sector);
    // A run holding a damaged sector still gives the sectors before it, one at a time.
    for (const uint32_t count : {run, 1u}) {
        const lsn_t at = lsn_ + static_cast<lsn_t>(sector);
        std::fill(chunk_.begin(), chunk_.end(), 0);
        if (!drive_->unchanged())
            return false;
        const driver_return_code_t result =
            form2_ ? cdio_read_mode2_sectors(drive_->cdio, chunk_.data(), at, true, count)
                   : cdio_read_data_sectors(drive_->cdio, chunk_.data(), at, ISO_BLOCKSIZE, count);
        if (result == DRIVER_OP_SUCCESS) {
            chunkFirst_ = sector;
            chunkCount_ = count;
            return true;
        }
        if (count == 1)
            break;
    }
    return false;
}

int64_t VcdFile::read(uint64_t offset, void* buffer, size_t n)
{
    if (offset >= size_ || n == 0)
        return 0;
    const uint64_t wanted = std::min<uint64_t>(n, size_ - offset);
    const size_t unit = sectorData();
    const size_t stride = form2_ ? kMode2Bytes : kForm1Bytes;
    const size_t skip = form2_ ? kSubHeaderBytes : 0;
    auto* out = static_cast<unsigned char*>(buffer);
    uint64_t done = 0;
    while (done < wanted) {
        const uint64_t at = offset + done;
        const auto sector = static_cast<uint32_t>(at / unit);
        const size_t within = static_cast<size_t>(at % unit);
        const bool loaded = chunkCount_ > 0 && sector >= chunkFirst_ && sector - chunkFirst_ < chunkCount_;
        if (!loaded && !load(sector))
            return done > 0 ? static_cast<int64_t>(done) : -1;
        const unsigned char* data = chunk_.data() + size_t{sector - chunkFirst_} * stride + skip;
        const size_t take = static_cast<size_t>(std::min<uint64_t>(unit - within, wanted - done));
        std::memcpy(out + done, data + within, take);
        done += take;
    }
    return static_cast<int64_t>(done);
}

// ---- the disc ----

VcdDisc::VcdDisc(std::shared_ptr<VcdDrive> drive, std::string label, int32_t rootLsn, uint32_t rootSize)
    : drive_(std::move(drive)), label_(std::move(label)), rootLsn_(rootLsn), rootSize_(rootSize)
{
}

VcdDisc::~VcdDisc() = default;

std::unique_ptr<VcdDisc> VcdDisc::open(const std::string& source)
{
    prepareLibcdio();
    std::error_code error;
    CdIo_t* cdio = nullptr;
    const bool image = IsDiscImageName(source);
    std::optional<CueLinks> links = image && fs::is_regular_file(source, error) ? CueLinks::prepare(source) : std::nullopt;
    {
        const std::lock_guard<std::mutex> opening(openingLock());
        if (links)
            cdio = cdio_open_cue(links->cue().c_str());
        else if (!image && fs::is_block_file(source, error))
            cdio = cdio_open(source.c_str(), DRIVER_DEVICE);
    }
    std::string bin = links ? links->bin() : std::string();
    if (!cdio)
        return nullptr;
    const lsn_t end = cdio_get_disc_last_lsn(cdio);
    auto drive = std::make_shared<VcdDrive>(cdio, end == CDIO_INVALID_LSN ? 0 : end, std::move(bin), std::move(links));
    if (!drive->holds(ISO_PVD_SECTOR, 1))
        return nullptr;
    iso9660_pvd_t pvd;
    if (!iso9660_fs_read_pvd(cdio, &pvd))
        return nullptr;
    const auto* rootBytes = reinterpret_cast<const unsigned char*>(&pvd.root_directory_record);
    // The root's record ends with its one-byte name, which libiso9660 keeps in a field of its own.
    constexpr size_t kRootRecordBytes =
        offsetof(iso9660_pvd_t, root_directory_filename) + 1 - offsetof(iso9660_pvd_t, root_directory_record);
    const std::optional<Record> root = parseRecord(rootBytes, kRootRecordBytes);
    if (!root || !root->directory)
        return nullptr;

    std::string label;
    if (char* id = iso9660_get_volume_id(&pvd)) {
        label = id;
        cdio_free(id);
    }
    label.erase(label.find_last_not_of(' ') + 1);
    auto disc = std::unique_ptr<VcdDisc>(
        new VcdDisc(std::move(drive), std::move(label), static_cast<int32_t>(root->lsn), root->size));
    if (!disc->readDirectory(*root))
        return nullptr;
    return disc;
}

std::optional<std::vector<VcdDisc::Record>> VcdDisc::readDirectory(const Record& directory) const
{
    const uint64_t sectors = sectorsOf(directory.size);
    if (!directory.directory || sectors == 0 || sectors > kLargestDirectorySectors ||
        !drive_->holds(directory.lsn, sectors))
        return std::nullopt;
    std::vector<unsigned char> bytes(sectors * ISO_BLOCKSIZE);
    if (cdio_read_data_sectors(drive_->cdio, bytes.data(), static_cast<lsn_t>(directory.lsn), ISO_BLOCKSIZE,
                               static_cast<uint32_t>(sectors)) != DRIVER_OP_SUCCESS)
        return std::nullopt;

    // Records never cross a sector's end; a zero length pads the rest of a sector.
    std::vector<Record> records;
    for (size_t sector = 0; sector < bytes.size(); sector += ISO_BLOCKSIZE) {
        size_t at = sector;
        const size_t end = sector + ISO_BLOCKSIZE;
        while (at < end && bytes[at + kRecordLength] != 0) {
            const size_t length = bytes[at + kRecordLength];
            if (at + length > end)
                return std::nullopt;
            std::optional<Record> record = parseRecord(&bytes[at], length);
            if (!record)
                return std::nullopt;
            if (!record->self)
                records.push_back(std::move(*record));
            at += length;
        }
    }
    return records;
}

std::optional<VcdDisc::Record> VcdDisc::find(std::string_view path) const
{
    Record here;
    here.directory = true;
    here.lsn = rootLsn_;
    here.size = rootSize_;
    for (const std::string_view part : componentsOf(path)) {
        const std::optional<std::vector<Record>> entries = readDirectory(here);
        if (!entries)
            return std::nullopt;
        const NameMatcher matches(part);
        const auto found =
            std::find_if(entries->begin(), entries->end(), [&](const Record& entry) { return matches(entry.name); });
        if (found == entries->end())
            return std::nullopt;
        here = *found;
    }
    return here;
}

std::optional<std::vector<VcdEntry>> VcdDisc::list(std::string_view folder) const
{
    const std::optional<Record> directory = find(folder);
    if (!directory || !directory->directory)
        return std::nullopt;
    const std::optional<std::vector<Record>> records = readDirectory(*directory);
    if (!records)
        return std::nullopt;
    std::vector<VcdEntry> entries;
    entries.reserve(records->size());
    for (const Record& record : *records)
        entries.push_back({record.name, record.directory, record.lsn});
    return entries;
}

std::vector<VcdTrack> VcdDisc::tracks() const
{
    const track_t first = cdio_get_first_track_num(drive_->cdio);
    const track_t count = cdio_get_num_tracks(drive_->cdio);
    if (first == CDIO_INVALID_TRACK || count == CDIO_INVALID_TRACK)
        return {};
    std::vector<VcdTrack> tracks;
    for (int number = first; number < first + count; ++number) {
        const lsn_t lsn = cdio_get_track_lsn(drive_->cdio, static_cast<track_t>(number));
        if (lsn == CDIO_INVALID_LSN)
            return {};
        tracks.push_back({number, lsn});
    }
    return tracks;
}

std::unique_ptr<VcdFile> VcdDisc::openFile(std::string_view pathInDisc) const
{
    const std::optional<Record> file = find(pathInDisc);
    if (!file || file->directory)
        return nullptr;
    // The directory records a Form 2 file's sectors at 2,048 bytes each, as if Form 1.
    const uint64_t sectors = sectorsOf(file->size);
    if (!drive_->holds(file->lsn, sectors))
        return nullptr;
    const uint64_t size = file->form2 ? sectors * kForm2Bytes : file->size;
    return std::unique_ptr<VcdFile>(new VcdFile(drive_, static_cast<int32_t>(file->lsn),
                                                static_cast<uint32_t>(sectors), size, file->form2));
}

// ---- which paths are read raw ----

std::optional<RawVcdSource> FindRawVcdSourceOnMounts(const std::string& path, const std::vector<MountPoint>& mounts)
{
    // The innermost mount holds the path; of two on one folder, the later covers the earlier.
    const MountPoint* holder = nullptr;
    for (const MountPoint& mount : mounts)
        if (inFolder(path, mount.folder) && (!holder || mount.folder.size() >= holder->folder.size()))
            holder = &mount;
    if (!holder || holder->fileSystem != "iso9660")
        return std::nullopt;
    std::string inside = holder->folder == "/" ? path : path.substr(holder->folder.size());
    if (!namesSomething(inside))
        return std::nullopt;
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(holder->source);
    if (!disc)
        return std::nullopt;
    const std::unique_ptr<VcdFile> file = disc->openFile(inside);
    if (!file || !file->form2())
        return std::nullopt;
    return RawVcdSource{holder->source, std::move(inside), file->size()};
}

std::optional<RawVcdSource> FindRawVcdSource(const std::string& path)
{
    if (std::optional<RawVcdSource> image = insideImage(path)) {
        const std::unique_ptr<VcdDisc> disc = VcdDisc::open(image->source);
        const std::unique_ptr<VcdFile> file = disc ? disc->openFile(image->inside) : nullptr;
        image->size = file ? file->size() : 0;
        return image;
    }
    return FindRawVcdSourceOnMounts(path, ParseMountInfo(readWhole("/proc/self/mountinfo")));
}
