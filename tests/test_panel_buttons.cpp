#include <string>
#include <vector>

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include "panel/panel_buttons.h"
#include "core/command_id.h"
#include "tests/support/command_sink.h"
#include "tests/support/manual_timers.h"
#include "tests/support/recording_window.h"

namespace {

using S = ButtonState;
using namespace phase_number;

using Event = CommandEvent;

// The look table, every event for each combination of the flags.
struct LookCase {
    ButtonEvent event;
    uint32_t checkable, checked;
    ButtonState expected;
};

const LookCase kLooks[] = {
    {ButtonEvent::PointerIn, 0, 0, S::MouseIn},
    {ButtonEvent::PointerIn, 1, 0, S::MouseIn},
    {ButtonEvent::PointerIn, 1, 1, S::CheckedMouseIn},
    {ButtonEvent::PointerOut, 0, 0, S::Normal},
    {ButtonEvent::PointerOut, 1, 1, S::CheckedNormal},
    {ButtonEvent::Down, 0, 0, S::Selected},
    {ButtonEvent::Down, 1, 0, S::Selected},
    {ButtonEvent::Down, 1, 1, S::CheckedSelected},
    {ButtonEvent::Down, 0, 1, S::Selected},  // checked without being checkable: drawn plain
    {ButtonEvent::DragOff, 0, 0, S::Normal},
    {ButtonEvent::DragOff, 1, 1, S::CheckedNormal},
    {ButtonEvent::DragBack, 1, 0, S::Selected},
    {ButtonEvent::DragBack, 1, 1, S::CheckedSelected},
    {ButtonEvent::DragBack, 0, 1, S::Selected},
    {ButtonEvent::UpOver, 0, 0, S::MouseIn},
    {ButtonEvent::UpOver, 0, 1, S::MouseIn},
    {ButtonEvent::UpOver, 1, 0, S::MouseIn},
    {ButtonEvent::UpOver, 1, 1, S::CheckedMouseIn},
};

TEST(ButtonLooks, FollowTheTransitionTable)
{
    for (const LookCase& c : kLooks) {
        PanelButton button;
        button.checkable = c.checkable;
        button.checked = c.checked;
        EXPECT_EQ(ButtonLook(button, c.event), c.expected)
            << "event " << int(c.event) << " checkable " << c.checkable << " checked " << c.checked;
    }
}

TEST(ButtonLooks, CheckedFromOutsideKeepsOnlyTheHighlight)
{
    const struct {
        ButtonState was;
        bool checked;
        ButtonState expected;
    } cases[] = {
        {S::MouseIn, true, S::CheckedMouseIn},  {S::Normal, true, S::CheckedNormal},
        {S::Selected, true, S::CheckedNormal},  {S::CheckedMouseIn, false, S::MouseIn},
        {S::CheckedNormal, false, S::Normal},   {S::CheckedSelected, false, S::Normal},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ButtonLook_Checked(c.was, c.checked), c.expected) << int(c.was) << " " << c.checked;
}

class FakeHost : public PanelPointerHost {
public:
    explicit FakeHost(ManualClock& clock) : window_(clock) {}
    Window& window() override { return window_; }
    Point pointer() const override { return at; }
    void beginMove() override { ++moves; }
    void resetTooltip() override { ++tooltipResets; }

