#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QImage>

#include "panel/keys/key_map.h"
#include "core/panel_skin.h"

class QPainter;
class Window;

// The buttons of the panel: not windows of their own, but rectangles of the skin that the
// panel hit-tests, draws in the look of their state, and turns mouse actions on into command
// events. A held button sends one Press and, when let go or left, one Release; held commands
// repeat on the main window's timers, not here.

// What the button handling needs of the panel window.
class PanelPointerHost {
public:
    virtual ~PanelPointerHost() = default;
    // The panel as the logic sees it: marks and repaints.
    virtual Window& window() = 0;
    // Where the pointer is now, in panel coordinates.
    virtual Point pointer() const = 0;
    // The press on the body: the panel follows the pointer until the button is let go.
    virtual void beginMove() = 0;
    // Takes down the tooltip showing, so that it opens anew for the next button.
    virtual void resetTooltip() = 0;
};

// The pointer fields of the panel's state.
struct PanelPointerState {
    int32_t pressedButton = -1;
    int32_t hoverButton = -1;
    std::string tipText;
    bool busyCursorOn = false;
};

enum class PanelCursor { Button, Body };

class PanelButtons {
public:
    // buttons is the skin's list; it and the commands' sink outlive this.
    PanelButtons(std::vector<PanelButton>& buttons, PanelPointerHost& host, CommandSink& commands);

    // The first button in list order whose rectangle holds the pointer now, or -1.
    int32_t hitTest() const;
    void setState(int32_t button, ButtonState state, bool now);

    void press();
    // Answers true when the move was the buttons' business (a change of look or an event).
    bool move();
    void release();
    // A click that does not come from the pointer (an assistive technology's press): the
    // button's press, release and click, its looks and its check flip as a mouse click gives
    // them, ending in the look the pointer's place asks for. Nothing while a button is held.
    void click(int32_t button);
    // The text to show over the pointer now; empty shows none.
    std::string tooltip();
    PanelCursor cursor() const;
    bool setChecked(CommandId command, bool checked);

    const PanelPointerState& state() const { return state_; }
    PanelPointerState& state() { return state_; }

private:
    PanelButton& button(int32_t index) { return buttons_[static_cast<size_t>(index)]; }

    std::vector<PanelButton>& buttons_;
    PanelPointerHost& host_;
    CommandSink& commands_;
    PanelPointerState state_;
};

// What happens to a button, for the table of its looks.
enum class ButtonEvent {
    PointerIn,   // the pointer comes over it, nothing held
    PointerOut,  // the pointer leaves it, nothing held
    Down,        // the left button goes down on it
    DragOff,     // the pointer leaves it while it is held and drawn pressed
    DragBack,    // the pointer comes back over it while it is held
    UpOver,      // the left button goes up over it (a checkable one has flipped already)
};
ButtonState ButtonLook(const PanelButton& button, ButtonEvent event);
// The look after the checked flag is set or cleared from outside.
ButtonState ButtonLook_Checked(ButtonState was, bool checked);
bool ButtonLook_IsPressed(ButtonState state);

// Draws every button in list order: its own picture of its state, or that part of the
// panel-wide picture of the state, or nothing when neither exists; from the pictures' twins
// where the target is dense enough.
bool Panel_DrawButtons(QPainter& target, const std::vector<PanelButton>& buttons,
                       const std::optional<QImage>& normal, const std::optional<QImage>& selected,
                       const std::optional<QImage>& mouseIn, const std::optional<QImage>& normal2x = std::nullopt,
                       const std::optional<QImage>& selected2x = std::nullopt,
                       const std::optional<QImage>& mouseIn2x = std::nullopt);
