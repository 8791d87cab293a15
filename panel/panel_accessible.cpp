#include "panel/panel_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <vector>

#include "core/command_id.h"
#include "core/player_settings.h"
#include "core/player_state.h"
#include "core/turns.h"
#include "core/command_strings.h"
#include "core/text.h"
#include "led/led_view.h"
#include "panel/panel_window.h"

namespace {

// What a button does where its text may say otherwise: the command named Volume Up lowers
// the volume and Volume Down raises it, and a skin without a tip of its own names them so.
struct Effect {
    CommandId command;
    const char* saying;  // the tip that says what it does
    const char* description;
};
constexpr Effect kEffects[] = {
    {CommandId::VolumeUp, "Volume Down", "Lowers the volume"},
    {CommandId::VolumeDown, "Volume Up", "Raises the volume"},
};

std::string nameOf(const PanelButton& button)
{
    return button.tip.empty() ? std::string(CommandTooltip(CommandId(button.command))) : button.tip;
}

std::string descriptionOf(const PanelButton& button)
{
    for (const Effect& effect : kEffects)
        if (CommandId(button.command) == effect.command && !EqualsIgnoringCase(nameOf(button), effect.saying))
            return effect.description;
    return {};
}

// The display's place: every element and digit slot it draws (slots left at the origin are not).
QRect ledArea(const PanelSkin& skin)
{
    QRect area;
    const auto add = [&area](Point at, Size size) {
        if (size.width > 0 && size.height > 0)
            area |= QRect(at.x, at.y, size.width, size.height);
    };
    for (const LedElement* element : {&skin.mute, &skin.volume, &skin.play, &skin.pause, &skin.stop})
        add(element->position, element->size);
    const auto addGroup = [&add](const auto& group) {
        for (const LedElement& element : group)
            add(element.position, element.size);
    };
    addGroup(skin.repeat);
    addGroup(skin.soundQuality);
    addGroup(skin.audioChannel);
    addGroup(skin.soundChannel);
    const auto addDigits = [&add](const auto& strip) {
        for (const Point at : strip.digitPositions)
            if (at.x != 0 || at.y != 0)
                add(at, strip.cell);
    };
    addDigits(skin.trackNumbers);
    addDigits(skin.timeNumbers);
    addDigits(skin.trackTimeNumbers);
    return area;
}

QString ledText(const PanelWindow* panel)
{
    if (!panel)
        return {};
    return QString::fromStdString(Led_Text(panel->links().state, panel->links().settings.maxVolumeLevel));
}

// A part of the panel, a button or the display: no object of its own, reached through the panel.
class PartAccessible : public QAccessibleInterface {
public:
    explicit PartAccessible(PanelWindow* panel) : panel_(panel) {}
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return panel_ ? panel_->windowHandle() : nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        return panel_ ? QAccessible::queryAccessibleInterface(panel_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    // The part's rectangle of the panel, on the screen.
    QRect onScreen(const QRect& area) const
    {
        return panel_ && !area.isEmpty() ? QRect(panel_->mapToGlobal(area.topLeft()), area.size()) : QRect();
    }
    QPointer<PanelWindow> panel_;
};

class ButtonAccessible : public PartAccessible, public QAccessibleActionInterface {
public:
    ButtonAccessible(PanelWindow* panel, int index) : PartAccessible(panel), index_(index) {}

