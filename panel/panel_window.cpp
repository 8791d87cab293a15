#include "panel/panel_window.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>

#include "components/components.h"
#include "playback/drive_menu.h"
#include "core/app_windows.h"
#include "core/player_settings.h"
#include "core/player_state.h"
#include "core/turns.h"
#include "core/settings.h"
#include "core/app_icons.h"
#include "core/compositor.h"
#include "core/qt_timers.h"
#include "core/skin_twin.h"
#include "panel/drive_commands.h"
#include "panel/panel_accessible.h"
#include "panel/panel_cursors.h"
#include "panel/panel_place.h"
#include "panel/qt_keys.h"
#include "video/video_window.h"
#include "core/command_id.h"
#include "audio/audio.h"
#include "playback/playback.h"
#include "led/led_refresh.h"
#include "core/sys_command.h"

namespace {

constexpr const char* kSection = "Panel";
constexpr const char* kButtonsSection = "Panel\\Buttons";

QRect toQRect(const Rect& r)
{
    return QRect(r.left, r.top, r.width(), r.height());
}

QRegion toQRegion(const Region& region)
{
    QRegion out;
    for (const Rect& r : region.rects)
        out += toQRect(r);
    return out;
}

}  // namespace

PanelWindow::PanelWindow(PanelSkin skin, PanelParts& parts, const PanelLinks& links)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      parts_(parts),
      links_(links),
      skin_(std::move(skin)),
      timers_(parts.makeTimers([this](TimerId id) { timerTick(id); })),
      buttons_(skin_.buttons, *this, parts.commands())
{
    setObjectName("HalvexVideoPanelWnd");
    setWindowTitle(QString::fromStdString(links_.settings.panelTitle));
    setWindowIcon(PlayerIcon());
    // Every paint covers the whole face: nothing is ever erased.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    // A Wayland compositor takes a mask only as where input goes: the outline shows through
    // alpha, which the window has only when asked before it is made.
    if (Compositor_PlacesWindows())
        setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(parts_.dropTarget() != nullptr);
    PanelAccessible_Install();
}

PanelWindow::~PanelWindow() = default;

void PanelWindow::post(const Message& message)
{
    QMetaObject::invokeMethod(this, [this, message] { handle(message); }, Qt::QueuedConnection);
}

void PanelWindow::handle(const Message& message)
{
    if (message.id == msg::Command) {
        Panel_DriveCommand(links_.driveMenus, links_.settings, links_.components, message.wParam);
        return;
    }
    if (message.id != msg::SysCommand)
        return;
    // The low four bits of a system command are the system's own.
    const uint32_t command = static_cast<uint32_t>(message.wParam) & 0xFFF0;
    if (SysCommand_CloseToMain(links_.main, command))
        return;
    if (command == sys_command::Minimize)
        showMinimized();
    else if (command == sys_command::Restore)
        showNormal();
}

void PanelWindow::minimize()
{
    QMetaObject::invokeMethod(this, [this] { showMinimized(); }, Qt::QueuedConnection);
}

void PanelWindow::timerTick(TimerId id)
{
    links_.playback.TrackEntry_PanelTimer(id, &parts_.commands());
}

void PanelWindow::invalidate(const Rect& area)
{
    const QRect r = toQRect(area);
    pending_ += r;
    update(r);
}

void PanelWindow::repaintNow()
{
    if (pending_.isEmpty())
        return;
    const QRegion marked = pending_;
    pending_ = QRegion();
    repaint(marked);
}

void PanelWindow::invalidateAll()
{
    pending_ = QRegion(rect());
    update();
}

void PanelWindow::setTitle(const std::string& title)
{
    setWindowTitle(QString::fromStdString(title));
}

void PanelWindow::setTopmost(bool on)
{
    SetStaysOnTop(*this, on);
}

bool PanelWindow::minimized() const
{
    return windowState() & Qt::WindowMinimized;
}

