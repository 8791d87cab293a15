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
// provide, with the timers, the command dispatcher and where dropped files go. SkinPanelParts
// are the player's; tests give their own (a skin built in code, a manual clock, a recording
// dispatcher). The parts outlive the panel made with them.
class PanelParts {
public:
    // Section "Panel" into the skin, calling afterFaces (the placement) between the face
    // pictures and the region; false refuses.
    virtual bool loadFace(PanelSkin& skin, const std::function<void()>& afterFaces) = 0;
    virtual void loadLed(PanelSkin& skin) = 0;
    virtual std::vector<PanelButton> loadButtons(std::string_view section) = 0;
    virtual void drawLed(QPainter& target, const PanelSkin& skin) = 0;
    virtual std::unique_ptr<TimerHost> makeTimers(TimerTick tick) = 0;
    // Where the panel's commands go, from its buttons and its timers.
    virtual CommandSink& commands() = 0;
    // Where dropped files go; the panel takes no drop without one.
    virtual FileDropTarget* dropTarget() const = 0;

protected:
    ~PanelParts() = default;
};

// The player's parts: the skin files the settings name, read with the components' region
// maker (named when each step runs: the settings may change until the panel is made), the
// LED display drawn from the state, Qt's timers, and the commands to playback.
class SkinPanelParts : public PanelParts {
public:
    SkinPanelParts(const PanelLinks& links, FileDropTarget* drops);
    bool loadFace(PanelSkin& skin, const std::function<void()>& afterFaces) override;
    void loadLed(PanelSkin& skin) override;
    std::vector<PanelButton> loadButtons(std::string_view section) override;
    void drawLed(QPainter& target, const PanelSkin& skin) override;
    std::unique_ptr<TimerHost> makeTimers(TimerTick tick) override;
    CommandSink& commands() override;
    FileDropTarget* dropTarget() const override { return drops_; }

private:
    const PanelLinks links_;
    FileDropTarget* const drops_;
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
    PanelWindow(PanelSkin skin, PanelParts& parts, const PanelLinks& links);
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

    PanelParts& parts_;
    PanelLinks links_;
    PanelSkin skin_;  // before the buttons, which point into it
    std::unique_ptr<TimerHost> timers_;
    PanelState state_;
    PanelButtons buttons_;
    PanelDrag drag_;
    QImage composed_;
    QRegion pending_;  // marked and not yet painted
    QRegion shape_;    // the skin's outline; empty without one
};

// Makes the panel into the given holder with the given parts; enters it in links.windows,
// shows the LED display on it and lends it to playback. False, with the reason, when the skin
// gives no face picture or no button, or the holder holds one.
bool Panel_Create(std::unique_ptr<PanelWindow>& panel, PanelParts& parts, const PanelLinks& links,
                  std::string& why);
// Stops and closes the media engine, stores the position, and destroys the window with its
// skin. Nothing happens when there is no panel.
void Panel_Destroy(std::unique_ptr<PanelWindow>& panel);
