#include "tests/support/player_process.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QThread>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// What an unexpected end prints of each channel: the end of it, where the reason stands.
constexpr qsizetype kShownBytes = 6000;

// What the player wrote on a channel, left for the test to read as well.
QByteArray unread(QProcess& player, QProcess::ProcessChannel channel)
{
    const QProcess::ProcessChannel before = player.readChannel();
    player.setReadChannel(channel);
    QByteArray bytes = player.peek(player.bytesAvailable());
    player.setReadChannel(before);
    return bytes;
}

PlayerEnd endOf(QProcess& player, int status)
{
    return {status, unread(player, QProcess::StandardOutput), unread(player, QProcess::StandardError)};
}

void printTail(const char* name, const QByteArray& bytes, std::ostream* out)
{
    if (bytes.isEmpty()) {
        *out << "\n  " << name << ": nothing";
        return;
    }
    *out << "\n  " << name;
    if (bytes.size() > kShownBytes)
        *out << " (the last " << kShownBytes << " of " << bytes.size() << " bytes)";
    *out << ":\n" << bytes.right(kShownBytes).toStdString();
}
}  // namespace

bool operator==(const PlayerEnd& end, int status)
{
    return end.status == status;
}

void PrintTo(const PlayerEnd& end, std::ostream* out)
{
    *out << "status " << end.status;
    printTail("its standard output", end.standardOutput, out);
    printTail("its standard error", end.standardError, out);
}

PlayerSandbox::PlayerSandbox()
    : environment(QProcessEnvironment::systemEnvironment()), executable_(QUINTARA_EXE)
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

PlayerSandbox::~PlayerSandbox() = default;

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

QString PlayerSandbox::executableOr(const QString& executable) const
{
    return executable.isEmpty() ? executable_ : executable;
}

std::unique_ptr<QProcess> PlayerSandbox::launch(const QStringList& arguments, const QString& executable)
{
    auto player = std::make_unique<QProcess>();
    player->setProcessEnvironment(environment);
    if (inChild)
        player->setChildProcessModifier(inChild);
    player->start(executableOr(executable), arguments);
    if (!player->waitForStarted(5000)) {
        ADD_FAILURE() << "the player did not start: " << player->errorString().toStdString();
        return nullptr;
    }
    // A socket file may be a stale one: wait, bounded, until the player answers on it.
    const QDeadlineTimer deadline(10000);
    while (!channelReachable() && !deadline.hasExpired() && player->state() == QProcess::Running)
        player->waitForFinished(20);
    if (player->state() == QProcess::Running && channelReachable())
        return player;
    const bool ended = player->state() != QProcess::Running;
    ADD_FAILURE() << (ended ? "the player ended before it could be reached: "
                            : "the player ran, yet did not answer on its channel: ")
                  << testing::PrintToString(waitForEnd(*player, ended ? 2000 : 0));
    return nullptr;
}

PlayerEnd PlayerSandbox::run(const QStringList& arguments, QString* standardError, int timeoutMs,
                             const QString& executable)
{
    QProcess player;
    player.setProcessEnvironment(environment);
    if (inChild)
        player.setChildProcessModifier(inChild);
    player.start(executableOr(executable), arguments);
    PlayerEnd end = waitForEnd(player, timeoutMs);
    if (standardError)
        *standardError = QString::fromUtf8(end.standardError);
    return end;
}

PlayerEnd PlayerSandbox::waitForEnd(QProcess& player, int timeoutMs)
{
    // Qt answers false for a player that ended while the test waited for something else.
    const bool ended = player.state() == QProcess::NotRunning || player.waitForFinished(timeoutMs);
    if (!ended) {
        player.kill();
        player.waitForFinished(2000);
        return endOf(player, -1);
    }
    return endOf(player, player.exitStatus() == QProcess::NormalExit ? player.exitCode() : -1);
}

QString PlayerSandbox::copyOfPlayer(const TempDir& folder) const
{
    const QString copy = QString::fromStdString(folder.file("quintara"));
    QFile::remove(copy);
    QFile::copy(QUINTARA_EXE, copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return copy;
}

QString PlayerSandbox::copyOfShippedPlayer(const TempDir& folder,
                                           const std::function<std::string(std::string)>& edit) const
{
    const QString copy = copyOfPlayer(folder);
    std::filesystem::copy(QUINTARA_SOURCE_DIR "/resources/skin", folder.file("skin"),
                          std::filesystem::copy_options::recursive);
    std::ifstream shipped(QUINTARA_SOURCE_DIR "/resources/Quintara.CFG");
    const std::string config((std::istreambuf_iterator<char>(shipped)), std::istreambuf_iterator<char>());
    folder.write("Quintara.CFG", edit(config));
    return copy;
}

void PlayerSandbox::runAs(uid_t user, gid_t group)
{
    namespace fs = std::filesystem;
    // Installed as the install step lays it out: the executable, Quintara.CFG and the skin
    // together, as the build has them beside its executable; readable by all, as installed.
    elsewhere_ = std::make_unique<TempDir>();
    executable_ = copyOfPlayer(*elsewhere_);
    const fs::path built = fs::path(QUINTARA_EXE).parent_path();
    fs::copy_file(built / "Quintara.CFG", elsewhere_->file("Quintara.CFG"));
    fs::copy(built / "skin", elsewhere_->file("skin"), fs::copy_options::recursive);
    placeSuppressionsIn(*elsewhere_);
    fs::permissions(elsewhere_->path(), fs::perms(0755));
    for (const auto& entry : fs::recursive_directory_iterator(elsewhere_->path())) {
        const bool runs =
            entry.is_directory() || (entry.status().permissions() & fs::perms::owner_exec) != fs::perms::none;
        fs::permissions(entry.path(), fs::perms(runs ? 0755 : 0644));
    }
    // Its own folders are the user's.
    for (const auto& entry : fs::recursive_directory_iterator(runtime_.path()))
        ::lchown(entry.path().c_str(), user, group);
    ::chown(runtime_.path().c_str(), user, group);
    inChild = [user, group] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(group) != 0 || ::setuid(user) != 0)
            ::_exit(126);
    };
}

// A sanitized player reads its suppressions once it has something to report; unreadable,
// they fail it even over a leak they would excuse.
void PlayerSandbox::placeSuppressionsIn(const TempDir& folder)
{
    for (const char* variable : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
        QStringList options = environment.value(variable).split(':');
        for (QString& option : options) {
            if (!option.startsWith("suppressions="))
                continue;
            const std::filesystem::path file = option.section('=', 1).toStdString();
            const std::string copy = folder.file(file.filename().string());
            std::filesystem::copy_file(file, copy, std::filesystem::copy_options::overwrite_existing);
            option = "suppressions=" + QString::fromStdString(copy);
        }
        if (environment.contains(variable))
            environment.insert(variable, options.join(':'));
    }
}
