#include <memory>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

#include "app/player_records.h"
#include "app/main_window.h"
#include "app/wiring.h"
#include "core/settings.h"
#include "core/ini_file.h"
#include "components/nestwell/nestwell_file.h"
#include "disc/play_list.h"
#include "tests/support/function_host.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/file_drops.h"
#include "tests/support/icon_match.h"
#include "tests/support/manual_timers.h"
#include "tests/support/recording_components.h"
#include "tests/support/temp_dir.h"
#include "tests/support/widget_waits.h"
#include "video/image_window.h"
#include "core/sys_command.h"
#include "video/video_frame.h"
#include "video/video_window.h"

namespace {

// Each border part in its own colour, so a part drawn in the wrong place shows.
struct PartPicture {
    const char* key;
    const char* file;
    int width, height;
    QColor colour;
};

const PartPicture kParts[] = {
    {"LT-Border Bitmap", "lt.bmp", 8, 8, QColor(255, 0, 0)},
    {"T-Border Bitmap", "t.bmp", 4, 8, QColor(0, 255, 0)},
    {"RT-Border Bitmap", "rt.bmp", 8, 8, QColor(0, 0, 255)},
    {"L-Border Bitmap", "l.bmp", 8, 4, QColor(255, 255, 0)},
    {"R-Border Bitmap", "r.bmp", 8, 4, QColor(0, 255, 255)},
    {"LB-Border Bitmap", "lb.bmp", 8, 8, QColor(255, 0, 255)},
    {"B-Border Bitmap", "b.bmp", 4, 8, QColor(128, 128, 0)},
    {"RB-Border Bitmap", "rb.bmp", 8, 8, QColor(0, 128, 128)},
};
// The first column of each T tile, to see where the tiles start.
const QColor kTileMark(255, 255, 255);

// The idle picture: four quadrants.
const QColor kIdleQuadrants[4] = {QColor(200, 40, 40), QColor(40, 200, 40), QColor(40, 40, 200), QColor(220, 220, 60)};

std::string describe(const QRect& r)
{
    return std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height());
}

QRect screenRect()
{
    return QGuiApplication::primaryScreen()->geometry();
}

// The place and size the window system last reported for a window. A widget takes a requested
// geometry at once; on X the server's answer, and any older one still on its way, come later
// and put the widget back where it was for a while.
class Reports : public QObject {
public:
    QRect last;

    void watch(QWidget& window)
    {
        last = window.geometry();
        window.windowHandle()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (!event->spontaneous())
            return false;
        if (event->type() == QEvent::Move)
            last.moveTopLeft(static_cast<QMoveEvent*>(event)->pos());
        else if (event->type() == QEvent::Resize)
            last.setSize(static_cast<QResizeEvent*>(event)->size());
        return false;
    }
};

class Hublet : public NoDesktop {
public:
    std::vector<Window*> foreground;
    bool setWindowToForeground(Window* window) override
    {
        foreground.push_back(window);
        return true;
    }
};

class Reelkit : public RecordingReelkit {
public:
    using RecordingReelkit::RecordingReelkit;
    int resets = 0;
    bool resetImageSize() override { return ++resets, true; }
};

// The panel as the video windows see it.
class Panel : public Window {
public:
    std::vector<bool> topmost;
    void post(const Message&) override {}
    TimerHost& timers() override { return timers_; }
    void setTopmost(bool on) override { topmost.push_back(on); }

private:
    ManualClock clock_;
    ManualTimers timers_{clock_};
};

