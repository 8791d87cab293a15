// The Video CD reader over a fuzzed disc image: the fuzzer's bytes are the raw 2,352-byte
// sectors from the volume descriptors (sector 16) on, behind a fixed cue sheet, so that the
// ISO 9660 records, the directories and the sectors' headers are all the fuzzer's.
#include <cstdint>
#include <string>
#include <vector>

#include "components/discbay/vcd_disc.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr size_t kSector = 2352;
constexpr size_t kLeadSectors = 16;
constexpr size_t kMostFiles = 8;

void readSome(VcdFile& file)
{
    std::vector<unsigned char> buffer(4096);
    const uint64_t size = file.size();
    for (uint64_t offset : {uint64_t{0}, size / 2, size > 10 ? size - 10 : 0, size, size + 1})
        if (file.read(offset, buffer.data(), buffer.size()) > static_cast<int64_t>(buffer.size()))
            __builtin_trap();  // never more than asked for
}

void walk(const VcdDisc& disc, const std::string& folder, int depth)
{
    const std::optional<std::vector<VcdEntry>> entries = disc.list(folder);
    if (!entries)
        return;
    size_t files = 0;
    for (const VcdEntry& entry : *entries) {
        const std::string path = folder + "/" + entry.name;
        if (entry.directory) {
            if (depth < 2)
                walk(disc, path, depth + 1);
            continue;
        }
        if (++files > kMostFiles)
            break;
        if (std::unique_ptr<VcdFile> file = disc.openFile(path))
            readSome(*file);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string cue =
        fuzz::WriteFile("image/disc.cue", "FILE \"disc.bin\" BINARY\n  TRACK 01 MODE2/2352\n    INDEX 01 00:00:00\n");
    std::string bin(kLeadSectors * kSector, '\0');
    bin.append(fuzz::Bytes(data, size));
    fuzz::WriteFile("image/disc.bin", bin);

    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(cue);
    if (!disc)
        return 0;
    (void)disc->label();
    walk(*disc, "", 0);
    (void)disc->list("/MpegAV");
    if (std::unique_ptr<VcdFile> file = disc->openFile("mpegav/avseq01.dat"))
        readSome(*file);
    return 0;
}
