#include "core/file_drop.h"

#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

QString LocalPathOf(const QUrl& url)
{
    // file://host/path names another machine's file, reached by a share this player does not
    // mount; Qt would make it a UNC path.
    const bool here = url.host().isEmpty() || url.host() == QLatin1String("localhost");
    if (!url.isValid() || !url.isLocalFile() || !here)
        return {};
    QUrl local = url;
    local.setHost(QString());
    return local.toLocalFile();
}

std::vector<std::string> FileDrop_Files(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    std::vector<std::string> files;
    for (const QUrl& url : data->urls()) {
        const QString path = LocalPathOf(url);
        if (path.isEmpty())
            return {};
        // The bytes of the name as the file system has them, as a command line gives them.
        files.push_back(QFile::encodeName(path).toStdString());
    }
    return files;
}

namespace {
// Playing leaves the files where they are: a move would let the source delete them.
bool acceptAsCopy(QDropEvent& event)
{
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction})
        if (event.possibleActions() & action) {
            event.setDropAction(action);
            event.accept();
            return true;
        }
    event.ignore();
    return false;
}
}  // namespace

bool FileDrop_Event(QObject& window, QEvent& event, FileDropTarget* target)
{
    switch (event.type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto& drag = static_cast<QDropEvent&>(event);
        if (target && !FileDrop_Files(drag.mimeData()).empty())
            acceptAsCopy(drag);
        else
            drag.ignore();
        return true;
    }
    case QEvent::DragLeave:
        return true;
    case QEvent::Drop: {
        auto& drop = static_cast<QDropEvent&>(event);
        std::vector<std::string> files = FileDrop_Files(drop.mimeData());
        if (!target || files.empty() || !acceptAsCopy(drop)) {
            drop.ignore();
            return true;
        }
        QMetaObject::invokeMethod(
            &window, [target, files = std::move(files)] { target->playFiles(files); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}
