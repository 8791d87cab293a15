#pragma once

#include <QEventLoop>
#include <QTimer>

#include <string>

#include "components/reelkit/reelkit.h"

class Window;

// Opens the file and runs the event loop until the engine answers; false when it refused.
inline bool OpenAndWait(ReelkitEngine& engine, Window* window, const std::string& path, int timeoutMs = 10000,
                        OpenAs as = OpenAs::File)
{
    QEventLoop loop;
    bool opened = false;
    const auto answered = QObject::connect(&engine, &ReelkitEngine::openAnswered, &loop, [&](bool done) {
        opened = done;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    engine.open(window, path, as);
    loop.exec();
    QObject::disconnect(answered);
    return opened;
}
