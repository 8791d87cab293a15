#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QApplication>
#include <QTimer>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include <gtest/gtest.h>

#include "app/player_records.h"
#include "app/main_window.h"
#include "app/wiring.h"
#include "components/nestwell/nestwell_file.h"
#include "disc/play_list.h"
#include "led/led_refresh.h"
#include "panel/drive_commands.h"
#include "panel/drive_popup.h"
#include "panel/keyboard.h"
#include "panel/panel_cursors.h"
#include "panel/panel_window.h"
#include "core/command_id.h"
#include "playback/playback.h"
#include "playback/playback.h"
#include "tests/support/function_host.h"
#include "tests/support/command_sink.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/file_drops.h"
#include "tests/support/icon_match.h"
#include "tests/support/manual_timers.h"
#include "tests/support/recording_components.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vcd_image.h"
#include "tests/support/widget_waits.h"

namespace {

using namespace phase_number;

using Event = CommandEvent;

// The colours of the small skin the tests build.
const QColor kFace(40, 40, 40);
const QColor kFaceSelected(200, 0, 0);
const QColor kFaceMouseIn(0, 200, 0);
const QColor kPlayOwn(0, 0, 220);  // the Play button's own pictures: blue, lighter when held
const QColor kPlayOwnSelected(120, 120, 255);
const QColor kLed(250, 250, 0);

constexpr Size kFaceSize{120, 40};
const Rect kPlay{10, 10, 30, 30};
const Rect kMute{40, 10, 60, 30};  // checkable, no pictures: cut from the panel-wide ones
const Rect kTrackLed{65, 5, 85, 17};  // the track number digits; the Mute button does not reach it
const Rect kUnderPlay{12, 12, 20, 20};  // an LED element that the Play button covers

QImage filled(Size size, QColor colour)
{
    QImage image(size.width, size.height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The skin, built in code in the model the reader fills: a face with a notch cut out of its
// top-right corner, two buttons, a track number strip and a five-slot time strip.
void buildSkin(PanelSkin& skin)
{
    skin.faceNormal = filled(kFaceSize, kFace);
    skin.faceSize = kFaceSize;
    skin.faceSelected = filled(kFaceSize, kFaceSelected);
    skin.faceMouseIn = filled(kFaceSize, kFaceMouseIn);
    skin.region = Region{{{0, 0, 110, 40}, {110, 10, 120, 40}}};
}

std::vector<PanelButton> buildButtons()
{
    std::vector<PanelButton> buttons(2);
    buttons[0].command = CommandId::Play;
    buttons[0].tip = "Play";
    buttons[0].rect = kPlay;
    buttons[0].bitmaps[0] = filled({20, 20}, kPlayOwn);
    buttons[0].bitmaps[1] = filled({20, 20}, kPlayOwnSelected);
    buttons[0].bitmaps[2] = filled({20, 20}, kPlayOwn.lighter());
    buttons[1].command = CommandId::MuteUnMute;
    buttons[1].tip = "";
    buttons[1].checkable = 1;
    buttons[1].rect = kMute;
    return buttons;
}

void buildLed(PanelSkin& skin)
{
    skin.trackNumbers.strip = filled({100, 12}, kLed);
    skin.trackNumbers.cell = {10, 12};
    skin.trackNumbers.digitPositions = {Point{75, 5}, Point{65, 5}};
    skin.timeNumbers.strip = filled({80, 10}, kLed);
    skin.timeNumbers.cell = {8, 10};
    skin.timeNumbers.digitPositions = {Point{110, 28}, Point{102, 28}, Point{90, 28}, Point{82, 28}, Point{70, 28}};
    skin.mute.position = {kUnderPlay.left, kUnderPlay.top};
    skin.mute.size = {kUnderPlay.width(), kUnderPlay.height()};
}

QRegion cellsOf(std::initializer_list<Point> places, Size cell)
{
    QRegion region;
    for (const Point& p : places)
        region += QRect(p.x, p.y, cell.width + 1, cell.height + 1);
    return region;
}

// Panel parts made of the test's functions; one left unset does nothing and refuses, except the
// timers, which every panel needs.
class FunctionPanelParts : public PanelParts {
public:
    bool loadFace(PanelSkin& skin, const std::function<void()>& afterFaces) override
    {
        return onLoadFace && onLoadFace(skin, afterFaces);
    }
    void loadLed(PanelSkin& skin) override
    {
        if (onLoadLed)
            onLoadLed(skin);
    }
    std::vector<PanelButton> loadButtons(std::string_view section) override
    {
        return onLoadButtons ? onLoadButtons(section) : std::vector<PanelButton>{};
    }
    void drawLed(QPainter& target, const PanelSkin& skin) override
    {
        if (onDrawLed)
            onDrawLed(target, skin);
    }
    std::unique_ptr<TimerHost> makeTimers(TimerTick tick) override { return onMakeTimers(std::move(tick)); }
    CommandSink& commands() override { return commands_; }
    FileDropTarget* dropTarget() const override { return drops; }

    std::function<bool(PanelSkin& skin, const std::function<void()>& afterFaces)> onLoadFace;
    std::function<void(PanelSkin& skin)> onLoadLed;
    std::function<std::vector<PanelButton>(std::string_view section)> onLoadButtons;
    std::function<void(QPainter&, const PanelSkin&)> onDrawLed;
    std::function<std::unique_ptr<TimerHost>(TimerTick tick)> onMakeTimers;
    std::function<bool(CommandId, CommandPhase)> onDispatch;
    FileDropTarget* drops = nullptr;

private:
    CommandsTo commands_{
        [this](CommandId command, CommandPhase phase) { return onDispatch && onDispatch(command, phase); }};
};

class PanelWindowTest : public ::testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    FunctionHost host;  // outlives the main window
    std::unique_ptr<PanelWindow> panelHolder;
    PanelCursors cursors;

    void SetUp() override
    {
        // The pointer starts away from where the panel opens: a hover left by the last case
        // would change the looks.
        QCursor::setPos(0, 0);
        records.settings.cfgPath = dir.file("Quintara.CFG");
        dir.write("Quintara.CFG", "[Panel]\nAP Name=Quintara Deck\n");
        InstallRecordingComponents(records.components, journal);
        // The position goes to the real store.
        auto store = std::make_unique<NestwellFile>(dir.file("profiles"));
        store->setUserProfileInfo("tester", kApplicationKey);
        nestwell = store.get();
        records.components.nestwell = std::move(store);

        host.onPost = [this](const Message& m) { mainPosted.push_back(m); };
        host.onPostQuit = [](int) {};
        host.onComplain = [](std::string_view) {};
        mainWindow = std::make_unique<MainWindow>(MainWindowLinksOf(records), mainTimers, host, mainParts);
        records.windows.main = mainWindow.get();

        parts.onLoadFace = [this](PanelSkin& skin, const std::function<void()>& afterFaces) {
            if (!withFace)
                return false;
            buildSkin(skin);
            const std::optional<Region> region = std::exchange(skin.region, std::nullopt);
            afterFaces();
            skin.region = region;
            return true;
        };
        parts.onLoadLed = [](PanelSkin& skin) { buildLed(skin); };
        parts.onLoadButtons = [this](std::string_view section) {
            sections.emplace_back(section);
            return withButtons ? buildButtons() : std::vector<PanelButton>{};
        };
        parts.onDrawLed = [](QPainter& target, const PanelSkin& skin) {
            // What a lit element looks like here: its rectangle in the LED colour.
            const LedElement& mute = skin.mute;
            target.fillRect(mute.position.x, mute.position.y, mute.size.width, mute.size.height, kLed);
            target.fillRect(kTrackLed.left, kTrackLed.top, kTrackLed.width(), kTrackLed.height(), kLed);
        };
        parts.onMakeTimers = [this](TimerTick tick) { return std::make_unique<ManualTimers>(clock, std::move(tick)); };
        parts.onDispatch = [this](CommandId command, CommandPhase phase) {
            events.push_back({CommandNumber(command), CommandPhaseNumber(phase)});
            return true;
        };
        ASSERT_TRUE(Panel_LoadCursors(cursors));
    }

    void TearDown() override
    {
        Panel_Destroy(panelHolder);
        Panel_DestroyCursors(cursors);
        records.keys.setSink(nullptr);
        records.keys.reset();
        records.windows.main = nullptr;
        mainWindow.reset();
    }

    // The drive items go to playback, unless a test listens for the discs they load.
    class ListenedDriveMenus : public DriveMenuActions {
    public:
        explicit ListenedDriveMenus(DriveMenuActions& playback) : playback_(playback) {}
        void LoadDisc(uintptr_t drive, intptr_t mode) override
        {
            if (heard)
                heard(drive, mode);
            else
                playback_.LoadDisc(drive, mode);
        }
        bool SetDoorState(uint32_t drive, DoorState door) override { return playback_.SetDoorState(drive, door); }
        std::function<void(uintptr_t drive, intptr_t mode)> heard;

    private:
        DriveMenuActions& playback_;
    };
    ListenedDriveMenus driveMenus{records.playback};

    PanelLinks links() { return PanelLinksOf(records, mainWindow.get(), &cursors, driveMenus); }

    PanelWindow& create()
    {
        std::string why;
        EXPECT_TRUE(Panel_Create(panelHolder, parts, links(), why)) << why;
        PanelWindow& panel = *panelHolder;
        // Nothing paints before the window system shows the window; its first paint comes then.
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&panel, kWaitMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !panel.composed().isNull(); }, kWaitMs));
        settle();
        return panel;
    }

    std::string stored()
    {
        return nestwell->getProfileString("Panel", "Position").value_or("(none)");
    }

    // The pointer goes to the panel's point, then the event comes, as the window system does it.
    void mouse(QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::NoButton,
               Qt::MouseButtons held = Qt::NoButton)
    {
        PanelWindow& panel = *panelHolder;
        const QPoint global = panel.mapToGlobal(local);
        QCursor::setPos(global);
        QMouseEvent event(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&panel, &event);
    }
    void moveTo(QPoint local) { mouse(QEvent::MouseMove, local); }
    void press(QPoint local) { mouse(QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton); }
    void release(QPoint local) { mouse(QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton); }

    void key(QEvent::Type type, int qtKey, const QString& text = {}, bool repeat = false,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(type, qtKey, modifiers, text, repeat);
        QCoreApplication::sendEvent(panelHolder.get(), &event);
    }

    static QPoint centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

    TempDir dir;
    Journal journal;
    NestwellFile* nestwell = nullptr;
    ManualClock clock;
    ManualTimers mainTimers{clock};
    std::vector<Message> mainPosted;
    ListParts mainParts{records};  // outlives the main window
    std::unique_ptr<MainWindow> mainWindow;
    FunctionPanelParts parts;  // outlives the panel
    bool withFace = true;
    bool withButtons = true;
    std::vector<std::string> sections;
    std::vector<Event> events;
};

