// Plays one file through the media engine in an image window of the given size (640x480
// unless told) for a fixed time, then prints the frames libmpv dropped, libmpv's own timing
// counters, how long the GUI thread stood inside each of libmpv's render calls, and how late
// a 1 ms timer fired while the file played. The benchmark script measures its CPU time and
// memory.
//
//   quintara_engine_play FILE SECONDS [software|opengl] [WIDTHxHEIGHT]
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <mpv/client.h>
#include <mpv/render.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "bench/bench_window.h"
#include "bench/open_and_wait.h"
#include "components/reelkit/mpv_engine.h"

// The link wraps two of libmpv's calls (see CMakeLists.txt): the engine's handle is caught as
// it is initialized, so that libmpv's counters can be read, and each render call is timed
// where the picture makes it.
namespace {
mpv_handle* caughtHandle = nullptr;
std::vector<double> renderMs;
}  // namespace

extern "C" {
int __real_mpv_initialize(mpv_handle* handle);
int __real_mpv_render_context_render(mpv_render_context* context, mpv_render_param* params);

int __wrap_mpv_initialize(mpv_handle* handle)
{
    caughtHandle = handle;
    return __real_mpv_initialize(handle);
}

int __wrap_mpv_render_context_render(mpv_render_context* context, mpv_render_param* params)
{
    const auto start = std::chrono::steady_clock::now();
    const int result = __real_mpv_render_context_render(context, params);
    renderMs.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    return result;
}
}

namespace {
struct Spread {
    size_t count = 0;
    double median = 0, p99 = 0, max = 0;
};

Spread spreadOf(std::vector<double> values)
{
    Spread s;
    s.count = values.size();
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    s.median = values[values.size() / 2];
    s.p99 = values[std::min(values.size() - 1, values.size() * 99 / 100)];
    s.max = values.back();
    return s;
}

void printSpread(const char* name, const std::vector<double>& values)
{
    const Spread s = spreadOf(values);
    std::printf("%s: count=%zu median=%.3f p99=%.3f max=%.3f\n", name, s.count, s.median, s.p99, s.max);
}

// A 1 ms single shot started again each time it fires; each fire records how much later than
// asked it came, in ms.
class Probe : public QObject {
public:
    void start()
    {
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        connect(&timer_, &QTimer::timeout, this, [this] {
            lateMs.push_back(clock_.nsecsElapsed() / 1e6 - 1.0);
            arm();
        });
        arm();
    }
    std::vector<double> lateMs;

private:
    void arm()
    {
        clock_.start();
        timer_.start();
    }
    QTimer timer_;
    QElapsedTimer clock_;
};

int64_t counter(const char* name)
{
    int64_t value = -1;
    mpv_get_property(caughtHandle, name, MPV_FORMAT_INT64, &value);
    return value;
}

double number(const char* name)
{
    double value = NAN;
    mpv_get_property(caughtHandle, name, MPV_FORMAT_DOUBLE, &value);
    return value;
}

QSize sizeArgument(int argc, char** argv)
{
    int width = 640, height = 480;
    if (argc == 5 && std::sscanf(argv[4], "%dx%d", &width, &height) != 2)
        return {};
    return {width, height};
}
}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const QSize size = sizeArgument(argc, argv);
    if (argc < 3 || argc > 5 || size.isEmpty()) {
        std::fprintf(stderr, "usage: %s FILE SECONDS [software|opengl] [WIDTHxHEIGHT]\n", argv[0]);
        return 2;
    }
    MpvEngineOptions options;
    if (argc >= 4)
        options.picture = std::string_view(argv[3]) == "opengl" ? MpvEngineOptions::Picture::OpenGl
                                                                : MpvEngineOptions::Picture::Software;
    BenchWindow window(size);
    MpvEngine engine(options);
    if (!engine.init(1) || !OpenAndWait(engine, &window, argv[1]) || !engine.play() || !caughtHandle) {
        std::fprintf(stderr, "cannot play %s\n", argv[1]);
        return 1;
    }
    // Only what happens while the file plays counts.
    renderMs.clear();
    Probe probe;
    probe.start();
    std::vector<double> avsyncMs;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] { avsyncMs.push_back(std::abs(number("avsync")) * 1000); });
    sampler.start(250);
    QTimer::singleShot(std::atoi(argv[2]) * 1000, &application, &QApplication::quit);
    application.exec();
    sampler.stop();

    std::printf("counters: frame-drop-count=%lld decoder-frame-drop-count=%lld vo-delayed-frame-count=%lld "
                "total-avsync-change=%.4f\n",
                static_cast<long long>(counter("frame-drop-count")),
                static_cast<long long>(counter("decoder-frame-drop-count")),
                static_cast<long long>(counter("vo-delayed-frame-count")), number("total-avsync-change"));
    printSpread("avsync_abs_ms", avsyncMs);
    printSpread("render_call_ms", renderMs);
    printSpread("probe_1ms_late_ms", probe.lateMs);
    const uint32_t position = engine.getCurrentPosition().value_or(0);
    std::printf("picture=%s size=%dx%d position_ms=%u dropped=%llu\n", engine.pictureIsOpenGl() ? "opengl" : "software",
                size.width(), size.height(), position, static_cast<unsigned long long>(engine.droppedFrames()));
    engine.close();
    engine.deInit();
    return 0;
}