class VideoWindow : public ::testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    std::unique_ptr<VideoFrame> video;

    void SetUp() override
    {
        records.settings.exeDir = dir.path() + "/";
        records.settings.cfgPath = dir.file("Quintara.CFG");
        records.settings.rcDir = dir.path() + "/skin/";
        for (const PartPicture& part : kParts) {
            QImage picture(part.width, part.height, QImage::Format_RGB32);
            picture.fill(part.colour);
            if (std::string(part.file) == "t.bmp")
                for (int y = 0; y < part.height; ++y)
                    picture.setPixelColor(0, y, kTileMark);
            save(picture, std::string("frame/") + part.file);
        }
        QImage idle(2, 2, QImage::Format_RGB32);
        for (int i = 0; i < 4; ++i)
            idle.setPixelColor(i % 2, i / 2, kIdleQuadrants[i]);
        save(idle, "idle.bmp");

        auto store = std::make_unique<NestwellFile>(dir.file("profiles"));
        store->setUserProfileInfo("tester", kApplicationKey);
        nestwell = store.get();
        records.components.nestwell = std::move(store);
        auto engine = std::make_unique<Reelkit>(journal);
        reelkit = engine.get();
        records.components.reelkit = std::move(engine);
        auto desktop = std::make_unique<Hublet>();
        hublet = desktop.get();
        records.components.hublet = std::move(desktop);
    }

    void TearDown() override
    {
        VideoWnd_Destroy(video);
    }

    void save(const QImage& picture, const std::string& name)
    {
        const std::string path = dir.write("skin/" + name, "");
        ASSERT_TRUE(picture.save(QString::fromStdString(path), "BMP"));
    }

    // The configuration with the eight parts, then the extra lines; a part whose key is
    // dropped is left out.
    void configure(const std::string& extra = "", const std::string& dropped = "")
    {
        std::string text = "[Video]\n";
        for (const PartPicture& part : kParts)
            if (dropped != part.key)
                text += std::string(part.key) + "=frame\\" + part.file + "\n";
        dir.write("Quintara.CFG", text + extra);
    }

    VideoFrame& create()
    {
        std::string why;
        EXPECT_TRUE(VideoWnd_Create(video, VideoLinksOf(records, records.windows.main), hooks, why)) << why;
        VideoFrame& frame = *dynamic_cast<VideoFrame*>(records.windows.videoFrame);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&frame, kWaitMs));
        reports.watch(frame);
        settle();
        return frame;
    }

    // The frame stands at the place and the window system has said so: no older answer of
    // its can move it any more.
    [[nodiscard]] ::testing::AssertionResult placedAt(const QWidget& frame, const QRect& expected)
    {
        if (QTest::qWaitFor([&] { return frame.geometry() == expected && reports.last == expected; }, kWaitMs))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the frame stands at " << describe(frame.geometry())
                                             << ", last reported at " << describe(reports.last) << ", not at "
                                             << describe(expected);
    }

    // Sets the frame's geometry and waits until the window system has it.
    [[nodiscard]] ::testing::AssertionResult place(QWidget& frame, const QRect& rect)
    {
        frame.setGeometry(rect);
        return placedAt(frame, rect);
    }

    ImageWindow& image() { return *dynamic_cast<ImageWindow*>(records.windows.videoImage); }

    std::string stored(const char* key)
    {
        return nestwell->getProfileString("Video", key).value_or("(none)");
    }

    // A press, moves by the given steps and a release of the left button, the pointer's screen
    // positions fixed at the press (the target may move under it).
    void drag(QWidget& target, QPoint local, const std::vector<QPoint>& steps)
    {
        const QPoint origin = target.mapToGlobal(local);
        sendMouse(target, QEvent::MouseButtonPress, local, origin, Qt::LeftButton, Qt::LeftButton);
        QPoint at = origin;
        for (const QPoint step : steps) {
            at = origin + step;
            sendMouse(target, QEvent::MouseMove, target.mapFromGlobal(at), at, Qt::NoButton, Qt::LeftButton);
        }
        sendMouse(target, QEvent::MouseButtonRelease, target.mapFromGlobal(at), at, Qt::LeftButton, Qt::NoButton);
        settle();
    }

    void sendMouse(QWidget& target, QEvent::Type type, QPoint local, QPoint global, Qt::MouseButton button,
                   Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(local), QPointF(global), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&target, &event);
    }

    void rightRelease()
    {
        const QPoint at(20, 20);
        sendMouse(image(), QEvent::MouseButtonRelease, at, image().mapToGlobal(at), Qt::RightButton, Qt::NoButton);
    }

    TempDir dir;
    Journal journal;
    VideoHooks hooks;  // what create() plugs in
    NestwellFile* nestwell = nullptr;
    Reelkit* reelkit = nullptr;
    Hublet* hublet = nullptr;
    Reports reports;
};

