#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QImage>
#include <QRegion>
#include <QWidget>

#include "audio/panel_feedback.h"
#include "core/file_drop.h"
#include "core/window.h"
#include "panel/panel_buttons.h"
#include "panel/panel_drag.h"
#include "core/panel_skin.h"

class KeyMap;
class LedDisplay;
class DriveMenuActions;
class ModalLoops;
class Playback;
class QPainter;
class Turns;
struct AppWindows;
struct Components;
struct PanelCursors;
struct PlayerSettings;
class Audio;
struct PlayerState;

// What the panel is handed when it is made: the records it shows and changes, and its neighbours.
struct PanelLinks {
    PlayerState& state;
    PlayerSettings& settings;
    Components& components;
    Turns& turns;
    ModalLoops& modalLoops;
    DriveMenuActions& driveMenus;  // what the drive items do
    Playback& playback;  // where the commands go, and which is lent the panel while it lives
    Audio& audio;  // owns the shown audio values the panel's creation clears
    KeyMap& keys;  // shared by the windows, so that a key may go up in another
    LedDisplay& led;  // shown on the panel while it lives
    AppWindows& windows;  // the record of the windows that exist, where the panel enters itself
    Window* main = nullptr;  // where a close goes; none in a test without a main window
    const PanelCursors* cursors = nullptr;  // none: the arrow everywhere
};

// The steps of the panel's creation and painting that the skin reader and the LED display
// provide, with the timers and the command dispatcher. Panel_Create uses the real ones;
// tests give their own (a skin built in code, a manual clock, a recording dispatcher).
struct PanelParts {
    // Section "Panel" into the skin, calling afterFaces (the placement) between the face
    // pictures and the region; false refuses.
    std::function<bool(PanelSkin& skin, const std::function<void()>& afterFaces)> loadFace;
    std::function<void(PanelSkin& skin)> loadLed;
    std::function<std::vector<PanelButton>(std::string_view section)> loadButtons;
    std::function<void(QPainter&, const PanelSkin&)> drawLed;
    // The panel's timers; Qt's when empty.
    std::function<std::unique_ptr<TimerHost>(TimerTick tick)> makeTimers;
    // DispatchCommand when empty.
    PanelDispatcher dispatch;
    // Where dropped files go; the panel takes no drop when empty.
    FilesDropped filesDropped;
};

// The panel's own record beside its buttons' pointer fields.
struct PanelState {
    Point screenPosition;  // left and top on the screen, stored at destruction
};

// The skinned control panel: frameless, shaped by the skin's region (on Wayland also painted
// transparent outside it), painted off-screen.
class PanelWindow : public QWidget, public Window, public PanelFeedback, private PanelPointerHost {
    Q_OBJECT
public:
    // The window owns its skin; the title is the settings' panel title.
    PanelWindow(PanelSkin skin, const PanelParts& parts, const PanelLinks& links);
    ~PanelWindow() override;

    void post(const Message& message) override;
    TimerHost& timers() override { return *timers_; }
    void invalidate(const Rect& area) override;
    void repaintNow() override;
    void invalidateAll() override;
    void setTitle(const std::string& title) override;
    void setTopmost(bool on) override;
    bool minimized() const override;
    void minimize() override;

    // A posted message once the loop takes it: system commands and drive-menu items.
    void handle(const Message& message);
    void timerTick(TimerId id);

    // Puts the window at the place and in the shape of the skin.
    void place(Point position, Size size, const std::optional<Region>& region);

    PanelState& state() { return state_; }
    const PanelParts& parts() const { return parts_; }
    const PanelLinks& links() const { return links_; }
    PanelSkin& skin() { return skin_; }
    const PanelSkin& skin() const { return skin_; }
    PanelButtons& buttons() { return buttons_; }
    bool beginBusyCursor() override;
    bool endBusyCursor() override;
    bool setButtonChecked(CommandId command, bool checked) override;
    // The picture of the last paint, as composed before it went to the screen.
    const QImage& composed() const { return composed_; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // PanelPointerHost
    Window& window() override { return *this; }
    Point pointer() const override;
    void beginMove() override;
    void resetTooltip() override;

    void compose();
    void showPointerCursor();

    PanelParts parts_;
    PanelLinks links_;
    PanelSkin skin_;  // before the buttons, which point into it
    PanelDispatcher dispatch_;
    std::unique_ptr<TimerHost> timers_;
    PanelState state_;
    PanelButtons buttons_;
    PanelDrag drag_;
    QImage composed_;
    QRegion pending_;  // marked and not yet painted
    QRegion shape_;    // the skin's outline; empty without one
};

// The skin reader's steps, without the LED painter, reading the files the settings name
// with the components' region maker.
PanelParts Panel_SkinParts(const PlayerSettings& settings, const Components& components);

// Makes the panel into the given holder with the real skin reader, LED painter, Qt timers and
// DispatchCommand, files dropped on it going to dropped; enters it in links.windows, shows the
// LED display on it and plugs it into playback's hooks. False, with the reason, when the skin
// gives no face picture or no button, or the holder holds one.
bool Panel_Create(std::unique_ptr<PanelWindow>& panel, const PanelLinks& links, const FilesDropped& dropped,
                  std::string& why);
// The same with the given parts.
bool Panel_CreateWith(std::unique_ptr<PanelWindow>& panel, const PanelParts& parts, const PanelLinks& links,
                      std::string& why);
// Stops and closes the media engine, stores the position, and destroys the window with its
// skin. Nothing happens when there is no panel.
void Panel_Destroy(std::unique_ptr<PanelWindow>& panel);