QPoint centredOnPrimaryScreen()
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    return {(screen.width() - kFaceSize.width) / 2, (screen.height() - kFaceSize.height) / 2};
}

TEST_F(PanelWindowTest, OpensCentredSizedShapedAndTitled)
{
    PanelWindow& panel = create();
    EXPECT_EQ(records.windows.panel, &panel);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.pos(), centredOnPrimaryScreen());
    EXPECT_EQ(panel.size(), QSize(kFaceSize.width, kFaceSize.height));
    EXPECT_EQ(panel.mask(), QRegion(0, 0, 110, 40) + QRegion(110, 10, 10, 30));
    EXPECT_EQ(panel.windowTitle(), "Quintara Deck");
    EXPECT_TRUE(panel.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(DrawsPicture(panel.windowIcon(), ":/icons/quintara.png"));
    EXPECT_EQ(sections, (std::vector<std::string>{"Panel\\Buttons"}));
    const PlayerState& s = records.state;
    EXPECT_EQ(s.shownSoundQuality, 4u);
    EXPECT_EQ(s.shownAudioChannel, 3u);
    EXPECT_EQ(s.shownSoundChannel, 2u);
}

TEST_F(PanelWindowTest, WithoutAPanelNameTakesTheMainWindowsTitle)
{
    dir.write("Quintara.CFG", "[Panel]\nAP Name=\n");
    EXPECT_EQ(create().windowTitle(), "Video Player");
}

