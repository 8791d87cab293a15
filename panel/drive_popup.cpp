#include "panel/drive_popup.h"

#include <QCursor>
#include <QMenu>
#include <QPointer>

#include "context/app_context.h"
#include "core/modal_loop.h"
#include "core/window.h"

namespace {
class PanelPopup : public DriveMenuPopup {
public:
    void popup(const std::vector<DriveMenuItem>& items) const override { Panel_PopupDriveMenu(items); }
};
const PanelPopup kPanelPopup;
}  // namespace

const DriveMenuPopup& Panel_DriveMenuPopup()
{
    return kPanelPopup;
}

void Panel_PopupDriveMenu(const std::vector<DriveMenuItem>& items)
{
    Window* panel = app().windows.panel;
    auto* owner = dynamic_cast<QWidget*>(panel);
    if (!owner || items.empty())
        return;
    QMenu menu(owner);
    for (const DriveMenuItem& item : items) {
        // A label is shown as it stands: "&" would otherwise mark a shortcut letter.
        QAction* action = menu.addAction(QString::fromStdString(item.text).replace('&', "&&"));
        action->setData(item.id);
    }
    const QPointer<QWidget> guard(owner);
    QAction* chosen = nullptr;
    {
        const ModalLoop loop(app().modalLoops);
        chosen = menu.exec(QCursor::pos());
    }
    // The panel may have gone while the menu ran its own loop.
    if (chosen && guard && app().windows.panel == panel)
        panel->post({msg::Command, chosen->data().toUInt(), 0});
}
