#include "app/instance_channel.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int LockWaitMs = 3000;     // another start holds the lock only while it claims
constexpr int ConnectWaitMs = 1000;
constexpr int SendWaitMs = 3000;

// Closes connections from other users before Qt reads a byte from them: the socket file's
// mode is the first guard, this one holds even where a folder or a file is too open.
class SameUserServer final : public QLocalServer {
public:
    using QLocalServer::QLocalServer;

protected:
    void incomingConnection(quintptr descriptor) override
    {
        const int fd = static_cast<int>(descriptor);
        ucred peer {};
        socklen_t size = sizeof peer;
        if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || size != sizeof peer
            || peer.uid != ::geteuid()) {
            ::close(fd);
            return;
        }
        QLocalServer::incomingConnection(descriptor);
    }
};

struct PeerState {
    InstanceLines lines;
    std::vector<std::string> files;  // named since the last "open"
};

// Reads what the peer sent and answers its complete lines of acceptable length, in order.
std::vector<std::string> takeLines(QLocalSocket* peer, PeerState& state, bool& overCap)
{
    overCap = false;
    if (peer->bytesAvailable() <= 0)  // reading a socket already closed only draws a warning
        return {};
    const QByteArray bytes = peer->readAll();
    return state.lines.take(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), overCap);
}

// One decimal field followed by a space, or by the end of the line when it is the last.
template <typename Number>
bool takeField(std::string_view& rest, Number& value, bool last)
{
    const size_t space = rest.find(' ');
    if (last != (space == std::string_view::npos))
        return false;
    const std::string_view text = rest.substr(0, space);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc {} || stop != end)
        return false;
    rest.remove_prefix(last ? rest.size() : space + 1);
    return true;
}

}  // namespace

std::vector<std::string> InstanceLines::take(std::string_view bytes, bool& overCap)
{
    std::vector<std::string> lines;
    const qint64 size = static_cast<qint64>(bytes.size());
    const qint64 room = InstanceChannel::MaxBytesPerPeer - received;
    received += size;
    overCap = size > room;
    std::string_view rest = bytes.substr(0, static_cast<size_t>(std::clamp<qint64>(room, 0, size)));
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        if (!overlong) {
            pending.append(rest.substr(0, end));
            const bool fileLine = pending.starts_with("file ");
            const size_t limit = fileLine ? InstanceChannel::MaxFileLineBytes : InstanceChannel::MaxLineBytes;
            if (pending.size() > limit) {
                overlong = true;
                pending.clear();
            }
        }
        if (end == std::string_view::npos)
            break;
        if (!overlong)
            lines.push_back(pending);
        pending.clear();
        overlong = false;
        rest.remove_prefix(end + 1);
    }
    return lines;
}

std::optional<Message> ParseInstancePostLine(std::string_view line)
{
    constexpr std::string_view verb = "post ";
    if (!line.starts_with(verb))
        return std::nullopt;
    line.remove_prefix(verb.size());
    Message message;
    if (!takeField(line, message.id, false) || !takeField(line, message.wParam, false)
        || !takeField(line, message.lParam, true))
        return std::nullopt;
    return message;
}

std::optional<std::string> ParseInstanceFileLine(std::string_view line)
{
    constexpr std::string_view verb = "file ";
    if (!line.starts_with(verb))
        return std::nullopt;
    line.remove_prefix(verb.size());
    const auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    if (line.empty() || line.size() % 2 != 0)
        return std::nullopt;
    std::string path;
    for (size_t i = 0; i < line.size(); i += 2) {
        const int high = digit(line[i]);
        const int low = digit(line[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        path += static_cast<char>(high * 16 + low);
    }
    // Relative paths would be taken from the wrong folder; a NUL would cut the name short.
    if (path.front() != '/' || path.find('\0') != std::string::npos)
        return std::nullopt;
    return path;
}

namespace {

QString socketName()
{
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        display = QStringLiteral("none");
    display.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("_"));
    return QStringLiteral("quintara-") + display + QStringLiteral(".socket");
}

// The session's runtime folder counts only when nobody else can look into it.
QString privateRuntimeFolder()
{
    const QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
    struct stat info {};
    if (!folder.startsWith('/') || ::stat(folder.constData(), &info) != 0 || !S_ISDIR(info.st_mode)
        || info.st_uid != ::geteuid() || (info.st_mode & 077) != 0)
        return {};
    return QDir::cleanPath(QFile::decodeName(folder));
}

// /tmp is shared: a folder there is ours only if it is a real directory we own that nobody
// else may enter. Anything else may be a trap laid by another user.
bool makePrivateFolder(const QString& path)
{
    const QByteArray folder = QFile::encodeName(path);
    if (folder.isEmpty())
        return false;
    if (::mkdir(folder.constData(), 0700) == 0)
        ::chmod(folder.constData(), 0700);  // whatever the umask
    else if (errno != EEXIST)
        return false;
    struct stat info {};
    return ::lstat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & 07777) == 0700;
}

}  // namespace

QString InstanceChannel::defaultSocketPath()
{
    return defaultSocketPath(QStringLiteral("/tmp/quintara-%1").arg(::geteuid()));
}

