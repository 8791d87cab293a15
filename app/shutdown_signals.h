#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// Turns SIGTERM, SIGINT and SIGHUP into a signal on the GUI thread, so that being killed
// politely runs the orderly shut-down. One instance per process.
class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    // Called first thing in main: until an instance exists, the signals wait instead of
    // killing a player that is still starting; a start that only hands over ends with them
    // still waiting. Answers false when they could not be held.
    static bool hold();

    // Takes over the signals held, and any that arrived meanwhile.
    explicit ShutdownSignals(QObject* parent = nullptr);
    // Holds them again: a polite kill during the tear-down changes nothing more.
    ~ShutdownSignals() override;

signals:
    void requested(int signalNumber);

private:
    void drain();

    std::unique_ptr<QSocketNotifier> notifier_;
};
