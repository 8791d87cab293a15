#include <algorithm>
#include <memory>
#include <string>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "app/player_records.h"
#include "app/main_window.h"
#include "app/wiring.h"
#include "components/maskcut/maskcut_regions.h"
#include "components/nestwell/nestwell_file.h"
#include "panel/panel_cursors.h"
#include "panel/panel_place.h"
#include "panel/panel_window.h"
#include "tests/support/recording_components.h"
#include "tests/support/temp_dir.h"
#include "tests/support/widget_waits.h"

namespace {

// The panel as the player makes it: the shipped configuration and skin, the real reader and
// LED painter, the shipped cursors.
class DefaultPanelTest : public ::testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    PanelCursors cursors;
    const PanelLinks links = PanelLinksOf(records, nullptr, &cursors, records.playback);
    SkinPanelParts parts{links, {}};  // outlives the panel
    std::unique_ptr<PanelWindow> panelHolder;

    void SetUp() override
    {
        records.settings.exeDir = std::string(QUINTARA_SOURCE_DIR) + "/resources/";
        records.settings.cfgPath = records.settings.exeDir + "Quintara.CFG";
        records.settings.rcDir = records.settings.exeDir + "skin/";
        InstallRecordingComponents(records.components, journal);
        records.components.maskcut = std::make_unique<MaskcutBitmapRegions>();
        records.components.nestwell = std::make_unique<NestwellFile>(dir.file("profiles"));
        records.components.nestwell->setUserProfileInfo("tester", kApplicationKey);
    }
    void TearDown() override
    {
        Panel_Destroy(panelHolder);
        Panel_DestroyCursors(cursors);
    }

    TempDir dir;
    Journal journal;
};

TEST_F(DefaultPanelTest, OpensCentredShapedWithItsButtonsAndCursors)
{
    ASSERT_TRUE(Panel_LoadCursors(cursors));
    EXPECT_EQ(cursors.button->cursor.hotSpot(), QPoint(11, 0));
    EXPECT_EQ(cursors.body->cursor.hotSpot(), QPoint(14, 0));

    std::string why;
    ASSERT_TRUE(Panel_Create(panelHolder, parts, links, why)) << why;
    PanelWindow* panel = panelHolder.get();
    ASSERT_NE(panel, nullptr);
    // Nothing paints before the window system shows the window.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel, 10000));
    settle();
    EXPECT_TRUE(panel->isVisible());
    const Size face = panel->skin().faceSize;
    EXPECT_EQ(panel->size(), QSize(face.width, face.height));
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    // Centred, or at the left edge of a screen narrower than the panel.
    const Point centred = Panel_PlacePosition(face, {screen.width(), screen.height()}, "");
    EXPECT_EQ(panel->pos(), QPoint(centred.x, centred.y));
    EXPECT_EQ(centred.x, std::max(0, (screen.width() - face.width) / 2));
    // Shaped: an outline that is not the plain rectangle.
    EXPECT_FALSE(panel->mask().isEmpty());
    EXPECT_NE(panel->mask(), QRegion(panel->rect()));
    EXPECT_GE(panel->skin().buttons.size(), 20u);

    // Over a button the pointing hand, over the body the open hand.
    const Rect first = panel->skin().buttons.front().rect;
    const QPoint onButton((first.left + first.right) / 2, (first.top + first.bottom) / 2);
    QCursor::setPos(panel->mapToGlobal(onButton));
    QMouseEvent move(QEvent::MouseMove, QPointF(onButton), QPointF(panel->mapToGlobal(onButton)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(panel, &move);
    EXPECT_EQ(panel->cursor().hotSpot(), QPoint(11, 0));

    // Painted through the LED painter: the composed picture is the face's size, twice it where
    // the screen is dense, from the twins the skin has for every picture.
    panel->repaint();
    const bool dense = panel->devicePixelRatioF() >= 1.5;
    EXPECT_EQ(panel->composed().size(), QSize(face.width, face.height) * (dense ? 2 : 1));
    const PanelSkin& skin = panel->skin();
    for (const std::optional<QImage>* twin : {&skin.faceNormal2x, &skin.faceSelected2x, &skin.faceMouseIn2x,
                                              &skin.timeNumbers.strip2x, &skin.trackTimeNumbers.strip2x})
        EXPECT_EQ(twin->has_value(), dense);
    for (const PanelButton& button : skin.buttons)
        for (size_t state = 0; state < kButtonStateCount; ++state)
            EXPECT_EQ(button.bitmaps2x[state].has_value(), dense && button.bitmaps[state].has_value());
}

}  // namespace