TEST_F(PanelWindowTest, WithoutARegionStaysRectangular)
{
    parts.onLoadLed = [](PanelSkin& skin) {
        buildLed(skin);
        skin.region.reset();
    };
    EXPECT_TRUE(create().mask().isEmpty());
}

TEST_F(PanelWindowTest, RefusedWithoutFaceOrButtonsLeavingNoTrace)
{
    for (const bool face : {false, true}) {
        withFace = face;
        withButtons = false;
        std::string why;
        EXPECT_FALSE(Panel_Create(panelHolder, parts, links(), why));
        EXPECT_FALSE(why.empty());
        EXPECT_EQ(records.windows.panel, nullptr);
        EXPECT_EQ(panelHolder.get(), nullptr);
        EXPECT_EQ(records.led.panel(), nullptr);
    }
    EXPECT_EQ(stored(), "(none)");
    EXPECT_TRUE(journal.empty());
}

TEST_F(PanelWindowTest, PositionIsStoredAtDestructionAndComesBack)
{
    PanelWindow& panel = create();
    panel.move(33, 44);
    settle();
    journal.clear();
    Panel_Destroy(panelHolder);
    EXPECT_EQ(records.windows.panel, nullptr);
    EXPECT_EQ(stored(), "33,44");
    EXPECT_EQ(journal, (Journal{"Reelkit_Stop", "Reelkit_Close"}));
    EXPECT_EQ(records.led.panel(), nullptr);

    EXPECT_EQ(create().pos(), QPoint(33, 44));
}

