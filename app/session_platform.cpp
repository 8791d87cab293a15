#include "app/session_platform.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace {

std::string variable(const char* name)
{
    return qEnvironmentVariable(name).toStdString();
}

}  // namespace

SessionEnvironment SessionEnvironment::current()
{
    return {variable("QT_QPA_PLATFORM"), variable("WAYLAND_DISPLAY"), variable("XDG_SESSION_TYPE"),
            variable("DISPLAY")};
}

std::string Session_PreferredPlatform(const SessionEnvironment& session)
{
    const bool wayland = !session.waylandDisplay.empty() || session.sessionType == "wayland";
    if (!session.qpaPlatform.empty() || !wayland || session.display.empty())
        return {};
    return "xcb";
}

bool Session_ChoosePlatform()
{
    const std::string platform = Session_PreferredPlatform(SessionEnvironment::current());
    return !platform.empty() && qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(platform));
}

void Session_ForgetPlatform(bool chosen)
{
    if (chosen)
        qunsetenv("QT_QPA_PLATFORM");
}
