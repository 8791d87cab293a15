#include "app/main_host.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <iostream>
#include <vector>

#include <pwd.h>
#include <unistd.h>

#include "core/app_windows.h"
#include "core/turns.h"
#include "core/device_change.h"
#include "app/instance_channel.h"
#include "core/modal_loop.h"

std::string LogOnName()
{
    std::vector<char> buffer(16384);
    passwd entry {};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return {};
}

bool HeldInput(const QEvent& event)
{
    // Spontaneous ones only: those sent again in their turn pass, and so do Qt's own.
    if (!event.spontaneous())
        return false;
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

namespace {
// As a click elsewhere dismisses a menu and Cancel ends a dialog; menus first, as a list's
// drop-down may lie over a dialog.
void endModalWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* widget : QApplication::topLevelWidgets())
        windows.append(widget);
    for (const QPointer<QWidget>& widget : windows) {
        if (widget && widget->isVisible() && widget->windowType() == Qt::Popup)
            widget->close();
    }
    for (const QPointer<QWidget>& widget : windows) {
        auto* dialog = qobject_cast<QDialog*>(widget.data());
        if (dialog && dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
}
}  // namespace

MainHost::MainHost(const MainWindowLinks& links, ModalLoops& modalLoops, InstanceChannel* channel,
                   ShutdownSignals& shutdownSignals, MainWindowParts& parts, QObject* parent)
    : QObject(parent),
      links_(links),
      modalLoops_(modalLoops),
      channel_(channel),
      timers_([this](TimerId id) { window_->timerTick(id); }, &links.turns),
      traceMessages_(!qEnvironmentVariableIsEmpty("QUINTARA_TRACE_MESSAGES"))
{
    window_ = std::make_unique<MainWindow>(links_, timers_, static_cast<MainWindowHost&>(*this), parts);

    connect(&soundDevices_, &SoundDeviceWatcher::deviceChanged, this, [this](uint32_t event) {
        DeviceHeader header;
        header.deviceType = device_type::DevNode;
        window_->deviceChange(event, &header);
    });
    connect(&shutdownSignals, &ShutdownSignals::requested, this, [this] { post({msg::Close, 0, 0}); });
    if (channel_)
        connect(channel_, &InstanceChannel::messageReceived, this, &MainHost::post);
    if (channel_) {
        // Queued like a posted message, so that files arrive in order with the messages
        // sent before them.
        connect(channel_, &InstanceChannel::filesReceived, this, [this](const std::vector<std::string>& files) {
            QMetaObject::invokeMethod(this, [this, files] { playFiles(files); }, Qt::QueuedConnection);
        });
    }
    // The session manager ending the session reaches us as the application's quit request.
    QCoreApplication::instance()->installEventFilter(this);
}

MainHost::~MainHost()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

int MainHost::create()
{
    const int result = window_->create();
    if (channel_ && links_.windows.registeredMessage != 0)
        channel_->allowMessage(links_.windows.registeredMessage);
    return result;
}

bool MainHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        window_->endSession(true);
        return true;
    }
    if (links_.turns.waiting() && HeldInput(*event)) {
        // The user's input waits for the engine's answer as the rest does, and comes in its turn.
        links_.turns.take([receiver = QPointer<QObject>(watched), held = std::shared_ptr<QEvent>(event->clone())] {
            if (receiver)
                QCoreApplication::sendEvent(receiver, held.get());
        });
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void MainHost::postQuit(int status)
{
    QCoreApplication::exit(status);
}

std::string MainHost::userName() const
{
    return LogOnName();
}

void MainHost::complain(std::string_view line)
{
    std::cerr << "quintara: " << line << std::endl;
}

bool MainHost::endModalLoops()
{
    // Queued: the shut-down then runs from the loop below them all, never from an opener.
    if (!modalLoops_.whenAllEnded([this] { post({msg::Close, 0, 0}); }))
        return false;
    endModalWindows();
    return true;
}

void MainHost::post(const Message& message)
{
    QMetaObject::invokeMethod(this, [this, message] { handle(message); }, Qt::QueuedConnection);
}

void MainHost::playFiles(const std::vector<std::string>& files)
{
    if (traceMessages_) {
        std::cerr << "quintara: files";
        for (const std::string& file : files)
            std::cerr << ' ' << file;
        std::cerr << std::endl;
    }
    window_->playFiles(files);
}

void MainHost::handle(const Message& message)
{
    if (traceMessages_)
        std::cerr << "quintara: message " << message.id << ' ' << message.wParam << ' ' << message.lParam
                  << std::endl;
    window_->handle(message);
}
