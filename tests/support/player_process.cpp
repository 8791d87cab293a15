#include "tests/support/player_process.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QThread>

#include <sys/stat.h>

PlayerSandbox::PlayerSandbox() : environment(QProcessEnvironment::systemEnvironment())
{
    ::chmod(runtime_.path().c_str(), 0700);
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime_.path()));
    environment.insert("XDG_CONFIG_HOME", QString::fromStdString(runtime_.file("config")));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("DISPLAY", ":quintara-test");
    environment.remove("WAYLAND_DISPLAY");
    // Players side by side must not meet on the desktop's bus either; a test gives its own.
    environment.remove("DBUS_SESSION_BUS_ADDRESS");
}

bool PlayerSandbox::channelExists() const
{
    return !channelPath().isEmpty();
}

bool PlayerSandbox::channelReachable() const
{
    const QString path = channelPath();
    if (path.isEmpty())
        return false;
    QLocalSocket probe;
    probe.connectToServer(path);
    return probe.waitForConnected(1000);
}

QString PlayerSandbox::channelPath() const
{
    const QDir folder(QString::fromStdString(runtime_.path()));
    const QStringList found = folder.entryList({"quintara-*.socket"}, QDir::System);
    return found.size() == 1 ? folder.filePath(found.front()) : QString();
}

std::unique_ptr<QProcess> PlayerSandbox::launch(const QStringList& arguments, const QString& executable)
{
    auto player = std::make_unique<QProcess>();
    player->setProcessEnvironment(environment);
    if (inChild)
        player->setChildProcessModifier(inChild);
    player->start(executable.isEmpty() ? QString(QUINTARA_EXE) : executable, arguments);
    if (!player->waitForStarted(5000))
        return nullptr;
    // A socket file may be a stale one: wait, bounded, until the player answers on it.
    const QDeadlineTimer deadline(10000);
    while (!channelReachable() && !deadline.hasExpired() && player->state() == QProcess::Running)
        player->waitForFinished(20);
    if (player->state() != QProcess::Running || !channelReachable())
        return nullptr;
    return player;
}

int PlayerSandbox::run(const QStringList& arguments, QString* standardError, int timeoutMs, const QString& executable)
{
    QProcess player;
    player.setProcessEnvironment(environment);
    if (inChild)
        player.setChildProcessModifier(inChild);
    player.start(executable.isEmpty() ? QString(QUINTARA_EXE) : executable, arguments);
    const int status = waitForEnd(player, timeoutMs);
    if (standardError)
        *standardError = QString::fromUtf8(player.readAllStandardError());
    return status;
}

int PlayerSandbox::waitForEnd(QProcess& player, int timeoutMs)
{
    if (!player.waitForFinished(timeoutMs)) {
        player.kill();
        player.waitForFinished(2000);
        return -1;
    }
    return player.exitStatus() == QProcess::NormalExit ? player.exitCode() : -1;
}

QString PlayerSandbox::copyOfPlayer(const TempDir& folder) const
{
    const QString copy = QString::fromStdString(folder.file("quintara"));
    QFile::remove(copy);
    QFile::copy(QUINTARA_EXE, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return copy;
}
