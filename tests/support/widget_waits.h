#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>

#include <vector>

// How long a window system under load may take to answer.
inline constexpr int kWaitMs = 10000;

// Delivers what is queued, and what that queues in turn, without waiting for the window system.
inline void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// The regions a widget paints, as the window system asks for them.
class PaintLog : public QObject {
public:
    std::vector<QRegion> painted;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted.push_back(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
};
