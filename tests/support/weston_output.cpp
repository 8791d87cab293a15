#include "tests/support/weston_output.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>

#include "tests/support/temp_dir.h"

namespace {
QByteArray runClient(const QProcessEnvironment& environment, const QString& program, const QStringList& arguments,
                     const QString& folder = {})
{
    QProcess client;
    client.setProcessEnvironment(environment);
    client.setWorkingDirectory(folder);
    client.start(program, arguments);
    if (!client.waitForFinished(10000) || client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0) {
        client.kill();
        client.waitForFinished(2000);
        return {};
    }
    return client.readAllStandardOutput();
}
}  // namespace

std::vector<WestonToplevel> WestonToplevels(const QProcessEnvironment& environment, QString* graph)
{
    const QString text = QString::fromUtf8(runClient(environment, "weston-debug", {"scene-graph"}));
    if (graph)
        *graph = text;
    // "View 0 (role xdg_toplevel, …, top-level window 'TITLE' of …):" and, on a later line,
    // "position: (x1, y1) -> (x2, y2)".
    static const QRegularExpression view(
        R"(View \d+ \(role xdg_toplevel,[^\n]*top-level window '([^'\n]*)'[^\n]*\n\s*position: \(([-\d.]+), ([-\d.]+)\) -> \(([-\d.]+), ([-\d.]+)\))");
    std::vector<WestonToplevel> found;
    for (const QRegularExpressionMatch& m : view.globalMatch(text)) {
        const QPoint from(qRound(m.captured(2).toDouble()), qRound(m.captured(3).toDouble()));
        const QPoint to(qRound(m.captured(4).toDouble()), qRound(m.captured(5).toDouble()));
        found.push_back({m.captured(1), QRect(from, to - QPoint(1, 1))});
    }
    return found;
}

QImage WestonScreenshot(const QProcessEnvironment& environment)
{
    // The client writes its picture into its working folder, named by the time.
    TempDir folder;
    const QString path = QString::fromStdString(folder.path());
    runClient(environment, "weston-screenshooter", {}, path);
    const QStringList shots = QDir(path).entryList({"*.png"}, QDir::Files);
    return shots.size() == 1 ? QImage(path + "/" + shots.front()).convertToFormat(QImage::Format_RGB32) : QImage();
}
