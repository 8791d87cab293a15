#include <QApplication>

#include <clocale>
#include <iostream>
#include <vector>

#include "core/app_icons.h"
#include "app/command_line.h"
#include "app/instance_channel.h"
#include "app/main_window.h"
#include "app/player.h"
#include "app/session_platform.h"
#include "app/shutdown_signals.h"

namespace {
// Collects what the command line asks for, to hand it to the running player.
class Outbox : public Window {
public:
    void post(const Message& message) override { messages.push_back(message); }
    TimerHost& timers() override { std::abort(); }
    std::vector<Message> messages;
};

int handOver(InstanceChannel& channel, const CommandLineRequest& request)
{
    Outbox outbox;
    std::vector<Message> beforeFiles;
    const auto filesGoNow = [&outbox, &beforeFiles] { beforeFiles.swap(outbox.messages); };
    if (request.close) {
        outbox.post({msg::Close, 0, 0});
        filesGoNow();
    } else {
        HandleCommandLine(outbox, request.line, filesGoNow);
    }
    const bool any = !beforeFiles.empty() || !request.files.empty() || !outbox.messages.empty();
    if (any && !channel.send(beforeFiles, request.files, outbox.messages))
        std::cerr << "quintara: the running player did not take the request" << std::endl;
    return 0;
}
}  // namespace

int main(int argc, char** argv)
{
    ShutdownSignals::hold();
    const CommandLineRequest request = ParseCommandLine(argc, argv);

    // Settled before anything needs a display: a second start, or "Close" with none running.
    {
        InstanceChannel probe;
        const InstanceChannel::Role role = probe.claim(false);
        if (role == InstanceChannel::Role::Second)
            return handOver(probe, request);
        if (request.close)
            return 0;
    }

    const bool platformChosen = Session_ChoosePlatform();
    QApplication application(argc, argv);
    Session_ForgetPlatform(platformChosen);
    // Ties the windows to the launcher and its icon (the Wayland app id).
    QGuiApplication::setDesktopFileName("com.halvex.Quintara");
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    // Also the icon of the windows that name none, such as the engine's dialog.
    QApplication::setWindowIcon(PlayerIcon());
    // Before the channel opens: from then on a polite kill, also one that came while Qt
    // started, finds the orderly way out.
    ShutdownSignals shutdownSignals;

    InstanceChannel channel;
    const InstanceChannel::Role role = channel.claim(true);
    if (role == InstanceChannel::Role::Second)
        return handOver(channel, request);
    if (role != InstanceChannel::Role::First)
        std::cerr << "quintara: cannot set up the single-instance channel; a second start will not find this one"
                  << std::endl;

    // Declared after the application, so that it and all it holds go before Qt does.
    Player player(role == InstanceChannel::Role::First ? &channel : nullptr, shutdownSignals);
    if (player.create() < 0)
        return 0;
    // Queued behind the drive's disc and before "/Play", as the messages are.
    HandleCommandLine(player.mainWindow(), request.line, [&application, &player, &request] {
        if (request.files.empty())
            return;
        QMetaObject::invokeMethod(
            &application, [&player, files = request.files] { player.mainWindow().playFiles(files); },
            Qt::QueuedConnection);
    });
    return QApplication::exec();
}
