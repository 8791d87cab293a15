// How long the UI thread stands still while the media engine changes tracks and plays. A
// 1 ms timer beats on the UI thread while the engine opens file after file, then track after
// track of a Video CD image, then plays a file at the Video CD's size and at 1280x1024; a gap
// between beats is the time the thread could have answered nothing else.
//
//   quintara_bench_track_change [--changes N] IMAGE.cue FILE...   (bench/ui_still.sh makes them)
//
// Offscreen, with libmpv's software renderer as where there is no GPU; the window is shown,
// so the picture is painted as in the player.
#include <QApplication>
#include <QElapsedTimer>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bench/bench_stats.h"
#include "bench/bench_window.h"
#include "bench/heartbeat.h"
#include "components/discbay/vcd_disc.h"
#include "bench/open_and_wait.h"
#include "components/reelkit/mpv_engine.h"

namespace {
constexpr int kDwellMs = 300;  // played between two track changes
constexpr int kPlayMs = 5000;  // played at each size
constexpr int kSettleMs = 500;

// The one place that knows how the engine opens a file: it answers by its signal, while the
// event loop (and the heartbeat) runs.
bool openAndWait(MpvEngine& engine, Window* window, const std::string& path)
{
    return OpenAndWait(engine, window, path);
}

// As the player changes tracks: stop, close, open, play.
bool changeTrack(MpvEngine& engine, Window* window, const std::string& path)
{
    engine.stop();
    engine.close();
    return openAndWait(engine, window, path) && engine.play() != 0;
}

struct Changes {
    Spread beats;      // every gap while changing and playing in between
    Spread perChange;  // the longest gap of each change
    Spread calls;      // how long each change's calls took
    int failed = 0;
};

// The first opening is not counted: libmpv makes its outputs then.
Changes changeTracks(Heartbeat& heart, MpvEngine& engine, BenchWindow& window, const std::vector<std::string>& paths,
                     int changes)
{
    Changes result;
    changeTrack(engine, &window, paths.front());
    RunEventsFor(kDwellMs);
    std::vector<double> longest;
    std::vector<double> calls;
    heart.start();
    for (int i = 1; i <= changes; ++i) {
        const size_t mark = heart.gaps().size();
        QElapsedTimer call;
        call.start();
        if (!changeTrack(engine, &window, paths[size_t(i) % paths.size()]))
            ++result.failed;
        calls.push_back(double(call.nsecsElapsed()) / 1e6);
        RunEventsFor(kDwellMs);
        longest.push_back(heart.longestSince(mark));
    }
    heart.stop();
    result.beats = SpreadOf(heart.gaps());
    result.perChange = SpreadOf(longest);
    result.calls = SpreadOf(calls);
    return result;
}

Spread playAt(Heartbeat& heart, MpvEngine& engine, BenchWindow& window, int width, int height)
{
    window.resize(width, height);
    engine.resetImageSize();
    RunEventsFor(kSettleMs);
    heart.start();
    RunEventsFor(kPlayMs);
    heart.stop();
    return SpreadOf(heart.gaps());
}

void printRow(const std::string& what, const Spread& beats)
{
    std::printf("%-28s %6zu %7.2f %7.2f %8.2f\n", what.c_str(), beats.count, beats.median, beats.p95, beats.longest);
}

void printChanges(const std::string& what, const Changes& changes)
{
    printRow(what, changes.beats);
    std::printf("    each change's longest gap: median %.2f, p95 %.2f, longest %.2f; its calls (stop, close, open, "
                "play) took median %.2f, longest %.2f\n",
                changes.perChange.median, changes.perChange.p95, changes.perChange.longest, changes.calls.median,
                changes.calls.longest);
    if (changes.failed)
        std::printf("    (%d did not open)\n", changes.failed);
}

// The image's tracks, by the paths the player opens them by.
std::vector<std::string> imageTracks(const std::string& cue)
{
    std::vector<std::string> tracks;
    for (int n = 1; n < 100; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "/MPEGAV/AVSEQ%02d.DAT", n);
        const std::optional<RawVcdSource> raw = FindRawVcdSource(cue + name);
        if (!raw || raw->size == 0)
            break;
        tracks.push_back(cue + name);
    }
    return tracks;
}
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    int changes = 50;
    int first = 1;
    if (argc > 2 && std::string_view(argv[1]) == "--changes") {
        changes = std::atoi(argv[2]);
        first = 3;
    }
    const std::vector<std::string> tracks = argc > first ? imageTracks(argv[first]) : std::vector<std::string>{};
    const std::vector<std::string> files(argv + std::min(argc, first + 1), argv + argc);
    if (changes < 1 || tracks.size() < 2 || files.size() < 2) {
        std::fprintf(stderr, "usage: %s [--changes N] IMAGE.cue FILE FILE...  (an image of two tracks or more)\n",
                     argv[0]);
        return 2;
    }

    BenchWindow window(QSize(352, 240));
    MpvEngine engine;
    if (!engine.init(1)) {
        std::fprintf(stderr, "no media engine\n");
        return 1;
    }
    Heartbeat heart;
    std::printf("1 ms timer on the UI thread: gaps between beats in ms (the period plus the lateness)\n");
    std::printf("%-28s %6s %7s %7s %8s\n", "", "beats", "median", "p95", "longest");
    printChanges(std::to_string(changes) + " track changes, files", changeTracks(heart, engine, window, files, changes));
    printChanges(std::to_string(changes) + " track changes, .cue", changeTracks(heart, engine, window, tracks, changes));

    if (!changeTrack(engine, &window, files.front())) {
        std::fprintf(stderr, "%s did not open\n", files.front().c_str());
        return 1;
    }
    printRow("playing at 352x240", playAt(heart, engine, window, 352, 240));
    printRow("playing at 1280x1024", playAt(heart, engine, window, 1280, 1024));
    const uint16_t status = engine.getStatus().value_or(0);
    if (status != 2)
        std::printf("(the file was no longer playing at the end: status %u)\n", unsigned(status));
    engine.deInit();
    return 0;
}
