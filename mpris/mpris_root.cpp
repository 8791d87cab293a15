#include "mpris/mpris_root.h"

#include <QMimeDatabase>
#include <QPointer>

#include "core/app_windows.h"
#include "core/player_settings.h"
#include "core/turns.h"
#include "components/components.h"
#include "core/message.h"
#include "core/window.h"
#include "mpris/mpris_service.h"
#include "playback/playback.h"
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
    for (const QString& extension : QString::fromStdString(service_.links().settings.playFileExtensions).split(',')) {
        if (!extension.trimmed().isEmpty())
            add(types.mimeTypeForFile("x." + extension.trimmed(), QMimeDatabase::MatchExtension).name());
    }
    add(types.mimeTypeForFile("x.cue", QMimeDatabase::MatchExtension).name());
    add("inode/directory");
    return names;
}

bool MprisRoot::fullscreen() const
{
    const auto* frame = dynamic_cast<const VideoFrame*>(service_.links().windows.videoFrame);
    return frame && frame->maximised();
}

bool MprisRoot::canSetFullscreen() const
{
    return service_.links().windows.videoFrame != nullptr;
}

void MprisRoot::setFullscreen(bool on)
{
    service_.links().turns.take([self = QPointer<MprisRoot>(this), on] {
        if (self && self->service_.live() && self->canSetFullscreen() && self->fullscreen() != on)
            self->service_.links().playback.ToggleVideoSize();
    });
}

void MprisRoot::Raise()
{
    service_.links().turns.take([self = QPointer<MprisRoot>(this)] {
        if (!self)
            return;
        const MprisLinks& links = self->service_.links();
        if (Window* panel = links.windows.panel; panel && self->service_.live())
            links.components.hublet->setWindowToForeground(panel);
    });
}

void MprisRoot::Quit()
{
    if (Window* main = service_.links().windows.main; main && service_.live())
        main->post({msg::Close, 0, 0});
}
