#pragma once

#include <QString>

#include <string>
#include <vector>

class QEvent;
class QMimeData;
class QObject;
class QUrl;

// Where the files dropped on a window go: they play as the same names would from the command
// line. The main window takes them; a window without one accepts no drop.
class FileDropTarget {
public:
    virtual void playFiles(const std::vector<std::string>& files) = 0;

protected:
    ~FileDropTarget() = default;
};

// The path of a file of this machine (file:///…, file://localhost/…); empty for any other
// address, a file on another host among them.
QString LocalPathOf(const QUrl& url);

// The local files and folders a drag carries, in its order; none when anything in it is not
// a file of this machine (a web address, a file on another host, plain text).
std::vector<std::string> FileDrop_Files(const QMimeData* data);

// A window's drag and drop: entering and moving drags are accepted only when they carry local
// files, and a drop of them goes to the target from the event loop, after the drag's source
// has had its answer; none is taken without a target. Answers true when the event was a drag
// event, handled here.
bool FileDrop_Event(QObject& window, QEvent& event, FileDropTarget* target);
