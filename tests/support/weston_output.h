#pragma once

#include <QImage>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>

#include <vector>

// What a headless weston started with --debug and a pixman renderer shows, read through its
// own clients: the toplevel windows as its scene graph places them, top first, and the output
// as composed.
struct WestonToplevel {
    QString title;
    QRect rect;  // in output pixels
};

// The environment names the compositor (XDG_RUNTIME_DIR, WAYLAND_DISPLAY).
std::vector<WestonToplevel> WestonToplevels(const QProcessEnvironment& environment, QString* graph = nullptr);
// A null image when the screenshot could not be taken.
QImage WestonScreenshot(const QProcessEnvironment& environment);
