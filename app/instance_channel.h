#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/message.h"

class QLocalServer;
class QLocalSocket;

// One running player per user and display: the first start listens on a local socket,
// a second start connects and hands its messages over, then exits.
//
// Wire format (plain ASCII, one line per message, other programs may speak it):
//
//     post <id> <wParam> <lParam>\n
//     file <path>\n
//     open\n
//
// Fields are separated by single spaces. Post's fields are decimal: <id> fits 32 bits
// unsigned, <wParam> 64 bits unsigned, <lParam> 64 bits signed (it may start with "-").
// A file's <path> is the bytes of an absolute path, two lowercase hexadecimal digits a byte,
// so that any name travels; "open" hands the files named since the last "open" over as one
// list. Nothing else is allowed on a line, not even a trailing "\r". Post lines over 256
// bytes, file lines over 8,200, unknown verbs, fields that do not parse and ids that are not
// allowed are dropped one by one; a connection that sends more than 4 MiB in all is dropped.
// Only peers running as the same user are heard. The listener never answers.
class InstanceChannel : public QObject {
    Q_OBJECT

public:
    enum class Role {
        First,        // we listen; messages of later starts arrive through messageReceived
        Second,       // another instance runs; send() reaches it
        NoneRunning,  // claim(false) found nobody and created nothing
        Unavailable,  // no usable folder, the lock could not be taken, or listening failed
    };

    static constexpr int MaxLineBytes = 256;
    static constexpr int MaxFileLineBytes = 8200;  // a path of 4,095 bytes
    static constexpr qint64 MaxBytesPerPeer = 4 * 1024 * 1024;

    // In $XDG_RUNTIME_DIR when it is a private folder of ours, else in /tmp/quintara-<uid>
    // (made 0700); empty when neither can be trusted.
    static QString defaultSocketPath();
    // The same with another folder in place of /tmp/quintara-<uid>.
    static QString defaultSocketPath(const QString& fallbackFolder);
    static QString lockPathFor(const QString& socketPath);

    explicit InstanceChannel(QString socketPath = defaultSocketPath(), QObject* parent = nullptr);
    ~InstanceChannel() override;

    // Once claimed as First or Second, later calls answer the same role.
    Role claim(bool mayStart);
    // Second only: true when every message was written before the time ran out. The running
    // player takes them in this order: the messages, the files as one open, then after.
    bool send(const std::vector<Message>& messages, const std::vector<std::string>& files = {},
              const std::vector<Message>& after = {});
    // msg::Close and msg::SecondStart are always accepted.
    void allowMessage(uint32_t id);

    QString socketPath() const { return socketPath_; }

signals:
    void messageReceived(const Message& message);
    // The files of one "open", in the order they were named.
    void filesReceived(const std::vector<std::string>& files);

private:
    void acceptPeers();
    void watchPeer(QLocalSocket* peer);

    QString socketPath_;
    std::vector<uint32_t> allowed_;
    QLocalServer* server_ = nullptr;
    QLocalSocket* toFirst_ = nullptr;
};

// The wire format apart from the socket: one peer's bytes cut into lines, as they arrive.
struct InstanceLines {
    std::string pending;  // the line begun but not yet ended
    qint64 received = 0;
    bool overlong = false;  // the line under way is dropped whatever follows up to its end

    // The complete lines of acceptable length, in order. Bytes beyond the peer's allowance are
    // not looked at; overCap tells the caller to drop the peer.
    std::vector<std::string> take(std::string_view bytes, bool& overCap);
};

// A "post" line's message; nullopt when the line is anything else or does not parse.
std::optional<Message> ParseInstancePostLine(std::string_view line);
// A "file" line's absolute path; nullopt when the line is anything else or does not parse.
std::optional<std::string> ParseInstanceFileLine(std::string_view line);
