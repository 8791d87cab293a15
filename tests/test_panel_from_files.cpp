#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "app/player_records.h"
#include "app/main_window.h"
#include "app/wiring.h"
#include "components/maskcut/maskcut_regions.h"
#include "components/nestwell/nestwell_file.h"
#include "led/led_refresh.h"
#include "panel/panel_cursors.h"
#include "panel/panel_window.h"
#include "tests/support/command_sink.h"
#include "tests/support/manual_timers.h"
#include "tests/support/recording_components.h"
#include "tests/support/widget_waits.h"
#include "tests/test_panel_skin_files.h"

namespace {

// A panel read by the real skin reader from files the test writes: a 120 x 40 face whose
// region picture cuts a white notch out of the top-right corner, one Play button, a time strip.
constexpr const char* kConfig = R"([Panel]
Normal Bitmap=face.bmp
Selected Bitmap=face-selected.bmp
Region Bitmap=Shape\region.bmp
[Panel\Buttons]
Button 1=play
Button 2=Nothing Of The Kind
Button 3=Mute
[Play]
Size=20,20
Position=10,10
[Mute]
Check Button=1
Size=20,20
Position=40,10
Tip=Sound off and on
[Panel\LED\Time Numbers]
Bitmap=digits.bmp
Position Sec-Uint=110,28
Position Sec-Decimal=102,28
Position Min-Uint=90,28
Position Min-Decimal=82,28
Position Hour-Uint=70,28
[SelectTrack Settings]
Blink Track Interval=200
)";

// The player's skin reader, with the LED's paints counted (nothing drawn), timers on the test's
// clock and every command taken.
class CountingSkinParts : public SkinPanelParts {
public:
    CountingSkinParts(const PanelLinks& links, ManualClock& clock) : SkinPanelParts(links, {}), clock_(clock) {}
    void drawLed(QPainter&, const PanelSkin&) override { ++ledPaints; }
    std::unique_ptr<TimerHost> makeTimers(TimerTick tick) override
    {
        return std::make_unique<ManualTimers>(clock_, std::move(tick));
    }
    CommandSink& commands() override { return taken_; }

    int ledPaints = 0;

private:
    ManualClock& clock_;
    CommandsTo taken_{[](CommandId, CommandPhase) { return true; }};
};

class PanelFromFilesTest : public ::testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    std::unique_ptr<PanelWindow> panelHolder;
    PanelCursors cursors;

    void SetUp() override
    {
        QCursor::setPos(0, 0);
        files = std::make_unique<SkinFiles>();
        files->pointAt(records.settings);
        files->config(kConfig);
        files->picture("face.bmp", 120, 40, QColor(30, 30, 30));
        files->picture("face-selected.bmp", 120, 40, QColor(200, 0, 0));
        files->picture("digits.bmp", 85, 10, QColor(250, 250, 0));  // cells 8 x 10
        files->picture("Shape/region.bmp", 1, 1);  // makes the folder
        QImage shape(120, 40, QImage::Format_RGB32);
        shape.fill(Qt::black);
        for (int y = 0; y < 10; ++y)
            for (int x = 110; x < 120; ++x)
                shape.setPixelColor(x, y, Qt::white);
        ASSERT_TRUE(shape.save(QString::fromStdString(files->dir().file("skin/Shape/region.bmp")), "BMP"));

        InstallRecordingComponents(records.components, journal);
        records.components.maskcut = std::make_unique<MaskcutBitmapRegions>();
        auto store = std::make_unique<NestwellFile>(files->dir().file("profiles"));
        store->setUserProfileInfo("tester", kApplicationKey);
        nestwell = store.get();
        records.components.nestwell = std::move(store);

    }

    void TearDown() override
    {
        Panel_Destroy(panelHolder);
    }

    PanelWindow* create()
    {
        std::string why;
        if (!Panel_Create(panelHolder, parts, links, why))
            return nullptr;
        PanelWindow* panel = panelHolder.get();
        // Nothing paints before the window system shows the window; its first paint comes then.
        EXPECT_TRUE(QTest::qWaitForWindowExposed(panel, kWaitMs));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !panel->composed().isNull(); }, kWaitMs));
        settle();
        return panel;
    }

    std::string stored()
    {
        return nestwell->getProfileString("Panel", "Position").value_or("(none)");
    }

    std::unique_ptr<SkinFiles> files;
    Journal journal;
    NestwellFile* nestwell = nullptr;
    ManualClock clock;
    const PanelLinks links = PanelLinksOf(records, nullptr, nullptr, records.playback);
    CountingSkinParts parts{links, clock};  // outlives the panel
};

TEST_F(PanelFromFilesTest, OpensShapedAndSizedByItsSkin)
{
    PanelWindow* panel = create();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->size(), QSize(120, 40));
    EXPECT_EQ(panel->mask(), QRegion(0, 0, 110, 10) + QRegion(0, 10, 120, 30));
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(panel->pos(), QPoint((screen.width() - 120) / 2, (screen.height() - 40) / 2));
    const std::vector<PanelButton>& buttons = panel->skin().buttons;
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].rect, (Rect{10, 10, 30, 30}));
    EXPECT_EQ(buttons[1].tip, "Sound off and on");
    EXPECT_EQ(records.settings.blinkTrackInterval, 200u);
    EXPECT_GT(parts.ledPaints, 0);
}

