#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <vector>

// A 1 ms timer on the UI thread: the gaps between its beats show how long the thread stood
// still. A gap is the timer's period plus its lateness.
class Heartbeat {
public:
    Heartbeat()
    {
        beat_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&beat_, &QTimer::timeout, [this] { gap(); });
    }

    // Beats from now on, forgetting earlier gaps.
    void start()
    {
        gaps_.clear();
        beat_.start(1);
        clock_.start();
    }
    // Stops; the time since the last beat counts as one more gap.
    void stop()
    {
        gap();
        beat_.stop();
    }
    // The gaps in ms so far, in order; gaps().size() marks a moment to slice them by.
    const std::vector<double>& gaps() const { return gaps_; }
    // The longest gap from the mark on.
    double longestSince(size_t mark) const
    {
        return mark < gaps_.size() ? *std::max_element(gaps_.begin() + long(mark), gaps_.end()) : 0;
    }

    // Runs the work, then the event loop until done says so (at most timeoutMs); the longest
    // gap in ms, the work's own time included.
    qint64 measure(const std::function<void()>& work, const std::function<bool()>& done, int timeoutMs)
    {
        start();
        QCoreApplication::processEvents();
        clock_.start();
        gaps_.clear();
        work();
        QElapsedTimer total;
        total.start();
        while (!done() && total.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        stop();
        finished = done();
        return qint64(longestSince(0));
    }
    bool finished = false;

private:
    void gap()
    {
        gaps_.push_back(double(clock_.nsecsElapsed()) / 1e6);
        clock_.restart();
    }

    QTimer beat_;
    QElapsedTimer clock_;
    std::vector<double> gaps_;
};

// Runs the event loop for ms milliseconds.
inline void RunEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}