    RecordingWindow& recording() { return window_; }
    Point at{-1, -1};
    int moves = 0;
    int tooltipResets = 0;

private:
    RecordingWindow window_;
};

// Three buttons: Play, a checkable Mute, and Stop lying half under Play.
std::vector<PanelButton> threeButtons()
{
    std::vector<PanelButton> buttons(3);
    buttons[0].command = CommandId::Play;
    buttons[0].tip = "Play";
    buttons[0].rect = {10, 10, 30, 20};
    buttons[1].command = CommandId::MuteUnMute;
    buttons[1].checkable = 1;
    buttons[1].rect = {40, 10, 60, 20};
    buttons[2].command = CommandId::Stop;
    buttons[2].rect = {20, 10, 40, 20};
    return buttons;
}

constexpr Point kPlay{12, 12};
constexpr Point kOverlap{25, 15};  // Play and Stop both
constexpr Point kStop{35, 15};
constexpr Point kMute{45, 15};
constexpr Point kBody{100, 50};
constexpr Point kPlayEdge{29, 19};    // the last pixel inside
constexpr Point kPastPlayEdge{30, 9};  // right of it and above Stop

// Click is an assistive technology's press of the button numbered, the pointer at the point.
enum class Act { Move, Down, Up, DoubleClick, Click };
struct Step {
    Act act;
    Point at;
    int32_t button = -1;
};

struct Sequence {
    const char* name;
    std::vector<Step> steps;
    std::vector<Event> events;
    std::vector<ButtonState> looks;  // of the three buttons at the end
    int32_t hover;
    int moves = 0;
};

const Sequence kSequences[] = {
    {"Click", {{Act::Move, kPlay}, {Act::Down, kPlay}, {Act::Up, kPlay}}, {{10, P}, {10, R}, {10, C}},
     {S::MouseIn, S::Normal, S::Normal}, 0},
    {"DragOffAndBack",
     {{Act::Down, kPlay}, {Act::Move, kBody}, {Act::Move, kBody}, {Act::Move, kPlay}, {Act::Move, kPlay},
      {Act::Up, kPlay}},
     {{10, P}, {10, R}, {10, P}, {10, R}, {10, C}},
     {S::MouseIn, S::Normal, S::Normal}, 0},
    {"DragOffAndReleaseOutside", {{Act::Down, kPlay}, {Act::Move, kBody}, {Act::Up, kBody}}, {{10, P}, {10, R}},
     {S::Normal, S::Normal, S::Normal}, -1},
    {"DragOntoAnotherButton", {{Act::Down, kPlay}, {Act::Move, kStop}, {Act::Up, kStop}}, {{10, P}, {10, R}},
     {S::Normal, S::Normal, S::Normal}, -1},
    {"DoubleClickIsOneClick",
     {{Act::Move, kPlay}, {Act::Down, kPlay}, {Act::Up, kPlay}, {Act::DoubleClick, kPlay}, {Act::Up, kPlay}},
     {{10, P}, {10, R}, {10, C}},
     {S::MouseIn, S::Normal, S::Normal}, 0},
    {"OverlapGoesToTheFirstListed", {{Act::Move, kOverlap}, {Act::Down, kOverlap}, {Act::Up, kOverlap}},
     {{10, P}, {10, R}, {10, C}}, {S::MouseIn, S::Normal, S::Normal}, 0},
    {"EdgesOfTheRectangle", {{Act::Down, kPlayEdge}, {Act::Move, kPastPlayEdge}, {Act::Up, kPastPlayEdge}},
     {{10, P}, {10, R}}, {S::Normal, S::Normal, S::Normal}, -1},
    {"HoverMovesFromButtonToButton", {{Act::Move, kPlay}, {Act::Move, kStop}, {Act::Move, kMute}}, {},
     {S::Normal, S::MouseIn, S::Normal}, 1},
    {"HoverLeavesToTheBody", {{Act::Move, kStop}, {Act::Move, kBody}}, {}, {S::Normal, S::Normal, S::Normal}, -1},
    {"PressOnTheBodyMovesThePanel", {{Act::Down, kBody}, {Act::Up, kBody}}, {}, {S::Normal, S::Normal, S::Normal},
     -1, 1},
    {"CheckButtonClickedTwice",
     {{Act::Move, kMute}, {Act::Down, kMute}, {Act::Up, kMute}, {Act::Down, kMute}, {Act::Up, kMute}},
     {{30, P}, {30, R}, {30, C}, {30, P}, {30, R}, {30, C}},
     {S::Normal, S::MouseIn, S::Normal}, 1},
    {"CheckButtonDraggedOffKeepsItsFlag", {{Act::Down, kMute}, {Act::Move, kBody}, {Act::Up, kBody}},
     {{30, P}, {30, R}}, {S::Normal, S::Normal, S::Normal}, -1},
    {"AssistiveClickAwayFromThePointer", {{Act::Move, kStop}, {Act::Click, kStop, 0}}, {{10, P}, {10, R}, {10, C}},
     {S::Normal, S::Normal, S::MouseIn}, 2},
    {"AssistiveClickUnderThePointer", {{Act::Move, kPlay}, {Act::Click, kPlay, 0}}, {{10, P}, {10, R}, {10, C}},
     {S::MouseIn, S::Normal, S::Normal}, 0},
    {"AssistiveClickFlipsACheckButton", {{Act::Click, kBody, 1}}, {{30, P}, {30, R}, {30, C}},
     {S::Normal, S::CheckedNormal, S::Normal}, -1},
    {"AssistiveClickWhileAButtonIsHeldOrOfNoButtonDoesNothing",
     {{Act::Down, kPlay}, {Act::Click, kPlay, 1}, {Act::Up, kPlay}, {Act::Click, kBody, 3}, {Act::Click, kBody, -1}},
     {{10, P}, {10, R}, {10, C}}, {S::MouseIn, S::Normal, S::Normal}, 0},
};

class ButtonSequenceTest : public ::testing::TestWithParam<Sequence> {
protected:
    ManualClock clock;
    FakeHost host{clock};
    std::vector<PanelButton> buttons = threeButtons();
    std::vector<Event> events;
    CommandsTo commands{[this](CommandId command, CommandPhase phase) {
        events.push_back({CommandNumber(command), CommandPhaseNumber(phase)});
        return true;
    }};
    PanelButtons panel{buttons, host, commands};