TEST_F(PanelFromFilesTest, PositionTickRepaintsOnlyItsDigitCells)
{
    PanelWindow* panel = create();
    ASSERT_NE(panel, nullptr);
    PaintLog log;
    panel->installEventFilter(&log);
    ASSERT_TRUE(records.led.RefreshTime(true));
    ASSERT_EQ(log.painted.size(), 1u);
    QRegion cells;
    for (const QPoint p : {QPoint(110, 28), QPoint(102, 28), QPoint(90, 28), QPoint(82, 28), QPoint(70, 28)})
        cells += QRect(p, QSize(9, 11));
    EXPECT_EQ(log.painted[0], cells & panel->rect());
    EXPECT_LT(log.painted[0].boundingRect().height(), 12);
    panel->removeEventFilter(&log);
}

TEST_F(PanelFromFilesTest, ComesBackWhereItWasLeft)
{
    PanelWindow* panel = create();
    ASSERT_NE(panel, nullptr);
    panel->move(17, 23);
    settle();
    Panel_Destroy(panelHolder);
    EXPECT_EQ(stored(), "17,23");
    EXPECT_EQ(records.led.panel(), nullptr);

    panel = create();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->pos(), QPoint(17, 23));
}

TEST_F(PanelFromFilesTest, RefusedWithoutItsFacePicture)
{
    files->config(std::string(kConfig).replace(std::string(kConfig).find("face.bmp"), 8, "gone.bmp"));
    EXPECT_EQ(create(), nullptr);
    EXPECT_EQ(records.windows.panel, nullptr);
    EXPECT_EQ(stored(), "(none)");
}

TEST_F(PanelFromFilesTest, RefusedWithoutAButtonLeavingNoPicture)
{
    std::string text = kConfig;
    text.replace(text.find("Button 1=play"), 13, "Button 1=nope");
    text.replace(text.find("Button 3=Mute"), 13, "Button 3=nope");
    files->config(text);
    EXPECT_EQ(create(), nullptr);
    EXPECT_EQ(records.windows.panel, nullptr);
    EXPECT_EQ(records.led.panel(), nullptr);
    EXPECT_EQ(stored(), "(none)");
}

// A face twin in a fine pattern no scaling of the 1x face makes: stripes one device pixel
// wide. Where the screen is dense the panel is composed from it at twice the size, while the
// size, outline and buttons stay those of the 1x skin; at 1x (and for pictures without a
// twin, or with a twin of the wrong size) the 1x pictures are drawn as before.
TEST_F(PanelFromFilesTest, DenseScreensComposeFromTheTwinsAndKeepTheSkinsGeometry)
{
    QImage fine(240, 80, QImage::Format_RGB32);
    for (int x = 0; x < fine.width(); ++x)
        for (int y = 0; y < fine.height(); ++y)
            fine.setPixelColor(x, y, x % 2 ? QColor(0, 0, 255) : QColor(0, 255, 0));
    ASSERT_TRUE(fine.save(QString::fromStdString(files->dir().file("skin/FACE@2x.BMP")), "BMP"));
    files->picture("face-selected@2x.bmp", 100, 30, QColor(0, 200, 200));  // not twice: ignored

    PanelWindow* panel = create();
    ASSERT_NE(panel, nullptr);
    const bool dense = panel->devicePixelRatioF() >= 1.5;
    EXPECT_EQ(panel->size(), QSize(120, 40));
    EXPECT_EQ(panel->mask(), QRegion(0, 0, 110, 10) + QRegion(0, 10, 120, 30));
    EXPECT_EQ(panel->skin().buttons[0].rect, (Rect{10, 10, 30, 30}));
    EXPECT_EQ(panel->skin().faceNormal2x.has_value(), dense);
    EXPECT_FALSE(panel->skin().faceSelected2x);

    const QImage& composed = panel->composed();
    if (!dense) {
        EXPECT_EQ(composed.size(), QSize(120, 40));
        EXPECT_EQ(composed.pixelColor(60, 35), QColor(30, 30, 30));
        return;
    }
    ASSERT_EQ(composed.size(), QSize(240, 80));
    EXPECT_EQ(composed.devicePixelRatio(), 2.0);
    // The face away from the buttons: the twin's stripes, pixel for pixel.
    for (const QPoint p : {QPoint(120, 70), QPoint(121, 70), QPoint(200, 2), QPoint(239, 79)})
        EXPECT_EQ(composed.pixelColor(p), fine.pixelColor(p)) << p.x() << "," << p.y();
    // A pressed button shows the selected face, whose twin was refused: the 1x red, doubled.
    panel->skin().buttons[0].state = ButtonState::Selected;
    panel->invalidateAll();
    panel->repaintNow();
    EXPECT_EQ(composed.pixelColor(21, 21), QColor(200, 0, 0));
    EXPECT_EQ(composed.pixelColor(58, 58), QColor(200, 0, 0));
    EXPECT_EQ(composed.pixelColor(61, 61), fine.pixelColor(61, 61));
}

}  // namespace