    bool isValid() const override { return panel_ && size_t(index_) < panel_->skin().buttons.size(); }
    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name)
            return QString::fromStdString(nameOf(button()));
        if (kind == QAccessible::Description)
            return QString::fromStdString(descriptionOf(button()));
        return {};
    }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const Rect& r = button().rect;
        return onScreen(QRect(r.left, r.top, r.width(), r.height()));
    }
    QAccessible::Role role() const override
    {
        return isValid() && button().checkable ? QAccessible::CheckBox : QAccessible::Button;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const PanelButton& b = button();
        state.invisible = !panel_->isVisible();
        state.checkable = b.checkable != 0;
        state.checked = b.checkable != 0 && b.checked != 0;
        state.pressed = ButtonLook_IsPressed(b.state);
        state.hotTracked = panel_->buttons().state().hoverButton == index_;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override
    {
        if (!isValid())
            return {};
        return button().checkable ? QStringList{pressAction(), toggleAction()} : QStringList{pressAction()};
    }
    void doAction(const QString& name) override
    {
        if (!actionNames().contains(name))
            return;
        // From the loop, so that the caller has its answer before a dialog the click opens runs;
        // and in its turn, as the mouse's click would wait while the engine opens a track.
        QMetaObject::invokeMethod(
            panel_.data(),
            [panel = panel_, index = index_] {
                if (!panel)
                    return;
                panel->links().turns.take([panel, index] {
                    if (panel)
                        panel->buttons().click(index);
                });
            },
            Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const PanelButton& button() const { return panel_->skin().buttons[size_t(index_)]; }
    int index_;
};

class LedAccessible : public PartAccessible, public QAccessibleTextInterface {
public:
    using PartAccessible::PartAccessible;

    bool isValid() const override { return bool(panel_); }
    QString text(QAccessible::Text kind) const override
    {
        return isValid() && kind == QAccessible::Name ? ledText(panel_) : QString();
    }
    QRect rect() const override { return panel_ ? onScreen(ledArea(panel_->skin())) : QRect(); }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invalid = !isValid();
        state.readOnly = true;
        state.invisible = !panel_ || !panel_->isVisible();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
    }

    // The text is read only: no caret, no selection, no characters' places.
    QString text(int start, int end) const override { return ledText(panel_).mid(start, end - start); }
    int characterCount() const override { return int(ledText(panel_).size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = 0;
        *end = characterCount();
        return {};
    }
};

// The panel's window, its children the parts. They are made at the first ask and live as long
// as this, which Qt deletes with the panel.
class PanelAccessible : public QAccessibleWidget {
public:
    explicit PanelAccessible(PanelWindow* panel) : QAccessibleWidget(panel, QAccessible::Window), panel_(panel) {}
    ~PanelAccessible() override
    {
        for (const QAccessible::Id id : parts_)
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return int(parts().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const std::vector<QAccessible::Id>& ids = parts();
        return index >= 0 && size_t(index) < ids.size() ? QAccessible::accessibleInterface(ids[size_t(index)]) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* part) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (child(i) == part)
                return i;
        return -1;
    }
    // The buttons first, in list order, as the pointer's hit test takes them.
    QAccessibleInterface* childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface* part = child(i); part->rect().contains(x, y))
                return part;
        return nullptr;
    }

    void noteChanges()
    {
        const std::vector<QAccessible::Id>& ids = parts();
        for (size_t i = 0; i + 1 < ids.size(); ++i) {
            QAccessibleInterface* button = QAccessible::accessibleInterface(ids[i]);
            const QAccessible::State now = button->state();
            QAccessible::State changed;
            changed.checked = now.checked != seenStates_[i].checked;
            changed.pressed = now.pressed != seenStates_[i].pressed;
            seenStates_[i] = now;
            if (changed.checked || changed.pressed) {
                QAccessibleStateChangeEvent event(button, changed);
                QAccessible::updateAccessibility(&event);
            }
        }
        const QString text = ledText(panel_);
        if (text == seenText_)
            return;
        QAccessibleInterface* led = QAccessible::accessibleInterface(ids.back());
        QAccessibleTextUpdateEvent update(led, 0, seenText_, text);
        QAccessible::updateAccessibility(&update);
        QAccessibleEvent renamed(led, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&renamed);
        seenText_ = text;
    }

private:
    // The buttons, as many as the skin gives, then the display.
    const std::vector<QAccessible::Id>& parts() const
    {
        if (parts_.empty() && panel_) {
            for (size_t i = 0; i < panel_->skin().buttons.size(); ++i) {
                auto* button = new ButtonAccessible(panel_, int(i));
                parts_.push_back(QAccessible::registerAccessibleInterface(button));
                seenStates_.push_back(button->state());
            }
            parts_.push_back(QAccessible::registerAccessibleInterface(new LedAccessible(panel_)));
            seenText_ = ledText(panel_);
        }
        return parts_;
    }

    QPointer<PanelWindow> panel_;
    mutable std::vector<QAccessible::Id> parts_;
    mutable std::vector<QAccessible::State> seenStates_;
    mutable QString seenText_;
};

QAccessibleInterface* panelFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("PanelWindow"))
        if (auto* panel = qobject_cast<PanelWindow*>(object))
            return new PanelAccessible(panel);
    return nullptr;
}

}  // namespace

void PanelAccessible_Install()
{
    static const bool installed = [] {
        QAccessible::installFactory(panelFactory);
        return true;
    }();
    (void)installed;
}

void PanelAccessible_NoteChanges(PanelWindow& panel)
{
    if (!QAccessible::isActive())
        return;
    if (auto* panelInterface = dynamic_cast<PanelAccessible*>(QAccessible::queryAccessibleInterface(&panel)))
        panelInterface->noteChanges();
}
