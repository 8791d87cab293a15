#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <ostream>

#include <sys/types.h>

#include "tests/support/temp_dir.h"

// How a player process ended, with what it wrote: a test that expects another end prints it,
// so that a failure says why the player ended as it did.
struct PlayerEnd {
    int status = -1;  // its exit status; -1 when it crashed or hung
    QByteArray standardOutput;
    QByteArray standardError;  // all of it, also what the test reads afterwards
};
bool operator==(const PlayerEnd& end, int status);
void PrintTo(const PlayerEnd& end, std::ostream* out);

// The real player in a process of its own, with a private runtime and config folder so that
// tests running side by side never meet each other's instance.
class PlayerSandbox {
public:
    PlayerSandbox();
    ~PlayerSandbox();

    // Starts the player; it is running and reachable when this answers true. When it does not
    // come up, the test fails with what the player said.
    std::unique_ptr<QProcess> launch(const QStringList& arguments = {}, const QString& executable = {});
    // Runs the player to its end.
    PlayerEnd run(const QStringList& arguments, QString* standardError = nullptr, int timeoutMs = 10000,
                  const QString& executable = {});
    // Waits for a launched player to end.
    static PlayerEnd waitForEnd(QProcess& player, int timeoutMs = 10000);
    // Whether the instance channel's socket file exists, and whether a player answers on it.
    bool channelExists() const;
    bool channelReachable() const;
    // A copy of the player in a folder of its own, so that a Quintara.CFG can lie beside it.
    QString copyOfPlayer(const TempDir& folder) const;
    // That copy with the shipped skin and the shipped Quintara.CFG, as edit makes it, beside it.
    QString copyOfShippedPlayer(const TempDir& folder, const std::function<std::string(std::string)>& edit) const;
    // From here on the player runs as that user. Its runtime folder becomes the user's, and
    // what the player needs beside itself, and the sanitizers' suppressions, are copied to
    // where the user reaches them: the build folder may lie in a private one.
    void runAs(uid_t user, gid_t group);

    QProcessEnvironment environment;
    // Runs in the player's process before it starts: limits, another user.
    std::function<void()> inChild;
    const TempDir& runtime() const { return runtime_; }

private:
    QString channelPath() const;
    QString executableOr(const QString& executable) const;
    void placeSuppressionsIn(const TempDir& folder);

    TempDir runtime_;
    std::unique_ptr<TempDir> elsewhere_;  // the player's copy when another user runs it
    QString executable_;
};
