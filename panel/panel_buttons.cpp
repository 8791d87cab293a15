#include "panel/panel_buttons.h"

#include <algorithm>
#include <array>

#include <QPainter>

#include "core/command_id.h"
#include "core/skin_twin.h"
#include "core/text.h"
#include "core/window.h"

namespace {

struct Transition {
    ButtonEvent event;
    bool checkedNeedsCheckable;
    ButtonState plain;
    ButtonState checked;
};

constexpr std::array kTransitions = {
    Transition{ButtonEvent::PointerIn, false, ButtonState::MouseIn, ButtonState::CheckedMouseIn},
    Transition{ButtonEvent::PointerOut, false, ButtonState::Normal, ButtonState::CheckedNormal},
    Transition{ButtonEvent::Down, true, ButtonState::Selected, ButtonState::CheckedSelected},
    Transition{ButtonEvent::DragOff, false, ButtonState::Normal, ButtonState::CheckedNormal},
    Transition{ButtonEvent::DragBack, true, ButtonState::Selected, ButtonState::CheckedSelected},
    Transition{ButtonEvent::UpOver, true, ButtonState::MouseIn, ButtonState::CheckedMouseIn},
};

struct CheckChange {
    bool checked;
    ButtonState from;  // the one look that keeps the pointer's highlight
    ButtonState to;
    ButtonState otherwise;
};

constexpr std::array kCheckChanges = {
    CheckChange{true, ButtonState::MouseIn, ButtonState::CheckedMouseIn, ButtonState::CheckedNormal},
    CheckChange{false, ButtonState::CheckedMouseIn, ButtonState::MouseIn, ButtonState::Normal},
};

// The panel-wide picture a state falls back to.
enum class Face { Normal, Selected, MouseIn };
constexpr std::array<Face, kButtonStateCount> kFaceOfState = {
    Face::Normal, Face::Selected, Face::MouseIn, Face::Normal, Face::Selected, Face::MouseIn,
};

bool contains(const Rect& rect, Point point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

}  // namespace

ButtonState ButtonLook(const PanelButton& button, ButtonEvent event)
{
    const auto row = std::find_if(kTransitions.begin(), kTransitions.end(),
                                  [event](const Transition& t) { return t.event == event; });
    const bool checked = button.checked && (button.checkable || !row->checkedNeedsCheckable);
    return checked ? row->checked : row->plain;
}

ButtonState ButtonLook_Checked(ButtonState was, bool checked)
{
    const CheckChange& change = kCheckChanges[checked ? 0 : 1];
    return was == change.from ? change.to : change.otherwise;
}

bool ButtonLook_IsPressed(ButtonState state)
{
    return state == ButtonState::Selected || state == ButtonState::CheckedSelected;
}

PanelButtons::PanelButtons(std::vector<PanelButton>& buttons, PanelPointerHost& host, CommandSink& commands)
    : buttons_(buttons), host_(host), commands_(commands)
{
}

int32_t PanelButtons::hitTest() const
{
    const Point at = host_.pointer();
    const auto hit = std::find_if(buttons_.begin(), buttons_.end(),
                                  [at](const PanelButton& button) { return contains(button.rect, at); });
    return hit == buttons_.end() ? -1 : static_cast<int32_t>(hit - buttons_.begin());
}

void PanelButtons::setState(int32_t index, ButtonState state, bool now)
{
    PanelButton& b = button(index);
    b.state = state;
    host_.window().invalidate(b.rect);
    if (now)
        host_.window().repaintNow();
}

void PanelButtons::press()
{
    const int32_t hit = hitTest();
    if (hit < 0) {
        host_.beginMove();
        return;
    }
    state_.pressedButton = hit;
    setState(hit, ButtonLook(button(hit), ButtonEvent::Down), true);
    commands_.DispatchCommand(button(hit).command, CommandPhase::Press);
}

bool PanelButtons::move()
{
    const int32_t hit = hitTest();
    const int32_t pressed = state_.pressedButton;
    if (pressed < 0) {
        if (hit == state_.hoverButton)
            return false;
        host_.resetTooltip();
        // Only marked: one repaint below serves the old button and the new.
        if (state_.hoverButton >= 0)
            setState(state_.hoverButton, ButtonLook(button(state_.hoverButton), ButtonEvent::PointerOut), false);
        state_.hoverButton = hit;
        if (hit < 0)
            return true;
        setState(hit, ButtonLook(button(hit), ButtonEvent::PointerIn), true);
        return true;
    }
    CommandPhase phase;
    if (ButtonLook_IsPressed(button(pressed).state)) {
        if (hit == pressed)
            return false;
        button(pressed).state = ButtonLook(button(pressed), ButtonEvent::DragOff);
        phase = CommandPhase::Release;
    } else {
        if (hit != pressed)
            return false;
        button(pressed).state = ButtonLook(button(pressed), ButtonEvent::DragBack);
        phase = CommandPhase::Press;
    }
    setState(pressed, button(pressed).state, true);
    commands_.DispatchCommand(button(pressed).command, phase);
    return true;
}

void PanelButtons::release()
{
    const int32_t pressed = state_.pressedButton;
    if (pressed < 0)
        return;
    if (hitTest() == pressed) {
        state_.hoverButton = pressed;
        PanelButton& b = button(pressed);
        if (b.checkable)
            b.checked = !b.checked;
        setState(pressed, ButtonLook(b, ButtonEvent::UpOver), true);
        commands_.DispatchCommand(b.command, CommandPhase::Release);
        commands_.DispatchCommand(b.command, CommandPhase::Click);
    }
    // Released elsewhere: the Release went out when the pointer left the button.
    state_.pressedButton = -1;
}

void PanelButtons::click(int32_t index)
{
    if (index < 0 || size_t(index) >= buttons_.size() || state_.pressedButton >= 0)
        return;
    PanelButton& b = button(index);
    const CommandId command = b.command;
    setState(index, ButtonLook(b, ButtonEvent::Down), true);
    commands_.DispatchCommand(command, CommandPhase::Press);
    if (b.checkable)
        b.checked = !b.checked;
    const bool over = hitTest() == index;
    setState(index, ButtonLook(b, over ? ButtonEvent::UpOver : ButtonEvent::PointerOut), true);
    commands_.DispatchCommand(command, CommandPhase::Release);
    commands_.DispatchCommand(command, CommandPhase::Click);
}

std::string PanelButtons::tooltip()
{
    const int32_t hit = hitTest();
    if (hit < 0)
        return {};
    state_.tipText = CutToCharacters(button(hit).tip, 255);
    return state_.tipText;
}

PanelCursor PanelButtons::cursor() const
{
    return hitTest() >= 0 ? PanelCursor::Button : PanelCursor::Body;
}

bool PanelButtons::setChecked(CommandId command, bool checked)
{
    const auto found = std::find_if(buttons_.begin(), buttons_.end(),
                                    [command](const PanelButton& b) { return b.command == command; });
    if (found == buttons_.end() || !found->checkable)
        return false;
    const uint32_t flag = checked ? 1 : 0;
    if (found->checked == flag)
        return true;
    found->checked = flag;
    setState(static_cast<int32_t>(found - buttons_.begin()), ButtonLook_Checked(found->state, checked), true);
    return true;
}

bool Panel_DrawButtons(QPainter& target, const std::vector<PanelButton>& buttons,
                       const std::optional<QImage>& normal, const std::optional<QImage>& selected,
                       const std::optional<QImage>& mouseIn, const std::optional<QImage>& normal2x,
                       const std::optional<QImage>& selected2x, const std::optional<QImage>& mouseIn2x)
{
    const std::array<const std::optional<QImage>*, 3> faces = {&normal, &selected, &mouseIn};
    const std::array<const std::optional<QImage>*, 3> twins = {&normal2x, &selected2x, &mouseIn2x};
    for (const PanelButton& button : buttons) {
        const auto state = static_cast<size_t>(button.state);
        const QRect rect(button.rect.left, button.rect.top, button.rect.width(), button.rect.height());
        if (const std::optional<QImage>& own = button.bitmaps[state]) {
            Skin_DrawPart(target, rect.topLeft(), *own, button.bitmaps2x[state], QRect(QPoint(0, 0), rect.size()));
            continue;
        }
        const auto look = static_cast<size_t>(kFaceOfState[state]);
        if (const std::optional<QImage>& face = *faces[look])
            Skin_DrawPart(target, rect.topLeft(), *face, *twins[look], rect);
    }
    return true;
}
