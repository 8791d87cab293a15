#pragma once

#include <QObject>

#include <memory>

#include "app/device_watcher.h"
#include "app/main_window.h"
#include "core/qt_timers.h"
#include "app/shutdown_signals.h"

class InstanceChannel;
class ModalLoops;

// The main window on Qt's event loop: its queue, its timers, the quit request, and the
// ways the desktop asks the player to end (signals, the session ending).
class MainHost : public QObject, private MainWindowHost {
    Q_OBJECT
public:
    // channel may be null when the single-instance channel could not be set up.
    MainHost(const MainWindowLinks& links, ModalLoops& modalLoops, InstanceChannel* channel,
             ShutdownSignals& shutdownSignals, MainWindowParts& parts, QObject* parent = nullptr);
    ~MainHost() override;

    // The main window's creation; -1 when it was refused.
    int create();
    MainWindow& mainWindow() { return *window_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void post(const Message& message) override;
    void postQuit(int status) override;
    std::string userName() const override;
    void complain(std::string_view line) override;
    bool endModalLoops() override;
    void handle(const Message& message);
    void playFiles(const std::vector<std::string>& files);

    MainWindowLinks links_;
    ModalLoops& modalLoops_;
    InstanceChannel* channel_;
    QtTimers timers_;
    std::unique_ptr<MainWindow> window_;
    SoundDeviceWatcher soundDevices_;
    bool traceMessages_ = false;
};

// The user's input, which waits its turn while the engine has not answered an open.
bool HeldInput(const QEvent& event);

// The user's log-on name, empty when it cannot be found.
std::string LogOnName();