TEST_F(PanelWindowTest, StoredPositionOffTheScreenIsPulledBack)
{
    nestwell->setProfileString("Panel", "Position", "-20,100000");
    const int height = QGuiApplication::primaryScreen()->geometry().height();
    EXPECT_EQ(create().pos(), QPoint(0, height - kFaceSize.height));
}

TEST_F(PanelWindowTest, MovesWhileMinimisedAreNotRecorded)
{
    PanelWindow& panel = create();
    panel.move(50, 60);
    settle();
    panel.minimize();  // what the Minimize command asks
    settle();
    ASSERT_TRUE(panel.minimized());
    panel.move(300, 300);
    settle();
    Panel_Destroy(panelHolder);
    EXPECT_EQ(stored(), "50,60");
}

TEST_F(PanelWindowTest, PaintsFaceThenLedThenButtons)
{
    PanelWindow& panel = create();
    panel.repaint();
    const QImage& composed = panel.composed();
    ASSERT_EQ(composed.size(), QSize(kFaceSize.width, kFaceSize.height));
    EXPECT_EQ(composed.pixelColor(2, 2), kFace);
    EXPECT_EQ(composed.pixelColor(centre(kTrackLed)), kLed);
    // The Play button lies over an LED element and covers it.
    EXPECT_EQ(composed.pixelColor(kUnderPlay.left, kUnderPlay.top), kPlayOwn);
    EXPECT_EQ(composed.pixelColor(centre(kMute)), kFace);

    // The copy on the screen is the composed picture.
    const QImage shown = panel.grab().toImage().scaled(composed.size()).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixelColor(centre(kTrackLed)), kLed);
    EXPECT_EQ(shown.pixelColor(centre(kPlay)), kPlayOwn);
}

TEST_F(PanelWindowTest, PositionTickRepaintsOnlyItsDigitCells)
{
    PanelWindow& panel = create();
    PaintLog log;
    panel.installEventFilter(&log);
    EXPECT_TRUE(records.led.RefreshTime(true));
    ASSERT_EQ(log.painted.size(), 1u);
    const LedDigitStrip<5>& time = panelHolder->skin().timeNumbers;
    const QRegion cells = cellsOf({time.digitPositions[0], time.digitPositions[1], time.digitPositions[2],
                                   time.digitPositions[3], time.digitPositions[4]},
                                  time.cell);
    EXPECT_EQ(log.painted[0], cells & panel.rect());

    // Marked only: nothing paints until the loop comes round.
    log.painted.clear();
    EXPECT_TRUE(records.led.RefreshTrackNumber(false));
    EXPECT_TRUE(log.painted.empty());
    settle();
    ASSERT_EQ(log.painted.size(), 1u);
    EXPECT_EQ(log.painted[0], cellsOf({Point{75, 5}, Point{65, 5}}, {10, 12}));
    panel.removeEventFilter(&log);
}

TEST_F(PanelWindowTest, ClickOnAButtonGivesItsEventsAndLooks)
{
    PanelWindow& panel = create();
    moveTo(centre(kPlay));
    EXPECT_EQ(panelHolder->skin().buttons[0].state, ButtonState::MouseIn);
    press(centre(kPlay));
    EXPECT_EQ(panelHolder->skin().buttons[0].state, ButtonState::Selected);
    EXPECT_EQ(panel.composed().pixelColor(centre(kPlay)), kPlayOwnSelected);
    release(centre(kPlay));
    // The second press of a double click is not a press.
    mouse(QEvent::MouseButtonDblClick, centre(kPlay), Qt::LeftButton, Qt::LeftButton);
    release(centre(kPlay));
    EXPECT_EQ(events, (std::vector<Event>{{10, P}, {10, R}, {10, C}}));
    EXPECT_EQ(panelHolder->skin().buttons[0].state, ButtonState::MouseIn);
}

