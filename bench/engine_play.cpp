// Plays one file through the media engine in a 640x480 image window for a fixed time, then
// prints the frames libmpv dropped. The benchmark script measures its CPU time and memory.
//
//   quintara_engine_play FILE SECONDS [software|opengl]
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "bench/bench_window.h"
#include "bench/open_and_wait.h"
#include "components/reelkit/mpv_engine.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: %s FILE SECONDS [software|opengl]\n", argv[0]);
        return 2;
    }
    MpvEngineOptions options;
    if (argc == 4)
        options.picture = std::string_view(argv[3]) == "opengl" ? MpvEngineOptions::Picture::OpenGl
                                                                : MpvEngineOptions::Picture::Software;
    BenchWindow window;
    window.resize(640, 480);
    window.show();
    MpvEngine engine(options);
    if (!engine.init(1) || !OpenAndWait(engine, &window, argv[1]) || !engine.play()) {
        std::fprintf(stderr, "cannot play %s\n", argv[1]);
        return 1;
    }
    QTimer::singleShot(std::atoi(argv[2]) * 1000, &application, &QApplication::quit);
    application.exec();
    uint32_t position = 0;
    engine.getCurrentPosition(&position);
    std::printf("picture=%s position_ms=%u dropped=%llu\n", engine.pictureIsOpenGl() ? "opengl" : "software",
                position, static_cast<unsigned long long>(engine.droppedFrames()));
    engine.close();
    engine.deInit();
    return 0;
}
