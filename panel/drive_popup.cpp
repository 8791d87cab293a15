#include "panel/drive_popup.h"

#include <QCursor>
#include <QMenu>
#include <QPointer>

#include "core/app_windows.h"
#include "core/modal_loop.h"
#include "core/window.h"

void Panel_PopupDriveMenu(const AppWindows& windows, ModalLoops& loops, const std::vector<DriveMenuItem>& items)
{
    Window* panel = windows.panel;
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
        const ModalLoop loop(loops);
        chosen = menu.exec(QCursor::pos());
    }
    // The panel may have gone while the menu ran its own loop.
    if (chosen && guard && windows.panel == panel)
        panel->post({msg::Command, chosen->data().toUInt(), 0});
}