TEST_F(PanelWindowTest, CheckButtonTakesItsLooksFromThePanelWidePictures)
{
    PanelWindow& panel = create();
    moveTo(centre(kMute));
    press(centre(kMute));
    EXPECT_EQ(panel.composed().pixelColor(centre(kMute)), kFaceSelected);
    release(centre(kMute));
    EXPECT_EQ(panel.composed().pixelColor(centre(kMute)), kFaceMouseIn);
    moveTo({100, 35});
    panel.repaint();
    EXPECT_EQ(panel.composed().pixelColor(centre(kMute)), kFace);
    EXPECT_EQ(panelHolder->skin().buttons[1].state, ButtonState::CheckedNormal);
    EXPECT_EQ(events, (std::vector<Event>{{30, P}, {30, R}, {30, C}}));
}

TEST_F(PanelWindowTest, DragOffAndBackThenReleaseOutside)
{
    create();
    press(centre(kPlay));
    mouse(QEvent::MouseMove, {100, 35}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, centre(kPlay), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {100, 35}, Qt::NoButton, Qt::LeftButton);
    release({100, 35});
    EXPECT_EQ(events, (std::vector<Event>{{10, P}, {10, R}, {10, P}, {10, R}}));
    EXPECT_EQ(panelHolder->skin().buttons[0].state, ButtonState::Normal);
}

TEST_F(PanelWindowTest, HandCursorsOverButtonsAndBody)
{
    PanelWindow& panel = create();
    moveTo(centre(kPlay));
    EXPECT_EQ(panel.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(panel.cursor().hotSpot(), QPoint(11, 0));
    moveTo({100, 35});
    EXPECT_EQ(panel.cursor().hotSpot(), QPoint(14, 0));
    const QImage hand = panel.cursor().pixmap().toImage();
    EXPECT_EQ(hand.size(), QSize(32, 32));
    // Two colours and transparency, nothing in between.
    for (int y = 0; y < hand.height(); ++y)
        for (int x = 0; x < hand.width(); ++x) {
            const QColor c = hand.pixelColor(x, y);
            EXPECT_TRUE(c.alpha() == 0 || c == QColor(Qt::black) || c == QColor(Qt::white)) << x << "," << y;
        }
}

TEST_F(PanelWindowTest, PressOnTheBodyMovesThePanelWithThePointer)
{
    PanelWindow& panel = create();
    panel.move(100, 100);
    settle();
    const QPoint origin = panel.mapToGlobal(QPoint(100, 35));
    QCursor::setPos(origin);
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(100, 35), QPointF(origin), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &down);
    if (panel.windowHandle()->startSystemMove())
        GTEST_SKIP() << "a window manager moves the panel here";
    const QPoint to = origin + QPoint(25, -30);
    QMouseEvent move(QEvent::MouseMove, QPointF(panel.mapFromGlobal(to)), QPointF(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &move);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(panel.mapFromGlobal(to)), QPointF(to), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &up);
    settle();
    EXPECT_EQ(panel.pos(), QPoint(125, 70));
    EXPECT_EQ(panel.state().screenPosition, (Point{125, 70}));
    EXPECT_TRUE(events.empty());
}

TEST_F(PanelWindowTest, TooltipShowsTheTipOfTheButtonUnderThePointer)
{
    PanelWindow& panel = create();
    const QPoint at = centre(kPlay);
    QCursor::setPos(panel.mapToGlobal(at));
    QHelpEvent help(QEvent::ToolTip, at, panel.mapToGlobal(at));
    QCoreApplication::sendEvent(&panel, &help);
    EXPECT_EQ(QToolTip::text(), "Play");
    EXPECT_EQ(panel.buttons().state().tipText, "Play");
    // The Mute button's tip is empty: no text.
    QCursor::setPos(panel.mapToGlobal(centre(kMute)));
    QHelpEvent none(QEvent::ToolTip, centre(kMute), panel.mapToGlobal(centre(kMute)));
    QCoreApplication::sendEvent(&panel, &none);
    EXPECT_EQ(panel.buttons().state().tipText, "");
}

