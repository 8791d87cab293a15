#pragma once

#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <QWindow>

// What a window answered to a drag entering it and to the drop that followed.
struct DropAnswers {
    bool entered = false;
    bool dropped = false;
    Qt::DropAction action = Qt::IgnoreAction;  // the drop's
};

// A drag of data entering the top-level widget's window at a point of it, then let go there,
// as the window system delivers them: Qt finds the widget under the point that takes drops.
// The actions offered are a file manager's by default.
inline DropAnswers DragAndDrop(QWidget& topLevel, QPoint at, const QMimeData& data,
                               Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction)
{
    QWindow* window = topLevel.windowHandle();
    DropAnswers answers;
    QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    answers.entered = enter.isAccepted();
    QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    answers.dropped = drop.isAccepted();
    answers.action = drop.dropAction();
    return answers;
}

// A text/uri-list of these addresses; a plain path stands for its file:// address.
inline std::unique_ptr<QMimeData> UriList(const std::vector<std::string>& addresses)
{
    QList<QUrl> urls;
    for (const std::string& address : addresses)
        urls.push_back(address.starts_with('/') ? QUrl::fromLocalFile(QString::fromStdString(address))
                                                : QUrl(QString::fromStdString(address)));
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}
