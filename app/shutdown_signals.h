#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

// Turns SIGTERM, SIGINT and SIGHUP into a signal on the GUI thread, so that being killed
// politely runs the orderly shut-down. One instance per process.
class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

signals:
    void requested(int signalNumber);

private:
    void drain();

    std::unique_ptr<QSocketNotifier> notifier_;
};