TEST_F(VideoWindow, FirstStartIsAThirdOfTheScreenCentredWithTheImageInset)
{
    configure();
    VideoFrame& frame = create();
    const QRect screen = screenRect();
    const int w = screen.width() / 3, h = screen.height() / 3;
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(frame.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(frame.geometry(), QRect(screen.x() + (screen.width() - w) / 2, screen.y() + (screen.height() - h) / 2, w, h));
    // The sizing limits reach the window manager as hints, not the widget as its own limits.
    EXPECT_EQ(frame.windowHandle()->minimumSize(), QSize(8 + 4 + 8, 8 + 4 + 8));
    EXPECT_EQ(frame.windowHandle()->maximumSize(), screen.size());
    EXPECT_TRUE(DrawsPicture(frame.windowIcon(), ":/icons/video.png"));
    EXPECT_EQ(image().parentWidget(), &frame);
    EXPECT_EQ(image().geometry(), QRect(8, 8, w - 16, h - 16));
    EXPECT_EQ(frame.windowTitle(), "Video Window");
    EXPECT_EQ(records.windows.videoImage, static_cast<Window*>(&image()));
}

TEST_F(VideoWindow, TitleFromTheSkinAndBackToItWhenEmpty)
{
    configure("AP Name=Cinema\n");
    VideoFrame& frame = create();
    EXPECT_EQ(frame.windowTitle(), "Cinema");
    frame.setTitle("clip.mpg");
    EXPECT_EQ(frame.windowTitle(), "clip.mpg");
    frame.setTitle("");
    EXPECT_EQ(frame.windowTitle(), "Cinema");
}

TEST_F(VideoWindow, RefusedWhenABorderPictureIsMissingOrDoesNotLoad)
{
    const char* const dropped[] = {"LT-Border Bitmap", "B-Border Bitmap", "RB-Border Bitmap"};
    for (const char* key : dropped) {
        configure("", key);
        std::string why;
        EXPECT_FALSE(VideoWnd_Create(video, VideoLinksOf(records, records.windows.main), {}, why)) << key;
        EXPECT_NE(why.find(key), std::string::npos) << why;
        EXPECT_EQ(records.windows.videoFrame, nullptr);
        EXPECT_EQ(records.windows.videoImage, nullptr);
    }
    configure();
    dir.write("skin/frame/r.bmp", "BM not a picture");
    std::string why;
    EXPECT_FALSE(VideoWnd_Create(video, VideoLinksOf(records, records.windows.main), {}, why));
    EXPECT_NE(why.find("R-Border Bitmap"), std::string::npos) << why;
    // A refused creation stores nothing: the user's last placement stays.
    EXPECT_EQ(stored("Position"), "(none)");
}

TEST_F(VideoWindow, BorderTiledAroundTheIdlePicture)
{
    configure("Image Bitmap=idle.bmp\n");
    VideoFrame& frame = create();
    ASSERT_TRUE(place(frame, QRect(40, 30, 100, 60)));
    const QImage shot = frame.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(100, 60));
    struct Probe {
        int x, y;
        QColor expected;
    };
    const Probe probes[] = {
        {0, 0, kParts[0].colour},   {7, 7, kParts[0].colour},          // LT
        {8, 0, kTileMark},          {9, 3, kParts[1].colour},          // T tiles start after LT,
        {12, 5, kTileMark},         {88, 2, kTileMark},                // every 4 pixels
        {92, 0, kParts[2].colour},  {99, 7, kParts[2].colour},         // RT
        {0, 8, kParts[3].colour},   {7, 51, kParts[3].colour},         // L
        {92, 8, kParts[4].colour},  {99, 51, kParts[4].colour},        // R
        {0, 52, kParts[5].colour},  {7, 59, kParts[5].colour},         // LB
        {8, 52, kParts[6].colour},  {91, 59, kParts[6].colour},        // B
        {92, 52, kParts[7].colour}, {99, 59, kParts[7].colour},        // RB
        {10, 10, kIdleQuadrants[0]}, {89, 10, kIdleQuadrants[1]},      // the idle picture,
        {10, 49, kIdleQuadrants[2]}, {89, 49, kIdleQuadrants[3]},      // stretched inside
    };
    for (const Probe& p : probes)
        EXPECT_EQ(shot.pixelColor(p.x, p.y), p.expected) << p.x << "," << p.y;
}

