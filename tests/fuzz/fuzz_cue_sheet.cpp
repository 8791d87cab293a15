// The cue sheet path: a cue of the fuzzer's text beside fixed data files, its data file found,
// its links made, and the disc opened through libcdio's reading of it. The first byte chooses
// the cue's name: one libcdio takes as it is, or one that needs the links.
#include <cstdint>
#include <string>

#include "components/discbay/cue_links.h"
#include "components/discbay/vcd_disc.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr size_t kSector = 2352;

bool makeDataFiles()
{
    const std::string blank(20 * kSector, '\0');
    fuzz::WriteFile("cue/film.bin", blank);
    fuzz::WriteFile("cue/Film (Track 1).bin", blank.substr(0, 3 * kSector));
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool dataFiles = makeDataFiles();
    (void)dataFiles;
    if (size == 0)
        return 0;
    const std::string_view text = fuzz::Bytes(data + 1, size - 1);
    (void)CueDataFile(text);
    const std::string cue = fuzz::WriteFile(data[0] & 1 ? "cue/Film.Cue" : "cue/film.cue", text);
    if (std::optional<CueLinks> links = CueLinks::prepare(cue)) {
        if (links->cue().empty() || links->bin().empty())
            __builtin_trap();
    }
    if (const std::unique_ptr<VcdDisc> disc = VcdDisc::open(cue))
        (void)disc->list("/MPEGAV");
    return 0;
}
