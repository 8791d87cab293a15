#include "app/shutdown_signals.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// A signal handler can reach nothing but a static; it only writes the number down.
int wakeFds[2] = {-1, -1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void onSignal(int number)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
    errno = saved;
}

bool setHeld(int how)
{
    sigset_t set;
    sigemptyset(&set);
    for (int number : kSignals)
        sigaddset(&set, number);
    return ::pthread_sigmask(how, &set, nullptr) == 0;
}
}  // namespace

bool ShutdownSignals::hold()
{
    return setHeld(SIG_BLOCK);
}

ShutdownSignals::ShutdownSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeFds) != 0) {
        setHeld(SIG_UNBLOCK);  // without a way to the GUI thread, the default end is better than none
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(wakeFds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &ShutdownSignals::drain);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals)
        ::sigaction(number, &action, nullptr);
    setHeld(SIG_UNBLOCK);
}

ShutdownSignals::~ShutdownSignals()
{
    setHeld(SIG_BLOCK);
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int number : kSignals)
        ::sigaction(number, &action, nullptr);
    notifier_.reset();
    for (int& fd : wakeFds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void ShutdownSignals::drain()
{
    unsigned char byte = 0;
    while (::read(wakeFds[0], &byte, 1) == 1)
        emit requested(byte);
}
