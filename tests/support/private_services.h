#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>

#include "tests/support/temp_dir.h"

// A session bus of the test's own, gone with it.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();
    QString address;

private:
    QProcess daemon_;
};

// The accessibility bus of a private session bus, as a desktop session starts it: the AT-SPI
// bus launcher owning org.a11y.Bus there, with the accessibility bus and its registry behind it.
// Started without a display, so that it leaves no mark on the X server other tests share.
class PrivateAccessibilityBus {
public:
    explicit PrivateAccessibilityBus(const QString& sessionBus);
    ~PrivateAccessibilityBus();
    // The accessibility bus, as org.a11y.Bus gives it; empty when it did not come up.
    QString address;

private:
    QProcess launcher_;
};

// A private sound server with null sinks, listening on a socket in its own folder, so that
// the server the other tests share is never disturbed.
class PrivateSoundServer {
public:
    explicit PrivateSoundServer(const TempDir& folder, QStringList sinks = {"private_null"});
    ~PrivateSoundServer() { kill(); }

    std::string address() const { return "unix:" + socket_.toStdString(); }
    // True once it runs.
    bool start();
    // Dies at once, as a crashed server does.
    void kill();
    // pactl against this server; true when it succeeded, its output in output when given.
    bool pactl(const QStringList& arguments, QString* output = nullptr) const;

private:
    QString runtime_;
    QString socket_;
    QStringList sinks_;
    std::unique_ptr<QProcess> process_;
};
