// The program stream timestamp reader over any bytes, and the entry times over them as a
// folder's track file (a plain stream, or sectors behind a RIFF "CDXA" header).
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "components/discbay/entry_times.h"
#include "components/discbay/mpeg_timestamps.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr uint64_t kLargestPts = (uint64_t{1} << 33) - 1;
constexpr uint32_t kSector = 2324;

void check(bool holds)
{
    if (!holds)
        __builtin_trap();
}

void checkTimes(const MpegTimes& times)
{
    for (const std::optional<uint64_t>& pts : {times.firstVideo, times.earliestVideo, times.earliestAudio,
                                               times.keyPicture, times.earliest()})
        check(!pts || *pts <= kLargestPts);
    check(times.firstVideo.has_value() == times.earliestVideo.has_value());
    check(!times.firstVideo || *times.earliestVideo <= *times.firstVideo);
    check(!times.earliest() || (*times.earliest() <= times.earliestVideo.value_or(kLargestPts) &&
                                *times.earliest() <= times.earliestAudio.value_or(kLargestPts)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    checkTimes(ReadMpegTimes(std::span<const uint8_t>(data, size)));

    const std::string track = fuzz::WriteFile("AVSEQ01.DAT", fuzz::Bytes(data, size));
    const auto sectors = static_cast<uint32_t>(size / kSector);
    const std::vector<uint32_t> entries{0, 1, sectors / 2, sectors, sectors + 100};
    for (const std::optional<double>& seconds : ReadEntryTimes(track, entries))
        check(!seconds || (std::isfinite(*seconds) && *seconds >= 0));
    return 0;
}
