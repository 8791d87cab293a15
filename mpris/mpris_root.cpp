#include "mpris/mpris_root.h"

#include <QPointer>

#include "context/app_context.h"
#include "context/components.h"
#include "core/message.h"
#include "core/window.h"
#include "mpris/mpris_service.h"

MprisRoot::MprisRoot(MprisService& service) : QDBusAbstractAdaptor(&service), service_(service) {}

QStringList MprisRoot::supportedMimeTypes() const
{
    return {"video/mpeg", "video/x-msvideo", "video/mp4"};
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
