#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MountPoint;

// The Video CD's files read from the disc's sectors with libcdio: the MPEG streams in
// MPEGAV/ lie in Mode 2 Form 2 sectors, which the kernel's ISO 9660 driver reads as if they
// held 2,048 bytes each, cutting every sector short and the file in the wrong place.
//
// A disc and the files it opened share one libcdio handle: use them from one thread at a time
// (each stream of the engine opens its own disc).

struct VcdEntry {
    std::string name;  // as recorded, without the version (";1")
    bool directory = false;
    int64_t lsn = 0;  // its first sector
};

// A track of the disc's table of contents.
struct VcdTrack {
    int number = 0;
    int32_t lsn = 0;  // where its data starts (index 1)
};

class VcdDrive;

class VcdFile {
public:
    ~VcdFile();
    VcdFile(const VcdFile&) = delete;
    VcdFile& operator=(const VcdFile&) = delete;

    // Data bytes: 2,324 a sector for a Form 2 file, the recorded size otherwise.
    uint64_t size() const { return size_; }
    bool form2() const { return form2_; }
    // Reads up to n bytes at offset; answers the bytes read (0 at the end), -1 on a read error.
    int64_t read(uint64_t offset, void* buffer, size_t n);

private:
    friend class VcdDisc;
    VcdFile(std::shared_ptr<VcdDrive> drive, int32_t lsn, uint32_t sectors, uint64_t size, bool form2);
    // Brings the run of sectors starting at `sector` into the chunk; false on a read error.
    bool load(uint32_t sector);
    size_t sectorData() const;

    std::shared_ptr<VcdDrive> drive_;
    int32_t lsn_;
    uint32_t sectors_;
    uint64_t size_;
    bool form2_;
    std::vector<unsigned char> chunk_;
    uint32_t chunkFirst_ = 0;
    uint32_t chunkCount_ = 0;
};

class VcdDisc {
public:
    ~VcdDisc();
    VcdDisc(const VcdDisc&) = delete;
    VcdDisc& operator=(const VcdDisc&) = delete;

    // A block device (/dev/sr0) or a .cue image; null when libcdio cannot open it or it holds
    // no ISO 9660 file system.
    static std::unique_ptr<VcdDisc> open(const std::string& source);

    // The volume id, trailing blanks removed.
    std::string label() const { return label_; }
    // A folder inside the disc ("/MPEGAV" or "MpegAV"), found without regard to case; nullopt
    // when there is none.
    std::optional<std::vector<VcdEntry>> list(std::string_view folder) const;
    // The table of contents in track order; empty when the disc gives none.
    std::vector<VcdTrack> tracks() const;
    // A file inside the disc, found without regard to case at every level; null when missing or
    // a folder.
    std::unique_ptr<VcdFile> openFile(std::string_view pathInDisc) const;

    struct Record;  // one entry of a directory with where it lies

private:
    VcdDisc(std::shared_ptr<VcdDrive> drive, std::string label, int32_t rootLsn, uint32_t rootSize);
    std::optional<std::vector<Record>> readDirectory(const Record& directory) const;
    std::optional<Record> find(std::string_view path) const;

    std::shared_ptr<VcdDrive> drive_;
    std::string label_;
    int32_t rootLsn_;
    uint32_t rootSize_;
};

// A file to be read through the disc's sectors: the device or image, and the path inside.
struct RawVcdSource {
    std::string source;
    std::string inside;
    uint64_t size = 0;  // the file's data bytes as the look-up found them; 0 for a file not there
};

// Where a player path must be read raw; nullopt means: play the file as it is. The disc is
// opened once for it, which also tells the file's size.
//  - "<image.cue>/<inside>", where the leading part is an existing regular file named *.cue
//    (any case): {image, "/inside"};
//  - a file on an iso9660 mount of a block device that is Form 2 on the disc: {device, path
//    inside the mount}.
std::optional<RawVcdSource> FindRawVcdSource(const std::string& path);
// The second case against the given mounts, whose sources may be anything VcdDisc::open takes
// (the tests mount images this way).
std::optional<RawVcdSource> FindRawVcdSourceOnMounts(const std::string& path, const std::vector<MountPoint>& mounts);