    void play(const Step& step)
    {
        host.at = step.at;
        switch (step.act) {
        case Act::Move:
            panel.move();
            break;
        case Act::Down:
            panel.press();
            break;
        case Act::Up:
            panel.release();
            break;
        case Act::DoubleClick:
            break;  // the window does not hand it on
        case Act::Click:
            panel.click(step.button);
            break;
        }
    }
};

TEST_P(ButtonSequenceTest, GivesItsEventsAndLooks)
{
    const Sequence& s = GetParam();
    for (const Step& step : s.steps)
        play(step);
    EXPECT_EQ(events, s.events);
    std::vector<ButtonState> looks;
    for (const PanelButton& b : buttons)
        looks.push_back(b.state);
    EXPECT_EQ(looks, s.looks);
    EXPECT_EQ(panel.state().hoverButton, s.hover);
    EXPECT_EQ(panel.state().pressedButton, -1);
    EXPECT_EQ(host.moves, s.moves);
}

INSTANTIATE_TEST_SUITE_P(Buttons, ButtonSequenceTest, ::testing::ValuesIn(kSequences),
                         [](const auto& info) { return std::string(info.param.name); });

class ButtonTest : public ButtonSequenceTest {};

TEST_F(ButtonTest, CheckButtonLooksThroughTwoClicks)
{
    std::vector<ButtonState> seen;
    auto look = [&] { seen.push_back(buttons[1].state); };
    play({Act::Move, kMute});
    play({Act::Down, kMute});
    look();
    play({Act::Up, kMute});
    look();
    play({Act::Move, kBody});
    look();
    play({Act::Move, kMute});
    play({Act::Down, kMute});
    look();
    play({Act::Up, kMute});
    look();
    EXPECT_EQ(seen, (std::vector<ButtonState>{S::Selected, S::CheckedMouseIn, S::CheckedNormal, S::CheckedSelected,
                                               S::MouseIn}));
    EXPECT_EQ(buttons[1].checked, 0u);
}

TEST_F(ButtonTest, StateChangesMarkOnlyTheButtonAndRepaintAsTheTableSays)
{
    RecordingWindow& w = host.recording();
    play({Act::Move, kPlay});
    EXPECT_EQ(w.marked, (std::vector<Rect>{buttons[0].rect}));
    EXPECT_EQ(w.repaints, 1);
    // Leaving one button for another: the old one is only marked; one repaint serves both.
    play({Act::Move, kMute});
    EXPECT_EQ(w.marked, (std::vector<Rect>{buttons[0].rect, buttons[0].rect, buttons[1].rect}));
    EXPECT_EQ(w.repaints, 2);
    EXPECT_EQ(host.tooltipResets, 2);
    // Leaving for the body only marks.
    play({Act::Move, kBody});
    EXPECT_EQ(w.marked.size(), 4u);
    EXPECT_EQ(w.repaints, 2);
    // A move that changes nothing does nothing.
    play({Act::Move, kBody});
    EXPECT_EQ(w.marked.size(), 4u);
    EXPECT_EQ(host.tooltipResets, 3);
}

TEST_F(ButtonTest, HoverIsLeftAloneWhileAButtonIsHeld)
{
    play({Act::Move, kStop});
    play({Act::Down, kStop});
    play({Act::Move, kMute});
    EXPECT_EQ(panel.state().hoverButton, 2);
    EXPECT_EQ(buttons[1].state, S::Normal);
    EXPECT_EQ(panel.state().pressedButton, 2);
}

TEST_F(ButtonTest, SetCheckedFromOutside)
{
    RecordingWindow& w = host.recording();
    EXPECT_FALSE(panel.setChecked(CommandId::Play, true));  // Play is not checkable
    EXPECT_EQ(buttons[0].checked, 0u);
    EXPECT_FALSE(panel.setChecked(CommandId::VideoTopmost, true));  // no such button
    EXPECT_TRUE(w.marked.empty());

    play({Act::Move, kMute});
    const int repaints = w.repaints;
    EXPECT_TRUE(panel.setChecked(CommandId::MuteUnMute, true));
    EXPECT_EQ(buttons[1].state, S::CheckedMouseIn);
    EXPECT_EQ(w.repaints, repaints + 1);
    EXPECT_EQ(w.marked.back(), buttons[1].rect);
    // The same value again: nothing repainted.
    EXPECT_TRUE(panel.setChecked(CommandId::MuteUnMute, true));
    EXPECT_EQ(w.repaints, repaints + 1);
    EXPECT_TRUE(panel.setChecked(CommandId::MuteUnMute, false));
    EXPECT_EQ(buttons[1].state, S::MouseIn);
}

TEST_F(ButtonTest, HeldButtonCheckedFromOutsideIsPressedAgainByTheNextMove)
{
    play({Act::Down, kMute});
    EXPECT_TRUE(panel.setChecked(CommandId::MuteUnMute, true));
    EXPECT_EQ(buttons[1].state, S::CheckedNormal);
    play({Act::Move, kMute});
    EXPECT_EQ(buttons[1].state, S::CheckedSelected);
    EXPECT_EQ(events, (std::vector<Event>{{30, P}, {30, P}}));
    play({Act::Up, kMute});
    EXPECT_EQ(buttons[1].checked, 0u);
}

TEST_F(ButtonTest, TooltipIsTheTipOfTheButtonUnderThePointer)
{
    buttons[1].tip = "";
    buttons[2].tip = std::string(300, 'x');
    host.at = kOverlap;
    EXPECT_EQ(panel.tooltip(), "Play");
    host.at = kMute;
    EXPECT_EQ(panel.tooltip(), "");
    host.at = kBody;
    EXPECT_EQ(panel.tooltip(), "");
    host.at = kStop;
    EXPECT_EQ(panel.tooltip().size(), 255u);

    // 255 characters, the last of two bytes: the cut never splits one.
    const std::string accented = std::string(254, 'x') + "\xC3\xA9";
    buttons[2].tip = accented + "yyy";
    EXPECT_EQ(panel.tooltip(), accented);
    EXPECT_EQ(panel.state().tipText, accented);
}

TEST_F(ButtonTest, CursorOverButtonsAndBody)
{
    host.at = kStop;
    EXPECT_EQ(panel.cursor(), PanelCursor::Button);
    host.at = kBody;
    EXPECT_EQ(panel.cursor(), PanelCursor::Body);
}

// Drawing: each button from its own picture, else from the panel-wide one of its state.
QImage filled(int w, int h, QColor colour)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

TEST(DrawButtons, OwnPictureElsePanelWideElseNothing)
{
    std::vector<PanelButton> buttons(3);
    buttons[0].rect = {0, 0, 4, 4};
    buttons[0].state = S::CheckedSelected;
    buttons[0].bitmaps[4] = filled(6, 6, Qt::red);  // larger than the button: its top-left part
    buttons[1].rect = {10, 0, 14, 4};
    buttons[1].state = S::CheckedMouseIn;
    buttons[2].rect = {20, 0, 24, 4};
    buttons[2].state = S::Selected;

    const std::optional<QImage> normal = filled(30, 10, Qt::black);
    const std::optional<QImage> mouseIn = filled(30, 10, Qt::green);
    QImage target = filled(30, 10, Qt::white);
    QPainter painter(&target);
    EXPECT_TRUE(Panel_DrawButtons(painter, buttons, normal, std::nullopt, mouseIn));
    painter.end();

    EXPECT_EQ(target.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(3, 3), QColor(Qt::red));
    EXPECT_EQ(target.pixelColor(4, 4), QColor(Qt::white));
    EXPECT_EQ(target.pixelColor(10, 0), QColor(Qt::green));
    EXPECT_EQ(target.pixelColor(13, 3), QColor(Qt::green));
    EXPECT_EQ(target.pixelColor(14, 0), QColor(Qt::white));
    // No Selected picture anywhere: what lay below shows.
    EXPECT_EQ(target.pixelColor(21, 1), QColor(Qt::white));
}

TEST(DrawButtons, PanelWidePictureIsCutUnderTheButton)
{
    std::vector<PanelButton> buttons(1);
    buttons[0].rect = {5, 2, 8, 4};
    buttons[0].state = S::Normal;
    QImage face(10, 6, QImage::Format_RGB32);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            face.setPixelColor(x, y, QColor(x * 20, y * 40, 0));
    QImage target = filled(10, 6, Qt::white);
    QPainter painter(&target);
    Panel_DrawButtons(painter, buttons, face, std::nullopt, std::nullopt);
    painter.end();
    EXPECT_EQ(target.pixelColor(5, 2), QColor(100, 80, 0));
    EXPECT_EQ(target.pixelColor(7, 3), QColor(140, 120, 0));
    EXPECT_EQ(target.pixelColor(4, 2), QColor(Qt::white));
}

}  // namespace
