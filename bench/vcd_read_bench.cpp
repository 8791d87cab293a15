// How fast the raw reader hands out a Video CD image's streams, against the 75 sectors a
// second a disc plays at. Reads every file of MPEGAV in 64 KiB pieces, as libmpv asks for them.
// Usage: quintara_bench_vcd_read IMAGE.cue  (the tests leave one under build/test-media/)

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_files.h"
#include "components/discbay/vcd_disc.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s IMAGE.cue\n", argv[0]);
        return 2;
    }
    const std::string image = argv[1];
    std::unique_ptr<VcdDisc> disc;
    const double openSeconds = secondsOf([&] { disc = VcdDisc::open(image); });
    const auto entries = disc ? disc->list("/MPEGAV") : std::nullopt;
    if (!entries) {
        std::fprintf(stderr, "%s: no Video CD image\n", image.c_str());
        return 1;
    }

    constexpr double kDiscSectorsPerSecond = 75;
    constexpr double kForm2Bytes = 2324;
    std::vector<char> buffer(64 * 1024);
    uint64_t bytes = 0;
    int rounds = 0;
    const double seconds = secondsOf([&] {
        for (; rounds < 1000 && (rounds < 3 || bytes < 200u * 1024 * 1024); ++rounds) {
            for (const VcdEntry& entry : *entries) {
                const std::unique_ptr<VcdFile> file = disc->openFile("/MPEGAV/" + entry.name);
                for (uint64_t at = 0; file;) {
                    const int64_t got = file->read(at, buffer.data(), buffer.size());
                    if (got <= 0)
                        break;
                    at += static_cast<uint64_t>(got);
                    bytes += static_cast<uint64_t>(got);
                }
            }
        }
    });
    const double perSecond = bytes / seconds;
    std::printf("open and list: %.2f ms\n", openSeconds * 1000);
    std::printf("read: %.1f MiB in %.3f s (%d rounds), %.1f MiB/s, %.0f times a disc's pace\n",
                bytes / 1048576.0, seconds, rounds, perSecond / 1048576.0,
                perSecond / (kDiscSectorsPerSecond * kForm2Bytes));
    return 0;
}