void PanelWindow::place(Point position, Size size, const std::optional<Region>& region)
{
    setFixedSize(size.width, size.height);
    // Where the compositor places windows a position asked for means nothing.
    if (!Compositor_PlacesWindows()) {
        move(position.x, position.y);
        state_.screenPosition = position;
    }
    if (region) {
        shape_ = toQRegion(*region);
        setMask(shape_);
    }
}

bool PanelWindow::beginBusyCursor()
{
    PanelPointerState& s = buttons_.state();
    if (s.busyCursorOn)
        return true;
    // Over every window of the player until the operation ends; the one it covers comes back.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    s.busyCursorOn = true;
    return true;
}

bool PanelWindow::setButtonChecked(CommandId command, bool checked)
{
    return buttons_.setChecked(command, checked);
}

bool PanelWindow::endBusyCursor()
{
    PanelPointerState& s = buttons_.state();
    if (!s.busyCursorOn)
        return false;
    QGuiApplication::restoreOverrideCursor();
    s.busyCursorOn = false;
    return true;
}

Point PanelWindow::pointer() const
{
    const QPoint at = mapFromGlobal(QCursor::pos());
    return {at.x(), at.y()};
}

void PanelWindow::beginMove()
{
    drag_.begin(*this, QCursor::pos());
}

void PanelWindow::resetTooltip()
{
    QToolTip::hideText();
}

void PanelWindow::showPointerCursor()
{
    const PanelCursors* cursors = links_.cursors;
    const Cursor* c = !cursors                                      ? nullptr
                      : buttons_.cursor() == PanelCursor::Button ? cursors->button.get()
                                                                 : cursors->body.get();
    if (c)
        setCursor(c->cursor);
    else
        unsetCursor();
}

void PanelWindow::compose()
{
    const PanelSkin& skin = skin_;
    // Composed at twice the skin's size where the screen is dense and the face has its twin;
    // everything is drawn in skin pixels all the same.
    const int ratio = skin.faceNormal2x && Skin_TwinsWanted(devicePixelRatioF()) ? 2 : 1;
    const QSize size = QSize(skin.faceSize.width, skin.faceSize.height) * ratio;
    if (composed_.size() != size) {
        composed_ = QImage(size, QImage::Format_RGB32);
        composed_.setDevicePixelRatio(ratio);
    }
    QPainter painter(&composed_);
    const QSize face(skin.faceSize.width, skin.faceSize.height);
    Skin_DrawPart(painter, {0, 0}, *skin.faceNormal, skin.faceNormal2x, QRect(QPoint(0, 0), face));
    parts_.drawLed(painter, skin);
    const bool ownMouseIn = skin.faceMouseIn.has_value();
    Panel_DrawButtons(painter, skin.buttons, skin.faceNormal, skin.faceSelected,
                      ownMouseIn ? skin.faceMouseIn : skin.faceNormal, skin.faceNormal2x, skin.faceSelected2x,
                      ownMouseIn ? skin.faceMouseIn2x : skin.faceNormal2x);
}

void PanelWindow::paintEvent(QPaintEvent* event)
{
    if (!skin_.faceNormal)
        return QWidget::paintEvent(event);
    pending_ -= event->region();
    compose();
    // One copy; the marked region only limits what reaches the screen. The pixel ratio scales
    // it here, once: the skin's pictures stay at their own size.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, devicePixelRatioF() != qRound(devicePixelRatioF()));
    if (testAttribute(Qt::WA_TranslucentBackground) && !shape_.isEmpty()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& outside : QRegion(rect()) - shape_)
            painter.fillRect(outside, Qt::transparent);
        painter.setClipRegion(shape_);
    }
    painter.drawImage(rect(), composed_);
    // What was drawn is what assistive technologies are told of.
    PanelAccessible_NoteChanges(*this);
}

bool PanelWindow::event(QEvent* event)
{
    if (FileDrop_Event(*this, *event, parts_.dropTarget()))
        return true;
    if (event->type() == QEvent::ToolTip) {
        const std::string tip = buttons_.tooltip();
        if (tip.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), QString::fromStdString(tip), this);
        return true;
    }
    return QWidget::event(event);
}

