#include "mpris/mpris_root.h"

#include <QMimeDatabase>
#include <QPointer>

#include "context/app_context.h"
#include "context/components.h"
#include "core/message.h"
#include "core/window.h"
#include "mpris/mpris_service.h"
#include "playback/window_commands.h"
#include "video/video_frame.h"

MprisRoot::MprisRoot(MprisService& service) : QDBusAbstractAdaptor(&service), service_(service) {}

QStringList MprisRoot::supportedMimeTypes() const
{
    const QMimeDatabase types;
    QStringList names;
    const auto add = [&names](const QString& name) {
        if (!name.isEmpty() && name != QLatin1String("application/octet-stream") && !names.contains(name))
            names << name;
    };
    for (const QString& extension : QString::fromStdString(app().settings.playFileExtensions).split(',')) {
        if (!extension.trimmed().isEmpty())
            add(types.mimeTypeForFile("x." + extension.trimmed(), QMimeDatabase::MatchExtension).name());
    }
    add(types.mimeTypeForFile("x.cue", QMimeDatabase::MatchExtension).name());
    add("inode/directory");
    return names;
}

bool MprisRoot::fullscreen() const
{
    const auto* frame = dynamic_cast<const VideoFrame*>(app().windows.videoFrame);
    return frame && frame->maximised();
}

bool MprisRoot::canSetFullscreen() const
{
    return app().windows.videoFrame != nullptr;
}

void MprisRoot::setFullscreen(bool on)
{
    app().turns.take([self = QPointer<MprisRoot>(this), on] {
        if (self && self->service_.live() && self->canSetFullscreen() && self->fullscreen() != on)
            ToggleVideoSize();
    });
}

void MprisRoot::Raise()
{
    app().turns.take([self = QPointer<MprisRoot>(this)] {
        if (Window* panel = app().windows.panel; self && panel && self->service_.live())
            app().components.hublet->setWindowToForeground(panel);
    });
}

void MprisRoot::Quit()
{
    if (Window* main = app().windows.main; main && service_.live())
        main->post({msg::Close, 0, 0});
}
