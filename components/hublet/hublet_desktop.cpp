#include "components/hublet/hublet_desktop.h"

#include <string_view>

#include <QDesktopServices>
#include <QFileInfo>
#include <QString>
#include <QUrl>
#include <QWidget>

#include "core/window.h"

namespace {

constexpr std::string_view kRegisteredMessageName = "HalvexVideoPlayerRegisteredMessage";
constexpr uint32_t kFirstRegisteredMessage = 0xC000;
constexpr uint32_t kRegisteredMessageCount = 0x4000;

// FNV-1a: fixed, unlike qHash, which is seeded anew in every process.
constexpr uint32_t fnv1a(std::string_view text)
{
    uint32_t hash = 2166136261u;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

}  // namespace

uint32_t RegisteredMessageId()
{
    static_assert(kFirstRegisteredMessage + kRegisteredMessageCount - 1 == 0xFFFF);
    return kFirstRegisteredMessage + fnv1a(kRegisteredMessageName) % kRegisteredMessageCount;
}

bool HubletQtDesktop::executeCommand(const std::string& path)
{
    if (path.empty())
        return false;
    const QFileInfo file(QString::fromStdString(path));
    if (!file.exists())
        return false;
    // A file URL, handed to the desktop's opener: no shell ever sees the path.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}

bool HubletQtDesktop::setWindowToForeground(Window* window)
{
    auto* widget = dynamic_cast<QWidget*>(window);
    if (!widget)
        return false;
    QWidget* topLevel = widget->window();
    if (!topLevel->isVisible())
        return false;
    if (topLevel->isMinimized()) {
        // Clearing only the minimised flag brings a full-screen video frame back full screen.
        topLevel->setWindowState(topLevel->windowState() & ~Qt::WindowMinimized);
        topLevel->show();
    }
    topLevel->raise();
    topLevel->activateWindow();
    return true;
}

uint32_t HubletQtDesktop::retrieveRegisterWindowMessage()
{
    return RegisteredMessageId();
}