// A border picture's twin, in stripes one device pixel wide, gives the border its pixels where
// the screen is dense; sizes and the image's inset stay those of the 1x pictures. A twin of
// the wrong size is ignored. (Run at twice the density by VideoWindowScaled.)
TEST_F(VideoWindow, TwinsGiveTheBorderFinerPixelsOnDenseScreens)
{
    QImage fine(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            fine.setPixelColor(x, y, x % 2 ? QColor(10, 20, 30) : QColor(250, 240, 230));
    save(fine, "frame/LT@2x.bmp");
    QImage wrong(9, 9, QImage::Format_RGB32);
    wrong.fill(Qt::black);
    save(wrong, "frame/rt@2x.bmp");
    configure();
    VideoFrame& frame = create();
    ASSERT_TRUE(place(frame, QRect(40, 30, 100, 60)));
    EXPECT_EQ(frame.windowHandle()->minimumSize(), QSize(8 + 4 + 8, 8 + 4 + 8));
    EXPECT_EQ(image().geometry(), QRect(8, 8, 100 - 16, 60 - 16));
    const QImage shot = frame.grab().toImage();
    if (frame.devicePixelRatioF() < 1.5) {
        EXPECT_EQ(shot.pixelColor(1, 1), kParts[0].colour);
        return;
    }
    ASSERT_EQ(shot.size(), QSize(200, 120));
    for (const QPoint p : {QPoint(0, 0), QPoint(1, 0), QPoint(14, 15), QPoint(15, 15)})
        EXPECT_EQ(shot.pixelColor(p), fine.pixelColor(p)) << p.x() << "," << p.y();
    EXPECT_EQ(shot.pixelColor(185, 1), kParts[2].colour);   // RT, its twin refused
    EXPECT_EQ(shot.pixelColor(21, 5), kParts[1].colour);    // T, without a twin
}

struct BackgroundCase {
    const char* line;
    QColor expected;
};

TEST_F(VideoWindow, WithoutAnIdlePictureTheBackgroundColourFillsTheImage)
{
    const BackgroundCase cases[] = {
        {"", QColor(0, 0, 128)},                                  // missing key: blue 128
        {"Image Background Color=FF\n", QColor(255, 0, 0)},
        {"Image Background Color=0000FF\n", QColor(255, 0, 0)},
        {"Image Background Color=0x00FF00\n", QColor(0, 255, 0)},
        {"Image Background Color=xyz\n", QColor(0, 0, 0)},
        {"Image Background Color=204060\nImage Bitmap=missing.bmp\n", QColor(0x60, 0x40, 0x20)},
    };
    for (const BackgroundCase& c : cases) {
        configure(c.line);
        create();
        const QImage shot = image().grab().toImage();
        ASSERT_FALSE(shot.isNull());
        for (const QPoint p : {QPoint(0, 0), QPoint(shot.width() / 2, shot.height() / 2),
                               QPoint(shot.width() - 1, shot.height() - 1)})
            EXPECT_EQ(shot.pixelColor(p), c.expected) << c.line << " at " << p.x() << "," << p.y();
        VideoWnd_Destroy(video);
    }
}

TEST_F(VideoWindow, PlacementStoredAtDestructionAndBroughtBackAtTheNextStart)
{
    configure();
    VideoFrame& frame = create();
    ASSERT_TRUE(place(frame, QRect(60, 70, 320, 200)));
    VideoWnd_Destroy(video);
    EXPECT_EQ(records.windows.videoFrame, nullptr);
    EXPECT_EQ(stored("Position"), "60,70");
    EXPECT_EQ(stored("Size"), "320,200");

    VideoFrame& again = create();
    EXPECT_EQ(again.geometry(), QRect(60, 70, 320, 200));
    EXPECT_EQ(image().geometry(), QRect(8, 8, 304, 184));
}

TEST_F(VideoWindow, StoredCornerOffTheScreenIsPulledBackAndAStoredSizeIsKeptWhateverTheScreen)
{
    const QRect screen = screenRect();
    struct Case {
        std::string position;
        std::string size;
        QRect expected;
    };
    const Case cases[] = {
        {"-20,10", "300,200", QRect(screen.x(), 10, 300, 200)},
        {"0,0", std::to_string(screen.width() + 300) + "," + std::to_string(screen.height() + 200),
         QRect(0, 0, screen.width() + 300, screen.height() + 200)},
        {"30,40", "12,9", QRect(30, 40, 12, 9)},  // below the border's corners
    };
    configure();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position + " " + c.size);
        nestwell->setProfileString("Video", "Position", c.position);
        nestwell->setProfileString("Video", "Size", c.size);
        VideoFrame& frame = create();
        EXPECT_EQ(frame.geometry(), c.expected);
        VideoWnd_Destroy(video);
        EXPECT_EQ(stored("Size"), c.size);
    }
}