// A check button set as playback sets it: through the panel it was handed, nothing without one.
bool checkedFromPlayback(const Playback& playback, CommandId command, bool checked)
{
    PanelFeedback* panel = playback.panel();
    return panel && panel->setButtonChecked(command, checked);
}

TEST_F(PanelWindowTest, CheckedFromPlaybackRepaintsTheButtonAtOnce)
{
    PanelWindow& panel = create();
    EXPECT_FALSE(checkedFromPlayback(records.playback, CommandId::VideoTopmost, true));
    PaintLog log;
    panel.installEventFilter(&log);
    EXPECT_TRUE(checkedFromPlayback(records.playback, CommandId::MuteUnMute, true));
    ASSERT_EQ(log.painted.size(), 1u);
    EXPECT_EQ(log.painted[0], QRegion(kMute.left, kMute.top, kMute.width(), kMute.height()));
    EXPECT_EQ(panelHolder->skin().buttons[1].state, ButtonState::CheckedNormal);
    EXPECT_TRUE(checkedFromPlayback(records.playback, CommandId::MuteUnMute, true));
    EXPECT_EQ(log.painted.size(), 1u);
    panel.removeEventFilter(&log);
    Panel_Destroy(panelHolder);
    // Without a panel, nothing.
    EXPECT_FALSE(checkedFromPlayback(records.playback, CommandId::MuteUnMute, false));
}

// Files, folders and disc images dropped on the panel play as the same names do from the command
// line, through the main window; a drag of anything else, or one that offers only to move the
// files, is refused and changes nothing.
TEST_F(PanelWindowTest, DroppedFilesPlayAsTheCommandLinesAndOtherDragsAreRefused)
{
    const VcdImage& image = VcdImage::get();
    const std::string second = dir.write("clips/b.mpg", "2");
    const std::string first = dir.write("clips/a clip, été.mpg", "1");
    dir.write("clips/notes.txt", "not a track");
    const std::string loose = dir.write("loose.txt", "a file named on its own is wanted");
    // The main window's start reads the configuration beside the player: here, the test's.
    records.windows.instance = dir.file("quintara");
    ASSERT_EQ(mainWindow->create(), 0);
    parts.drops = mainWindow.get();
    PanelWindow& panel = create();
    const auto opens = [this] {
        return std::count_if(journal.begin(), journal.end(),
                             [](const std::string& call) { return call.starts_with("Reelkit_Open("); });
    };

    const auto text = std::make_unique<QMimeData>();
    text->setText(QString::fromStdString(first));
    const auto web = UriList({"https://example.org/clip.mpg"});
    const auto mixed = UriList({first, "https://example.org/clip.mpg"});
    const auto remote = UriList({"file://elsewhere" + first});
    const auto files = UriList({dir.file("clips"), loose, image.cue});
    const struct {
        const char* what;
        const QMimeData& data;
        Qt::DropActions offered;
    } refused[] = {{"text", *text, Qt::CopyAction}, {"a web address", *web, Qt::CopyAction},
                   {"a file among web addresses", *mixed, Qt::CopyAction},
                   {"another host's file", *remote, Qt::CopyAction}, {"a move only", *files, Qt::MoveAction}};
    const QPoint body(kFaceSize.width / 2, 35);
    for (const auto& drag : refused) {
        const DropAnswers answers = DragAndDrop(panel, body, drag.data, drag.offered);
        EXPECT_FALSE(answers.entered) << drag.what;
        EXPECT_FALSE(answers.dropped) << drag.what;
    }
    settle();
    EXPECT_TRUE(records.playList.list()->entries.empty());
    EXPECT_TRUE(records.drives.images().empty());
    EXPECT_EQ(opens(), 0);

    const DropAnswers answers = DragAndDrop(panel, body, *files);
    EXPECT_TRUE(answers.entered);
    EXPECT_TRUE(answers.dropped);
    EXPECT_EQ(answers.action, Qt::CopyAction);
    settle();
    std::vector<std::string> listed;
    for (const PlayListEntry& entry : records.playList.list()->entries)
        listed.push_back(entry.path);
    EXPECT_EQ(listed, (std::vector<std::string>{first, second, loose, image.trackPath(1), image.trackPath(2),
                                                image.trackPath(3)}));
    // The image is a drive from now on, as one named on the command line.
    EXPECT_EQ(records.drives.images(), std::vector<std::string>{image.cue});
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(opens(), 1);
    EXPECT_NE(std::find(journal.begin(), journal.end(), "Reelkit_Open(" + first + ")"), journal.end());
    mainWindow->destroy();
}