QString InstanceChannel::defaultSocketPath(const QString& fallbackFolder)
{
    QString folder = privateRuntimeFolder();
    if (folder.isEmpty()) {
        if (!makePrivateFolder(fallbackFolder))
            return {};
        folder = fallbackFolder;
    }
    return QDir(folder).filePath(socketName());
}

QString InstanceChannel::lockPathFor(const QString& socketPath)
{
    return socketPath + QStringLiteral(".lock");
}

InstanceChannel::InstanceChannel(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath))
{
}

InstanceChannel::~InstanceChannel()
{
    // Peers closing as they go must not reach receivers of a channel half gone.
    blockSignals(true);
    delete server_;  // closing removes the socket file
}

InstanceChannel::Role InstanceChannel::claim(bool mayStart)
{
    if (server_)
        return Role::First;
    if (toFirst_)
        return Role::Second;
    if (socketPath_.isEmpty())
        return Role::Unavailable;

    // Held from the look for a running instance to listening, so that of two starts racing
    // the later one finds the earlier listening rather than removing its socket.
    QLockFile lock(lockPathFor(socketPath_));
    if (!lock.tryLock(LockWaitMs))
        return Role::Unavailable;

    auto socket = std::make_unique<QLocalSocket>();
    socket->connectToServer(socketPath_);
    if (socket->waitForConnected(ConnectWaitMs)) {
        toFirst_ = socket.release();
        toFirst_->setParent(this);
        return Role::Second;
    }
    // Only a missing or refused socket means nobody runs; a listener that does not answer
    // in time is alive but stuck, and its place is not ours to take.
    const QLocalSocket::LocalSocketError error = socket->error();
    if (error != QLocalSocket::ServerNotFoundError && error != QLocalSocket::ConnectionRefusedError)
        return Role::Unavailable;
    if (!mayStart)
        return Role::NoneRunning;

    auto server = std::make_unique<SameUserServer>();
    server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(socketPath_);  // refused: left by an instance that was killed
    if (!server->listen(socketPath_))
        return Role::Unavailable;
    ::chmod(QFile::encodeName(socketPath_).constData(), 0600);
    server_ = server.release();
    server_->setParent(this);
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::acceptPeers);
    return Role::First;
}

bool InstanceChannel::send(const std::vector<Message>& messages, const std::vector<std::string>& files,
                           const std::vector<Message>& after)
{
    if (!toFirst_ || toFirst_->state() != QLocalSocket::ConnectedState)
        return false;
    QByteArray bytes;
    const auto post = [&bytes](const std::vector<Message>& posted) {
        for (const Message& message : posted) {
            bytes += "post " + QByteArray::number(message.id) + ' ' + QByteArray::number(qulonglong(message.wParam))
                + ' ' + QByteArray::number(qlonglong(message.lParam)) + '\n';
        }
    };
    post(messages);
    if (!files.empty()) {
        for (const std::string& file : files)
            bytes += "file " + QByteArray::fromStdString(file).toHex() + '\n';
        bytes += "open\n";
    }
    post(after);
    if (bytes.isEmpty())
        return true;
    if (toFirst_->write(bytes) != bytes.size())
        return false;
    const QDeadlineTimer deadline(SendWaitMs);
    while (toFirst_->bytesToWrite() > 0) {
        if (deadline.hasExpired() || !toFirst_->waitForBytesWritten(int(deadline.remainingTime())))
            return false;
    }
    return true;
}

void InstanceChannel::allowMessage(uint32_t id)
{
    if (std::find(allowed_.begin(), allowed_.end(), id) == allowed_.end())
        allowed_.push_back(id);
}

void InstanceChannel::acceptPeers()
{
    while (QLocalSocket* peer = server_->nextPendingConnection())
        watchPeer(peer);
}

void InstanceChannel::watchPeer(QLocalSocket* peer)
{
    auto state = std::make_shared<PeerState>();
    // Answers false when the peer is gone: a receiver may have torn the channel down.
    auto read = [this, peer, state]() -> bool {
        bool overCap = false;
        const std::vector<std::string> lines = takeLines(peer, *state, overCap);
        if (overCap) {
            peer->disconnect(this);
            peer->abort();
            peer->deleteLater();
        }
        const QPointer<QLocalSocket> alive(peer);
        for (const std::string& line : lines) {
            if (std::optional<std::string> file = ParseInstanceFileLine(line)) {
                state->files.push_back(std::move(*file));
                continue;
            }
            if (line == "open") {
                std::vector<std::string> files = std::move(state->files);
                state->files.clear();
                if (files.empty())
                    continue;
                emit filesReceived(files);
                if (!alive)
                    return false;
                continue;
            }
            const std::optional<Message> message = ParseInstancePostLine(line);
            const bool allowed = message && (message->id == msg::Close || message->id == msg::SecondStart
                || std::find(allowed_.begin(), allowed_.end(), message->id) != allowed_.end());
            if (!allowed)
                continue;
            emit messageReceived(*message);
            if (!alive)
                return false;
        }
        return !overCap;
    };
    connect(peer, &QLocalSocket::readyRead, this, read);
    // What is left after the last newline is a line cut short: it goes with the peer.
    connect(peer, &QLocalSocket::disconnected, this, [peer, read] {
        if (read())
            peer->deleteLater();
    });
    read();
}
