// What playback control costs between a Video CD's items: reading the disc's control files,
// reading one track's entry times, and the engine's reopen gap, from one item's end to the
// next one's open answered, for a picture after a track and a track after a picture.
// Usage: quintara_bench_pbc_items IMAGE.cue  (the tests leave build/test-media/pbc-vcd-*/disc.cue)

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_files.h"
#include "bench/bench_stats.h"
#include "bench/bench_window.h"
#include "bench/open_and_wait.h"
#include "components/discbay/vcd_control_reader.h"
#include "components/reelkit/mpv_engine.h"

namespace {
constexpr int kRounds = 20;

double median(const std::vector<double>& values)
{
    return SpreadOf(values).median;
}

// Plays the open file to its end, from near it; false when no end came.
bool playToEnd(MpvEngine& engine)
{
    QEventLoop loop;
    QObject::connect(&engine, &ReelkitEngine::endOfFile, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, [&loop] { loop.exit(1); });
    if (const std::optional<uint32_t> length = engine.getLength(); length && *length > 300)
        engine.seek(*length - 300);
    engine.play();
    return loop.exec() == 0;
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s IMAGE.cue\n", argv[0]);
        return 2;
    }
    const VcdDiscSource source{VcdDiscSource::Kind::Sectors, argv[1]};
    VcdDiscReading reading;
    std::vector<double> reads;
    for (int i = 0; i < kRounds; ++i)
        reads.push_back(secondsOf([&] { reading = ReadVcdDisc(source); }) * 1000);
    if (!reading.control || !reading.control->pbc || reading.trackFiles.empty() || reading.segmentFiles.empty()) {
        std::fprintf(stderr, "%s: no Video CD with playback control: %s\n", argv[1], reading.problem.c_str());
        return 1;
    }
    std::printf("control files read: median %.2f ms of %d\n", median(reads), kRounds);
    for (const auto& [cdTrack, file] : reading.trackFiles) {
        std::vector<double> times;
        size_t entries = 0;
        for (int i = 0; i < kRounds; ++i)
            times.push_back(secondsOf([&] { entries = ReadTrackEntryTimes(source, reading, cdTrack).size(); }) * 1000);
        std::printf("entry times of CD track %u (%zu entries): median %.2f ms\n", unsigned(cdTrack), entries,
                    median(times));
    }

    BenchWindow window(QSize(352, 288));
    MpvEngine engine;
    if (!engine.init(1)) {
        std::fprintf(stderr, "no media engine\n");
        return 1;
    }
    const std::string track = argv[1] + reading.trackFiles.begin()->second;
    const std::string still = argv[1] + reading.segmentFiles.begin()->second;
    std::vector<double> toStill, toTrack;
    for (int i = 0; i < kRounds; ++i) {
        for (const bool isStill : {false, true}) {
            const auto ended = std::chrono::steady_clock::now();
            engine.close();
            if (!OpenAndWait(engine, &window, isStill ? still : track, 10000, isStill ? OpenAs::Still : OpenAs::File)) {
                std::fprintf(stderr, "%s did not open\n", (isStill ? still : track).c_str());
                return 1;
            }
            const double gap = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - ended).count();
            (isStill ? toStill : toTrack).push_back(gap);
            if (!playToEnd(engine)) {
                std::fprintf(stderr, "no end of %s\n", (isStill ? still : track).c_str());
                return 1;
            }
        }
    }
    std::printf("reopen gap, item's end to the next open answered: a picture after a track %.1f ms, "
                "a track after a picture %.1f ms (medians of %d)\n",
                median(toStill), median(toTrack), kRounds);
    engine.deInit();
    return 0;
}