TEST_F(PanelWindowTest, BusyCursorOverTheWholePlayer)
{
    create();
    // Through playback, which the panel lends itself to while it lives.
    ASSERT_NE(records.playback.panel(), nullptr);
    PanelFeedback& panel = *records.playback.panel();
    EXPECT_FALSE(panel.endBusyCursor());
    EXPECT_TRUE(panel.beginBusyCursor());
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_TRUE(panel.beginBusyCursor());
    EXPECT_TRUE(panel.endBusyCursor());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(panel.endBusyCursor());
}

TEST_F(PanelWindowTest, BlinkTimerFlipsAndRepaintsTheTrackNumber)
{
    PanelWindow& panel = create();
    PaintLog log;
    panel.installEventFilter(&log);
    records.settings.blinkTrackInterval = 350;
    panelHolder->timers().start(panel_timer::EntryBlink, 350);
    EXPECT_TRUE(records.state.entryBlinkOn);
    clock.advance(349);
    EXPECT_TRUE(records.state.entryBlinkOn);
    clock.advance(1);
    EXPECT_FALSE(records.state.entryBlinkOn);
    ASSERT_EQ(log.painted.size(), 1u);
    EXPECT_EQ(log.painted[0], cellsOf({Point{75, 5}, Point{65, 5}}, {10, 12}));
    clock.advance(350);
    EXPECT_TRUE(records.state.entryBlinkOn);
    EXPECT_TRUE(events.empty());
    panel.removeEventFilter(&log);
}

TEST_F(PanelWindowTest, EndOfEntryWithAutoReturnIsReturn)
{
    create();
    records.settings.autoReturn = 1;
    panelHolder->timers().start(panel_timer::EntryEnd, 3150);
    clock.advance(3150);
    EXPECT_EQ(events, (std::vector<Event>{{120, C}}));
}

TEST_F(PanelWindowTest, EndOfEntryWithoutAutoReturnDropsTheNumber)
{
    PanelWindow& panel = create();
    records.settings.autoReturn = 0;
    PlayerState& s = records.state;
    s.entryActive = 1;
    s.enteredNumber = 4;
    s.entryBlinkOn = 0;
    panelHolder->timers().start(panel_timer::EntryBlink, 350);
    panelHolder->timers().start(panel_timer::EntryEnd, 3150);
    clock.advance(3150);
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(s.entryActive);
    EXPECT_EQ(s.enteredNumber, 0u);
    EXPECT_TRUE(s.entryBlinkOn);
    EXPECT_FALSE(panel.timers().isRunning(panel_timer::EntryBlink));
    EXPECT_FALSE(panel.timers().isRunning(panel_timer::EntryEnd));
}

TEST_F(PanelWindowTest, OtherTimersDoNothing)
{
    PanelWindow& panel = create();
    panel.timerTick(1002);
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(records.state.entryBlinkOn);
}

TEST_F(PanelWindowTest, KeysGoToTheSharedMap)
{
    create();
    std::vector<Event> keyed;
    CommandsTo recorded([&](CommandId command, CommandPhase phase) {
        keyed.push_back({CommandNumber(command), CommandPhaseNumber(phase)});
        return true;
    });
    records.keys.setSink(&recorded);
    key(QEvent::KeyPress, Qt::Key_Right);
    // The keyboard's repeats, as X delivers them: a release and a press, both marked.
    for (int i = 0; i < 5; ++i) {
        key(QEvent::KeyRelease, Qt::Key_Right, {}, true);
        key(QEvent::KeyPress, Qt::Key_Right, {}, true);
    }
    key(QEvent::KeyRelease, Qt::Key_Right);
    key(QEvent::KeyPress, Qt::Key_1, "1");
    key(QEvent::KeyRelease, Qt::Key_1, "1");
    key(QEvent::KeyPress, Qt::Key_Return, "\r");
    key(QEvent::KeyRelease, Qt::Key_Return, "\r");
    key(QEvent::KeyPress, Qt::Key_F1);
    key(QEvent::KeyRelease, Qt::Key_F1);
    EXPECT_EQ(keyed, (std::vector<Event>{{19, P}, {19, R}, {101, C}, {120, C}, {2, C}}));
    EXPECT_TRUE(events.empty());  // keys do not pass through the buttons
}

