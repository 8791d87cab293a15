#include "app/desktop_parts.h"

#include <memory>

#include "app/app_context.h"
#include "components/hublet/hublet_desktop.h"
#include "components/nestwell/nestwell_file.h"

void InstallDesktopComponents()
{
    Components& components = app().components;
    components.nestwell = std::make_unique<NestwellFile>();
    components.hublet = std::make_unique<HubletQtDesktop>();
}

MainWindowParts DesktopParts()
{
    return {};
}