TEST_F(VideoWindow, MaximisedCoversTheScreenAndRestoresThePlacement)
{
    configure();
    VideoFrame& frame = create();
    const QRect normal(50, 40, 400, 300);
    ASSERT_TRUE(place(frame, normal));

    frame.post({msg::SysCommand, sys_command::Maximize, 0});
    EXPECT_TRUE(placedAt(frame, screenRect()));
    ASSERT_TRUE(frame.maximised());
    EXPECT_EQ(image().geometry(), QRect(QPoint(0, 0), screenRect().size()));

    // The Video Size command acts as a double click on the picture.
    image().toggleVideoSize();
    EXPECT_TRUE(placedAt(frame, normal));
    EXPECT_FALSE(frame.maximised());
    EXPECT_EQ(image().geometry(), QRect(8, 8, 384, 284));

    // A real double click on the picture does the same.
    QTest::mouseDClick(&image(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_TRUE(placedAt(frame, screenRect()));
    EXPECT_TRUE(frame.maximised());
    image().toggleVideoSize();
    EXPECT_TRUE(placedAt(frame, normal));
}

TEST_F(VideoWindow, ClosingWhileMaximisedStoresTheLastRestoredPlacement)
{
    configure();
    VideoFrame& frame = create();
    ASSERT_TRUE(place(frame, QRect(30, 20, 360, 240)));
    frame.post({msg::SysCommand, sys_command::Maximize, 0});
    EXPECT_TRUE(placedAt(frame, screenRect()));
    ASSERT_TRUE(frame.maximised());
    VideoWnd_Destroy(video);
    EXPECT_EQ(stored("Position"), "30,20");
    EXPECT_EQ(stored("Size"), "360,240");
}

TEST_F(VideoWindow, TopmostToggledInPlace)
{
    configure();
    VideoFrame& frame = create();
    const WId id = frame.winId();
    const QRect placed = frame.geometry();
    frame.setTopmost(true);
    settle();
    EXPECT_TRUE(frame.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(frame.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(frame.winId(), id);
    EXPECT_TRUE(frame.isVisible());
    EXPECT_EQ(frame.geometry(), placed);
    frame.setTopmost(false);
    settle();
    EXPECT_FALSE(frame.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(frame.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(frame.winId(), id);
    EXPECT_TRUE(frame.isVisible());
}

TEST_F(VideoWindow, ClosingTheFrameAsksTheMainWindowToClose)
{
    configure();
    ManualClock clock;
    ManualTimers timers(clock);
    std::vector<Message> posted;
    FunctionHost host;
    host.onPost = [&](const Message& message) { posted.push_back(message); };
    NoParts parts;
    MainWindow main(MainWindowLinksOf(records), timers, host, parts);
    records.windows.main = &main;

    VideoFrame& frame = create();
    EXPECT_FALSE(frame.close());
    settle();
    EXPECT_TRUE(frame.isVisible());
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0], (Message{msg::Close, 0, 0}));

    // The system menu's Close the same way; other commands are the frame's own.
    frame.post({msg::SysCommand, sys_command::Close, 0});
    frame.post({msg::SysCommand, sys_command::Minimize, 0});
    settle();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[1], (Message{msg::Close, 0, 0}));
    EXPECT_TRUE(frame.minimised());
    records.windows.main = nullptr;
}

// A menu whose one area is the picture's left half.
class LeftHalfArea : public PictureAreas {
public:
    bool hasAreaAt(double x, double) const override { return x < 0.5; }
    void clickAt(double x, double y) override { clicks.emplace_back(x, y); }
    std::vector<std::pair<double, double>> clicks;
};

TEST_F(VideoWindow, DraggingThePictureMovesTheFrameUnlessMaximisedAndAClickChoosesAnArea)
{
    configure();
    LeftHalfArea areas;
    hooks.areas = &areas;
    VideoFrame& frame = create();
    ASSERT_TRUE(place(frame, QRect(100, 100, 300, 200)));
    // No window manager runs the move here: the frame follows the pointer itself.
    const QRect moved(140, 140, 300, 200);
    drag(image(), QPoint(50, 50), {QPoint(30, 20), QPoint(40, 40)});
    EXPECT_TRUE(placedAt(frame, moved));
    EXPECT_EQ(stored("Position"), "(none)");  // stored only at destruction

    EXPECT_TRUE(areas.clicks.empty()) << "a move is no click";

    // A press that does not move far enough is no move, so a double click stays one; on a
    // menu's area it is a click there, and the pointer is the hand over the area.
    drag(image(), QPoint(50, 50), {QPoint(1, 1)});
    EXPECT_TRUE(placedAt(frame, moved));
    ASSERT_EQ(areas.clicks.size(), 1u);
    EXPECT_NEAR(areas.clicks[0].first, 51.0 / image().width(), 1e-9);
    EXPECT_NEAR(areas.clicks[0].second, 51.0 / image().height(), 1e-9);
    EXPECT_EQ(image().cursor().shape(), Qt::PointingHandCursor);
    const QPoint right(image().width() - 5, 20);
    sendMouse(image(), QEvent::MouseMove, right, image().mapToGlobal(right), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(image().cursor().shape(), Qt::ArrowCursor);
    drag(image(), right, {QPoint(1, 1)});
    EXPECT_EQ(areas.clicks.size(), 1u) << "no area there";

    frame.post({msg::SysCommand, sys_command::Maximize, 0});
    ASSERT_TRUE(placedAt(frame, screenRect()));
    drag(image(), QPoint(50, 50), {QPoint(100, 100)});
    EXPECT_TRUE(placedAt(frame, screenRect()));
}

struct SizingCase {
    QPoint press;
    QPoint moveBy;
    QRect expected;
};

TEST_F(VideoWindow, DraggingABorderPartSizesTheFrameFromThatSide)
{
    configure();
    VideoFrame& frame = create();
    const QRect start(100, 100, 300, 200);
    const SizingCase cases[] = {
        {QPoint(299, 199), QPoint(30, 20), QRect(100, 100, 330, 220)},   // RB
        {QPoint(150, 2), QPoint(7, -30), QRect(100, 70, 300, 230)},      // T: the top only
        {QPoint(2, 2), QPoint(10, 10), QRect(110, 110, 290, 190)},       // LT
        {QPoint(298, 150), QPoint(-20, 9), QRect(100, 100, 280, 200)},   // R
        {QPoint(1, 100), QPoint(400, 0), QRect(380, 100, 20, 200)},      // L: held at the minimum
        {QPoint(150, 198), QPoint(0, 5000), QRect(100, 100, 300, screenRect().height())},  // B: the screen
    };
    for (const SizingCase& c : cases) {
        ASSERT_TRUE(place(frame, start));
        ASSERT_EQ(frame.childAt(c.press), nullptr) << "on the border";
        drag(frame, c.press, {c.moveBy});
        EXPECT_TRUE(placedAt(frame, c.expected)) << "pressed at " << c.press.x() << "," << c.press.y();
    }
    // The frame's cursor follows the part under the pointer.
    ASSERT_TRUE(place(frame, start));
    const QPoint corner(1, 1);
    sendMouse(frame, QEvent::MouseMove, corner, frame.mapToGlobal(corner), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(frame.cursor().shape(), Qt::SizeFDiagCursor);
    const QPoint top(150, 1);
    sendMouse(frame, QEvent::MouseMove, top, frame.mapToGlobal(top), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(frame.cursor().shape(), Qt::SizeVerCursor);
}

TEST_F(VideoWindow, RightButtonReleaseBringsThePanelForward)
{
    configure();
    Panel panel;
    records.windows.panel = &panel;
    VideoFrame& frame = create();

    rightRelease();
    records.state.videoTopmost = 1;
    rightRelease();
    EXPECT_EQ(panel.topmost, (std::vector<bool>{false, true}));
    EXPECT_EQ(hublet->foreground, (std::vector<Window*>{&panel, &panel}));

    // Nothing while the frame is minimised.
    frame.showMinimized();
    settle();
    ASSERT_TRUE(frame.minimised());
    rightRelease();
    EXPECT_EQ(hublet->foreground.size(), 2u);
    records.windows.panel = nullptr;
}

TEST_F(VideoWindow, WithThePictureShownResizingRefitsItAndFullScreenEdgesAreBlack)
{
    configure("Image Bitmap=idle.bmp\n");
    VideoFrame& frame = create();
    auto* picture = new QWidget(&image());
    picture->setObjectName(kReelkitPictureName);
    picture->setAutoFillBackground(true);
    QPalette palette = picture->palette();
    palette.setColor(QPalette::Window, Qt::white);
    picture->setPalette(palette);
    picture->show();
    settle();
    ASSERT_TRUE(image().videoShown());

    const int before = reelkit->resets;
    ASSERT_TRUE(place(frame, QRect(20, 20, 300, 200)));
    EXPECT_GT(reelkit->resets, before);

    frame.post({msg::SysCommand, sys_command::Maximize, 0});
    ASSERT_TRUE(placedAt(frame, screenRect()));
    ASSERT_TRUE(frame.maximised());
    ASSERT_EQ(image().geometry(), QRect(QPoint(0, 0), screenRect().size()));
    picture->setGeometry(image().rect());  // as the engine fits it
    settle();
    const QImage shot = image().grab().toImage();
    const int w = shot.width(), h = shot.height();
    EXPECT_EQ(shot.pixelColor(w / 2, h / 2), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(w / 2, h - 1), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(w - 1, h / 2), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(w - 2, h - 2), QColor(Qt::white));

    // Picture gone: the idle picture again.
    delete picture;
    settle();
    EXPECT_FALSE(image().videoShown());
    EXPECT_EQ(image().grab().toImage().pixelColor(2, 2), kIdleQuadrants[0]);
}

TEST_F(VideoWindow, KeysOfBothWindowsGoToTheKeyboardHookAndAltF4ClosesThePlayer)
{
    configure();
    ManualClock clock;
    ManualTimers timers(clock);
    std::vector<Message> posted;
    FunctionHost host;
    host.onPost = [&](const Message& message) { posted.push_back(message); };
    NoParts parts;
    MainWindow main(MainWindowLinksOf(records), timers, host, parts);
    records.windows.main = &main;
    VideoFrame& frame = create();

    struct Seen {
        Window* target;
        int key;
        bool press;
    };
    // Takes the multimedia Play key as a multimedia key, and every other key.
    class RecordingKeys : public VideoKeys {
    public:
        explicit RecordingKeys(Window& frame) : frame_(frame) {}
        bool key(Window& target, QKeyEvent& event) override
        {
            seen.push_back({&target, event.key(), event.type() == QEvent::KeyPress});
            return true;
        }
        bool appCommand(Window& to, QKeyEvent& event) override
        {
            EXPECT_EQ(&to, &frame_);  // multimedia keys always reach the frame
            return event.key() == Qt::Key_MediaPlay;
        }
        std::vector<Seen> seen;

    private:
        Window& frame_;
    };
    RecordingKeys keys(frame);
    std::vector<Seen>& seen = keys.seen;
    frame.hooks().keys = &keys;
    const auto send = [](QWidget& to, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = {}) {
        QKeyEvent event(type, key, modifiers);
        QCoreApplication::sendEvent(&to, &event);
    };
    send(image(), QEvent::KeyPress, Qt::Key_Space);
    send(image(), QEvent::KeyRelease, Qt::Key_Space);
    send(frame, QEvent::KeyPress, Qt::Key_5);
    send(image(), QEvent::KeyPress, Qt::Key_MediaPlay);  // taken by the multimedia hook
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].target, static_cast<Window*>(&image()));
    EXPECT_TRUE(seen[0].press);
    EXPECT_EQ(seen[1].key, int(Qt::Key_Space));
    EXPECT_FALSE(seen[1].press);
    EXPECT_EQ(seen[2].target, static_cast<Window*>(&frame));
    EXPECT_EQ(seen[2].key, int(Qt::Key_5));

    EXPECT_TRUE(posted.empty());
    send(frame, QEvent::KeyPress, Qt::Key_F4, Qt::AltModifier);
    EXPECT_EQ(posted, (std::vector<Message>{{msg::Close, 0, 0}}));
    EXPECT_EQ(seen.size(), 3u);
    records.windows.main = nullptr;
}

// Files dropped on the border or on the engine's picture play as the command line's do, through
// the main window; a web address dropped there changes nothing.
TEST_F(VideoWindow, FilesDroppedOnTheBorderOrThePicturePlayAndWebAddressesAreRefused)
{
    // The main window's start reads the configuration beside the player: here, the test's.
    configure("[Initiation]\nRC Path=skin\n");
    records.windows.instance = dir.file("quintara");
    ManualClock clock;
    ManualTimers timers(clock);
    FunctionHost host;
    host.onPost = [](const Message&) {};
    host.onPostQuit = [](int) {};
    ListParts parts{records};
    MainWindow main(MainWindowLinksOf(records), timers, host, parts);
    ASSERT_EQ(main.create(), 0);
    hooks.drops = &main;
    VideoFrame& frame = create();
    auto* picture = new QWidget(&image());  // the engine's, which takes no drop of its own
    picture->setObjectName(kReelkitPictureName);
    picture->setGeometry(image().rect());
    picture->show();
    settle();
    const auto listed = [this] {
        std::vector<std::string> paths;
        for (const PlayListEntry& entry : records.playList.list()->entries)
            paths.push_back(entry.path);
        return paths;
    };

    const std::string clip = dir.write("clip.mpg", "c");
    const std::string other = dir.write("other.avi", "o");
    const QPoint border(2, 2);
    const QPoint onPicture = image().geometry().center();
    ASSERT_EQ(frame.childAt(onPicture), picture);
    const auto web = UriList({"http://example.org/clip.mpg"});
    for (const QPoint at : {border, onPicture}) {
        const DropAnswers answers = DragAndDrop(frame, at, *web);
        EXPECT_FALSE(answers.entered);
        EXPECT_FALSE(answers.dropped);
    }
    settle();
    EXPECT_TRUE(listed().empty());

    const struct {
        QPoint at;
        std::vector<std::string> files;
    } drops[] = {{border, {clip}}, {onPicture, {other, clip}}};
    for (const auto& drop : drops) {
        const DropAnswers answers = DragAndDrop(frame, drop.at, *UriList(drop.files));
        EXPECT_TRUE(answers.entered);
        EXPECT_TRUE(answers.dropped);
        EXPECT_EQ(answers.action, Qt::CopyAction);
        settle();
        EXPECT_EQ(listed(), drop.files);
        EXPECT_EQ(journal.back(), "Reelkit_Open(" + drop.files.front() + ")");
    }
    main.destroy();
}

TEST_F(VideoWindow, TheDefaultSkinLoadsFromTheShippedConfiguration)
{
    // As if the executable lay in resources/: the configuration beside it, the skin in "RC Path".
    records.windows.instance = std::string(QUINTARA_SOURCE_DIR) + "/resources/quintara";
    LoadSettings(records.settings, records.windows.instance);
    ASSERT_EQ(records.settings.rcDir, std::string(QUINTARA_SOURCE_DIR) + "/resources/skin/");
    VideoFrame& frame = create();
    EXPECT_EQ(frame.windowTitle(), QString::fromStdString(IniFile::load(records.settings.cfgPath).text("Video", "AP Name", 256)));
    EXPECT_EQ(frame.windowHandle()->minimumSize(), QSize(24 + 48 + 24, 24 + 48 + 24));  // corners 24, tiles 48 long
    ASSERT_TRUE(place(frame, QRect(10, 10, 480, 360)));
    // The idle picture, not one flat colour.
    const QImage shot = image().grab().toImage();
    const QColor centre = shot.pixelColor(shot.width() / 2, shot.height() / 2);
    const QColor corner = shot.pixelColor(2, 2);
    EXPECT_NE(centre, corner);
    const QImage border = frame.grab().toImage();
    EXPECT_NE(border.pixelColor(frame.width() / 2, 2), border.pixelColor(frame.width() / 2, frame.height() / 2));
}

}  // namespace
