#include "tests/support/private_services.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QThread>

namespace {
constexpr int kWaitMs = 10000;
}

PrivateBus::PrivateBus()
{
    daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    if (daemon_.waitForStarted(5000) && daemon_.waitForReadyRead(5000))
        address = QString::fromUtf8(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000))
        daemon_.kill();
}

PrivateAccessibilityBus::PrivateAccessibilityBus(const QString& sessionBus)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", sessionBus);
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    launcher_.setProcessEnvironment(environment);
    launcher_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    launcher_.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately", "--a11y=1"});
    if (!launcher_.waitForStarted(kWaitMs))
        return;
    const QString name = "quintara-a11y-launcher";
    {
        QDBusConnection session = QDBusConnection::connectToBus(sessionBus, name);
        const QDeadlineTimer deadline(kWaitMs);
        while (!session.interface()->isServiceRegistered("org.a11y.Bus").value() && !deadline.hasExpired() &&
               launcher_.state() == QProcess::Running)
            QThread::msleep(20);
        const QDBusMessage answer = session.call(
            QDBusMessage::createMethodCall("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"), QDBus::Block,
            kWaitMs);
        if (answer.type() == QDBusMessage::ReplyMessage && !answer.arguments().isEmpty())
            address = answer.arguments().constFirst().toString();
    }
    QDBusConnection::disconnectFromBus(name);
}

PrivateAccessibilityBus::~PrivateAccessibilityBus()
{
    // The launcher ends the accessibility bus it started, and the registry goes with its bus.
    launcher_.terminate();
    if (!launcher_.waitForFinished(kWaitMs))
        launcher_.kill();
}

PrivateSoundServer::PrivateSoundServer(const TempDir& folder, QStringList sinks)
    : runtime_(QString::fromStdString(folder.path())), socket_(runtime_ + "/native"), sinks_(std::move(sinks))
{
}

bool PrivateSoundServer::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", runtime_);
    process_ = std::make_unique<QProcess>();
    process_->setProcessEnvironment(environment);
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments{"--daemonize=no", "--exit-idle-time=-1", "--disallow-exit", "-n", "--use-pid-file=no",
                          "--log-level=error", "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket_};
    for (const QString& sink : sinks_)
        arguments << "--load=module-null-sink sink_name=" + sink;
    process_->start("pulseaudio", arguments);
    return process_->waitForStarted(kWaitMs);
}

void PrivateSoundServer::kill()
{
    if (!process_)
        return;
    process_->kill();
    process_->waitForFinished(kWaitMs);
    process_.reset();
}

bool PrivateSoundServer::pactl(const QStringList& arguments, QString* output) const
{
    QProcess pactl;
    pactl.start("pactl", QStringList{"--server=" + QString::fromStdString(address())} + arguments);
    const bool done = pactl.waitForFinished(kWaitMs) && pactl.exitStatus() == QProcess::NormalExit &&
                      pactl.exitCode() == 0;
    if (output)
        *output = QString::fromUtf8(pactl.readAllStandardOutput());
    return done;
}