TEST_F(PanelWindowTest, MediaKeysGoToTheMainWindow)
{
    create();
    key(QEvent::KeyPress, Qt::Key_VolumeUp);
    key(QEvent::KeyRelease, Qt::Key_VolumeUp);
    key(QEvent::KeyPress, Qt::Key_MediaPlay);
    ASSERT_EQ(mainPosted.size(), 2u);
    EXPECT_EQ(mainPosted[0].id, msg::MultimediaKey);
    EXPECT_EQ(mainPosted[0].lParam, intptr_t{10} << 16);
    EXPECT_EQ(mainPosted[1].lParam, intptr_t{14} << 16);
}

TEST_F(PanelWindowTest, ClosingThePanelClosesThePlayer)
{
    PanelWindow& panel = create();
    panel.close();
    key(QEvent::KeyPress, Qt::Key_F4, {}, false, Qt::AltModifier);
    panel.post({msg::SysCommand, 0xF060, 0});
    settle();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(mainPosted, (std::vector<Message>(3, Message{msg::Close, 0, 0})));
}

TEST_F(PanelWindowTest, DeactivationDropsTopmostOnlyWhenTheVideoIsTopmost)
{
    PanelWindow& panel = create();
    QWidget other;
    other.setGeometry(0, 0, 50, 50);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other, kWaitMs));
    for (const uint32_t videoTopmost : {0u, 1u}) {
        records.state.videoTopmost = videoTopmost;
        panel.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return panel.isActiveWindow(); }, kWaitMs)) << videoTopmost;
        panel.setTopmost(true);
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] { return other.isActiveWindow(); }, kWaitMs)) << videoTopmost;
        ASSERT_FALSE(panel.isActiveWindow());
        EXPECT_EQ(bool(panel.windowFlags() & Qt::WindowStaysOnTopHint), videoTopmost == 0) << videoTopmost;
    }
}

TEST_F(PanelWindowTest, DriveMenuItemsReachPlayback)
{
    PanelWindow& panel = create();
    std::vector<std::string> calls;
    driveMenus.heard = [&](uintptr_t drive, intptr_t mode) {
        calls.push_back("load " + std::to_string(drive) + " " + std::to_string(mode));
    };
    panel.post({msg::Command, 41003, 0});
    panel.post({msg::Command, 43000, 0});
    EXPECT_TRUE(calls.empty());  // posted: handled from the queue
    settle();
    EXPECT_EQ(calls, (std::vector<std::string>{"load 3 0"}));
}

}  // namespace

namespace {
// What the drive menu showed and where, with the keys given to it once it was up.
struct MenuSeen {
    QStringList texts;
    QPoint at;
};

MenuSeen answerDriveMenu(PlayerRecords& records, const std::vector<DriveMenuItem>& items, const std::vector<int>& keys)
{
    MenuSeen seen;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (const QAction* action : menu->actions())
            seen.texts << action->text();
        seen.at = menu->pos();
        for (const int key : keys)
            QTest::keyClick(menu, static_cast<Qt::Key>(key));
    });
    Panel_PopupDriveMenu(records.windows, records.modalLoops, items);
    return seen;
}
}  // namespace

TEST_F(PanelWindowTest, DriveMenuOpensAtThePointerAndSendsTheChoiceToThePanel)
{
    PanelWindow& panel = create();
    std::vector<uintptr_t> loaded;
    driveMenus.heard = [&](uintptr_t drive, intptr_t) { loaded.push_back(drive); };
    const QPoint pointer = panel.mapToGlobal(QPoint(4, 4));
    QCursor::setPos(pointer);
    const std::vector<DriveMenuItem> items = {{41003, "<D:> R&B"}, {41004, "<E:>"}};

    const MenuSeen chosen = answerDriveMenu(records, items, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
    EXPECT_EQ(chosen.texts, (QStringList{"<D:> R&&B", "<E:>"}));
    EXPECT_EQ(chosen.at, pointer);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !loaded.empty(); }, kWaitMs));
    EXPECT_EQ(loaded, std::vector<uintptr_t>{4});

    // Dismissed, it sends nothing.
    const MenuSeen dismissed = answerDriveMenu(records, items, {Qt::Key_Escape});
    EXPECT_EQ(dismissed.texts.size(), 2);
    settle();
    EXPECT_EQ(loaded, std::vector<uintptr_t>{4});
}
