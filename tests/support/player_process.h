#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "tests/support/temp_dir.h"

// The real player in a process of its own, with a private runtime and config folder so that
// tests running side by side never meet each other's instance.
class PlayerSandbox {
public:
    PlayerSandbox();

    // Starts the player; it is running and reachable when this answers true.
    std::unique_ptr<QProcess> launch(const QStringList& arguments = {}, const QString& executable = {});
    // Runs the player to its end; answers its exit status (-1 when it crashed or hung).
    int run(const QStringList& arguments, QString* standardError = nullptr, int timeoutMs = 10000,
            const QString& executable = {});
    // Waits for a launched player to end; answers its exit status (-1 when it crashed or hung).
    static int waitForEnd(QProcess& player, int timeoutMs = 10000);
    // Whether the instance channel's socket file exists, and whether a player answers on it.
    bool channelExists() const;
    bool channelReachable() const;
    // A copy of the player in a folder of its own, so that a Quintara.CFG can lie beside it.
    QString copyOfPlayer(const TempDir& folder) const;

    QProcessEnvironment environment;
    // Runs in the player's process before it starts: limits, another user.
    std::function<void()> inChild;
    const TempDir& runtime() const { return runtime_; }

private:
    QString channelPath() const;

    TempDir runtime_;
};