void PanelWindow::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // Positions while minimised are not the panel's.
    if (!minimized())
        state_.screenPosition = {x(), y()};
}

void PanelWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && links_.state.videoTopmost)
        setTopmost(false);
}

void PanelWindow::closeEvent(QCloseEvent* event)
{
    // The window manager's close (its menu, Alt+F4) closes the player, not just the panel.
    event->ignore();
    SysCommand_CloseToMain(links_.main, sys_command::Close);
}

void PanelWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || drag_.following())
        return QWidget::mousePressEvent(event);
    buttons_.press();
}

void PanelWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (drag_.following()) {
        drag_.follow(*this, event->globalPosition().toPoint());
        return;
    }
    buttons_.move();
    showPointerCursor();
}

void PanelWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    if (drag_.following()) {
        drag_.end();
        return;
    }
    buttons_.release();
    showPointerCursor();
}

void PanelWindow::mouseDoubleClickEvent(QMouseEvent*)
{
    // The second press of a double click is ignored: the first click has done it all.
}

void PanelWindow::keyPressEvent(QKeyEvent* event)
{
    // Alt+F4 reaches the window only where no window manager takes it first.
    if (event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier)) {
        SysCommand_CloseToMain(links_.main, sys_command::Close);
        return;
    }
    if (!QtKey_RouteAppCommand(links_.playback, *this, *event))
        QtKey_Route(links_.keys, *this, *event);
}

void PanelWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (!QtKey_RouteAppCommand(links_.playback, *this, *event))
        QtKey_Route(links_.keys, *this, *event);
}

namespace {

Size primaryScreenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? Size{screen->geometry().width(), screen->geometry().height()} : Size{};
}

// A refused creation leaves no trace: no panel, nothing stored; what was loaded goes with the
// creation's own skin.
bool refuse(std::string& why, std::string reason)
{
    why = std::move(reason);
    return false;
}

}  // namespace

bool Panel_Create(std::unique_ptr<PanelWindow>& panel, PanelParts& parts, const PanelLinks& links,
                  std::string& why)
{
    if (panel) {
        why = "the control panel exists already";
        return false;
    }
    PanelSkin skin;
    Point position;
    const auto place = [&] {
        position = Panel_PlaceWindow(*links.components.nestwell, skin.faceSize, primaryScreenSize());
    };
    if (!parts.loadFace(skin, place) || !skin.faceNormal)
        return refuse(why, "\"Normal Bitmap\" of section [Panel] gives no picture");

    links.audio.ShowNoProperties();
    parts.loadLed(skin);
    Settings_ReadFor(links.settings, SettingMoment::Panel);
    skin.buttons = parts.loadButtons(kButtonsSection);
    if (skin.buttons.empty())
        return refuse(why, "section [Panel\\Buttons] gives no button");

    auto window = std::make_unique<PanelWindow>(std::move(skin), parts, links);
    window->place(position, window->skin().faceSize, window->skin().region);
    window->show();
    window->raise();
    links.windows.panel = window.get();
    links.led.showOn(window.get(), &window->skin());
    links.playback.setPanel(window.get());
    panel = std::move(window);
    return true;
}

void Panel_Destroy(std::unique_ptr<PanelWindow>& panel)
{
    if (!panel)
        return;
    const PanelLinks links = panel->links();
    // Playback ends with the panel, before the main window shuts the engine down.
    ReelkitEngine& engine = *links.components.reelkit;
    engine.stop();
    engine.close();
    panel->endBusyCursor();
    links.playback.setPanel(nullptr);
    const Point position = panel->state().screenPosition;
    links.led.showOn(nullptr, nullptr);
    links.windows.panel = nullptr;
    panel.reset();
    // Where the compositor places windows the panel's position is unknown: the one stored
    // from an X session stays.
    if (!Compositor_PlacesWindows())
        links.components.nestwell->setProfileString(kSection, "Position", Panel_PositionText(position));
}
