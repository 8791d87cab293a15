#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <functional>
#include "components/maskcut/maskcut_regions.h"
#include "panel/skin/panel_button_names.h"
#include "panel/skin/panel_skin_loader.h"
#include "panel/skin/skin_values.h"
#include "tests/test_panel_skin_files.h"

namespace {

TEST(PanelButtonNames, NamesBindTheirCommandsWithoutRegardToCase)
{
    const std::vector<std::pair<std::string, int32_t>> rows = {
        {"Panel Minimize", 1}, {"help", 2},          {"POWER", 3},        {"play", 10},
        {"Play/Pause", 12},    {"stop/eject", 15},   {"Slow Forward", 23}, {"Mute", 30},
        {"Volume Up", 31},     {"Volume Down", 32},  {"Audio Properties", 36},
        {"Repeat", 40},        {"Disc", 42},         {"menu return", 43}, {"Video Size", 51},  {"NumPad 0", 100},
        {"numpad 7", 107},     {"NumPad 9", 109},    {"NumPad 10", 110},  {"Return", 120},
    };
    for (const auto& [name, command] : rows) {
        CommandId found{};
        EXPECT_TRUE(PanelSkin_FindCommand(name, found)) << name;
        EXPECT_EQ(CommandNumber(found), command) << name;
    }
    EXPECT_EQ(PanelButtonNames().size(), 42u);
}

TEST(PanelButtonNames, OnlyTheWholeNameCounts)
{
    for (const std::string name : {"Play ", " Play", "Pla", "NumPad 11", "NumPad", "Minimize", "", "Volume"}) {
        CommandId found = CommandId::Repeat;
        EXPECT_FALSE(PanelSkin_FindCommand(name, found)) << name;
        EXPECT_EQ(found, CommandId::Repeat) << "left unchanged for " << name;
    }
}

TEST(SkinPair, CommasSplitAndEmptyPiecesAreSkipped)
{
    struct Row {
        std::string text;
        int first, second;
    };
    const std::vector<Row> rows = {
        {"12,40", 12, 40},
        {",12,,40", 12, 40},
        {"15", 15, -1},
        {",,15,,7", 15, 7},
        {"abc,7", 0, 7},
        {"  -3, +4", -3, 4},
        {"1,2,3", 1, 2},
        {"7x,8y", 7, 8},
        {"", -1, -1},
        {",,,", -1, -1},
        {" ,5", 0, 5},
        {"--4,+-5", 0, 0},
        {"99999999999,-99999999999", INT_MAX, INT_MIN},
    };
    for (const Row& row : rows) {
        int first = -1, second = -1;
        ReadSkinPair(row.text, first, second);
        EXPECT_EQ(std::tie(first, second), std::tie(row.first, row.second)) << '"' << row.text << '"';
    }
}

class PanelSkinTest : public ::testing::Test {
protected:
    PanelSkinTest() : files(std::make_unique<SkinFiles>()) {}

    PanelSkin& skin() { return skin_; }
    bool loadFace(const std::function<void()>& afterFaces = {})
    {
        return PanelSkin_LoadFace(skin_, files->paths(), *maskcut, afterFaces);
    }
    void loadLed() { PanelSkin_LoadLed(skin_, files->paths()); }
    std::vector<PanelButton> loadButtons() { return PanelSkin_LoadButtons(files->paths(), "Panel\\Buttons"); }

    std::unique_ptr<SkinFiles> files;
    PanelSkin skin_;
    std::unique_ptr<MaskcutRegions> maskcut = std::make_unique<NoRegions>();
};

TEST_F(PanelSkinTest, FaceNeedsItsNormalPictureAndTakesItsSize)
{
    files->config("[Panel]\nNormal Bitmap=missing.bmp\nSelected Bitmap=sel.bmp\n");
    files->picture("sel.bmp", 30, 20);
    EXPECT_FALSE(loadFace());
    EXPECT_FALSE(skin().faceNormal);

    files->config("[Panel]\nNormal Bitmap=Face\\Normal.BMP\nSelected Bitmap=sel.bmp\nMouseIn Bitmap=\n");
    files->picture("face/normal.bmp", 30, 20);
    bool placed = false;
    EXPECT_TRUE(loadFace([&] {
                  placed = true;
                  EXPECT_TRUE(skin().faceSelected) << "placed after the faces";
              }));
    EXPECT_TRUE(placed);
    EXPECT_EQ(skin().faceSize, (Size{30, 20}));
    EXPECT_TRUE(skin().faceSelected);
    EXPECT_FALSE(skin().faceMouseIn);
    EXPECT_FALSE(skin().region) << "no region picture";
}

TEST_F(PanelSkinTest, RegionComesFromTheRegionPictureThroughMaskcut)
{
    files->config("[Panel]\nNormal Bitmap=face.bmp\nRegion Bitmap=shape.bmp\n");
    files->picture("face.bmp", 8, 4);
    QImage shape(8, 4, QImage::Format_RGB32);
    shape.fill(Qt::white);
    for (int x = 2; x < 6; ++x)
        shape.setPixel(x, 1, qRgb(0, 0, 0));
    shape.setPixel(3, 2, qRgb(250, 255, 255));  // near white is inside
    ASSERT_TRUE(shape.save(QString::fromStdString(files->dir().file("skin/shape.bmp")), "BMP"));

    EXPECT_TRUE(loadFace());
    EXPECT_FALSE(skin().region) << "no region maker installed: no outline";

    maskcut = std::make_unique<MaskcutBitmapRegions>();
    EXPECT_TRUE(loadFace());
    ASSERT_TRUE(skin().region);
    EXPECT_EQ(skin().region->rects, (std::vector<Rect>{{2, 1, 6, 2}, {3, 2, 4, 3}}));
}

TEST_F(PanelSkinTest, LedElementsTakeThePictureSizeOrElseTheirSizeKey)
{
    files->config("[Panel\\LED\\Mute]\nBitmap=mute.bmp\nPosition=,,15,,7\nSize=99,99\n"
                  "[Panel\\LED\\Volume]\nSize=100,9\nPosition=15\n"
                  "[Panel\\LED\\Repeat]\nBitmap None=none.bmp\nPosition None=abc,7\nBitmap All=gone.bmp\nSize All=4,5\n"
                  "Position Track=1,2\n"
                  "[Panel\\LED\\Sound Quality]\nSize 2=8,8\nPosition 2=30,4\n"
                  "[Panel\\LED\\Audio Channel]\nBitmap 3=ac3.bmp\n"
                  "[Panel\\LED\\Sound Channel]\nSize 1=5,6\nSize=7,7\n");
    files->picture("mute.bmp", 12, 6);
    files->picture("none.bmp", 3, 2);
    files->picture("ac3.bmp", 9, 4);
    loadLed();

    EXPECT_TRUE(skin().mute.bitmap);
    EXPECT_EQ(skin().mute.size, (Size{12, 6})) << "the picture's size, not the key";
    EXPECT_EQ(skin().mute.position, (Point{15, 7}));
    EXPECT_FALSE(skin().volume.bitmap);
    EXPECT_EQ(skin().volume.size, (Size{100, 9}));
    EXPECT_EQ(skin().volume.position, (Point{15, 0}));
    EXPECT_EQ(skin().repeat[0].size, (Size{3, 2}));
    EXPECT_EQ(skin().repeat[0].position, (Point{0, 7}));
    EXPECT_FALSE(skin().repeat[1].bitmap);
    EXPECT_EQ(skin().repeat[1].size, (Size{4, 5})) << "a picture that does not load reads the size";
    EXPECT_FALSE(skin().repeat[2].present());
    EXPECT_EQ(skin().repeat[2].position, (Point{1, 2}));
    EXPECT_FALSE(skin().soundQuality[1].bitmap);
    EXPECT_EQ(skin().soundQuality[1].size, (Size{8, 8}));
    EXPECT_EQ(skin().soundQuality[1].position, (Point{30, 4}));
    EXPECT_FALSE(skin().soundQuality[0].present());
    EXPECT_EQ(skin().audioChannel[2].size, (Size{9, 4}));
    EXPECT_EQ(skin().soundChannel[0].size, (Size{5, 6})) << "the suffixed key only";
    EXPECT_FALSE(skin().soundChannel[1].present());
    EXPECT_FALSE(skin().play.present());
}

TEST_F(PanelSkinTest, ReadingOneElementLeavesOutWhatIsNotAskedFor)
{
    files->config("[Panel\\LED\\Stop]\nBitmap X=stop.bmp\nPosition X=4,5\nSize X=6,7\n");
    files->picture("stop.bmp", 2, 3);
    Point position{9, 9};
    Size size{9, 9};
    PanelSkin_ReadLedElement(files->paths(), "Stop", "X", nullptr, &position, &size);
    EXPECT_EQ(position, (Point{4, 5}));
    EXPECT_EQ(size, (Size{6, 7})) << "no picture asked for: the size key counts";
    std::optional<QImage> picture;
    PanelSkin_ReadLedElement(files->paths(), "Stop", "X", &picture, nullptr, &size);
    ASSERT_TRUE(picture);
    EXPECT_EQ(size, (Size{2, 3}));
    PanelSkin_ReadLedElement(files->paths(), "Stop", "", &picture, &position, &size);
    EXPECT_FALSE(picture);
    EXPECT_EQ(position, (Point{0, 0}));
    EXPECT_EQ(size, (Size{0, 0}));
}

TEST_F(PanelSkinTest, DigitStripsCutTenCellsAndReadSlotsOnlyWithTheirPicture)
{
    files->config("[Panel\\LED\\Track Numbers]\nBitmap=track.bmp\nSize=1,1\nPosition Uint=20,3\nPosition Decimal=10,3\n"
                  "[Panel\\LED\\Time Numbers]\nSize=100,10\nPosition Sec-Uint=5,5\n"
                  "[Panel\\LED\\Track Time Numbers]\nBitmap=narrow.bmp\nPosition Sec-Uint=1,1\nPosition Hour-Uint=9,8\n"
                  "Position Min-Decimal=,3\n");
    files->picture("track.bmp", 105, 14);
    files->picture("narrow.bmp", 9, 14);
    loadLed();

    ASSERT_TRUE(skin().trackNumbers.strip);
    EXPECT_EQ(skin().trackNumbers.cell, (Size{10, 14}));
    EXPECT_EQ(skin().trackNumbers.digitPositions, (std::array<Point, 2>{Point{20, 3}, Point{10, 3}}));

    EXPECT_FALSE(skin().timeNumbers.strip);
    EXPECT_EQ(skin().timeNumbers.cell, (Size{0, 0}));
    EXPECT_EQ(skin().timeNumbers.digitPositions[0], (Point{0, 0})) << "slots of an absent strip are not read";

    ASSERT_TRUE(skin().trackTimeNumbers.strip);
    EXPECT_EQ(skin().trackTimeNumbers.cell, (Size{0, 14})) << "narrower than ten pixels: no cell width";
    EXPECT_EQ(skin().trackTimeNumbers.digitPositions,
              (std::array<Point, 5>{Point{1, 1}, Point{}, Point{}, Point{3, 0}, Point{9, 8}}));
}

std::vector<int32_t> commands(const std::vector<PanelButton>& buttons)
{
    std::vector<int32_t> out;
    for (const PanelButton& button : buttons)
        out.push_back(CommandNumber(button.command));
    return out;
}

TEST_F(PanelSkinTest, ButtonNamesBindCommandsAndNameTheirSectionsWithoutRegardToCase)
{
    files->config("[Panel\\Buttons]\nButton 1=play\n[PLAY]\nSize=20,10\nPosition=5,6\nCheck Button=1\n");
    const std::vector<PanelButton> buttons = loadButtons();
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].command, CommandId::Play);
    EXPECT_EQ(buttons[0].rect, (Rect{5, 6, 25, 16}));
    EXPECT_EQ(buttons[0].checkable, 1u);
    EXPECT_EQ(buttons[0].checked, 0u);
    EXPECT_EQ(buttons[0].state, ButtonState::Normal);
    EXPECT_EQ(buttons[0].tip, "Play") << "the command's tooltip text";
    for (const auto& picture : buttons[0].bitmaps)
        EXPECT_FALSE(picture);
}

TEST_F(PanelSkinTest, TheListEndsAtTheFirstMissingOrEmptyKeyAndSkipsUnknownNames)
{
    const std::string sections = "[Play]\nSize=1,1\n[Stop]\nSize=1,1\n[Mute]\nSize=1,1\n";
    struct Row {
        std::string list;
        std::vector<int32_t> commands;
    };
    const std::vector<Row> rows = {
        {"Button 1=Play\nButton 3=Stop\n", {10}},
        {"Button 1=Play\nButton 2=Rewind\nButton 3=Stop\n", {10, 13}},
        {"Button 1=Play\nButton 2=\nButton 3=Stop\n", {10}},
        {"Button 1=Stop\nButton 2=stop\nButton 3=Play\nButton 4=STOP\n", {13, 13, 10, 13}},
        {"Button 01=Play\nButton 1=Mute\n", {30}},
        {"Button 2=Play\n", {}},
        {"Button 1=Rewind\nButton 2=Eject\n", {}},
        {"", {}},
    };
    for (const Row& row : rows) {
        files->config("[Panel\\Buttons]\n" + row.list + sections);
        EXPECT_EQ(commands(loadButtons()), row.commands) << row.list;
    }
}

TEST_F(PanelSkinTest, ManyButtonsHaveNoLimit)
{
    std::string config = "[Panel\\Buttons]\n";
    for (int n = 1; n <= 300; ++n)
        config += "Button " + std::to_string(n) + "=NumPad " + std::to_string(n % 10) + "\n";
    for (int d = 0; d < 10; ++d)
        config += "[NumPad " + std::to_string(d) + "]\nSize=4,4\n";
    files->config(config);
    const std::vector<PanelButton> buttons = loadButtons();
    ASSERT_EQ(buttons.size(), 300u);
    EXPECT_EQ(buttons[299].command, CommandId::Digit0);
}

// Each row: the button's section, the pictures in the folder, and the size it gets (0 x 0 when
// the button is dropped).
TEST_F(PanelSkinTest, ButtonSizesFollowThePicturesInKeyOrder)
{
    files->picture("20x10.bmp", 20, 10);
    files->picture("22x12.bmp", 22, 12);
    files->picture("30x5.bmp", 30, 5);
    struct Row {
        std::string section;
        Size size;
        std::vector<bool> loaded;
    };
    const std::vector<Row> rows = {
        {"Size=20,10\n", {20, 10}, {0, 0, 0, 0, 0, 0}},
        {"Normal Bitmap=20x10.bmp\nSize=99,99\n", {20, 10}, {1, 0, 0, 0, 0, 0}},
        {"Normal Bitmap=20x10.bmp\nChecked-MouseIn Bitmap=22x12.bmp\n", {22, 12}, {1, 0, 0, 0, 0, 1}},
        {"Normal Bitmap=22x12.bmp\nSelected Bitmap=30x5.bmp\nMouseIn Bitmap=20x10.bmp\n", {20, 10}, {1, 1, 1, 0, 0, 0}},
        {"Selected Bitmap=20x10.bmp\n", {0, 0}, {}},
        {"Normal Bitmap=missing.bmp\nSelected Bitmap=20x10.bmp\nSize=\n", {0, 0}, {}},
        {"Size=5,5\nSelected Bitmap=30x5.bmp\nChecked-Normal Bitmap=gone.bmp\n", {30, 5}, {0, 1, 0, 0, 0, 0}},
        {"Size=abc\nMouseIn Bitmap=22x12.bmp\n", {22, 12}, {0, 0, 1, 0, 0, 0}},
        {"Size=abc\n", {0, 0}, {}},
        {"Size=20\n", {0, 0}, {}},
        {"Size=0,10\n", {0, 0}, {}},
        {"Size=-20,10\n", {0, 0}, {}},
        {"Size=20,-10\n", {0, 0}, {}},
        {"Size=-2147483648,-1\n", {0, 0}, {}},
        {"Size=-5,5\nSelected Bitmap=30x5.bmp\n", {30, 5}, {0, 1, 0, 0, 0, 0}},
        {"", {0, 0}, {}},
    };
    for (const Row& row : rows) {
        files->config("[Panel\\Buttons]\nButton 1=Stop\n[Stop]\nPosition=3,4\n" + row.section);
        const std::vector<PanelButton> buttons = loadButtons();
        if (row.size == Size{}) {
            EXPECT_TRUE(buttons.empty()) << row.section;
            continue;
        }
        ASSERT_EQ(buttons.size(), 1u) << row.section;
        EXPECT_EQ(buttons[0].rect, (Rect{3, 4, 3 + row.size.width, 4 + row.size.height})) << row.section;
        for (size_t state = 0; state < kButtonStateCount; ++state)
            EXPECT_EQ(buttons[0].bitmaps[state].has_value(), bool(row.loaded[state])) << row.section << state;
    }
}

TEST_F(PanelSkinTest, TipsAreWrittenOrTheCommandsText)
{
    files->config("[Panel\\Buttons]\nButton 1=Volume Up\nButton 2=Return\nButton 3=NumPad 10\n"
                  "[Volume Up]\nSize=1,1\nTip=Quieter\n[Return]\nSize=1,1\nTip=\n[NumPad 10]\nSize=1,1\n");
    const std::vector<PanelButton> buttons = loadButtons();
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0].tip, "Quieter");
    EXPECT_EQ(buttons[1].tip, "Return");
    EXPECT_EQ(buttons[2].tip, "+ 10");
}

TEST_F(PanelSkinTest, HugePositionsAndSizesDoNotOverflow)
{
    files->config("[Panel\\Buttons]\nButton 1=Stop\n[Stop]\nSize=99999999999,5\nPosition=2147483600,-99999999999\n");
    const std::vector<PanelButton> buttons = loadButtons();
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(buttons[0].rect, (Rect{2147483600, INT_MIN, INT_MAX, INT_MIN + 5}));
}

TEST_F(PanelSkinTest, DamagedPicturesAreNoPictureAnywhereInTheSkin)
{
    // Headers that claim a picture far larger than the file, a file cut short, and no bitmap.
    std::string claimsHuge(54, '\0');
    claimsHuge[0] = 'B', claimsHuge[1] = 'M', claimsHuge[10] = 54, claimsHuge[14] = 40;
    claimsHuge[18] = claimsHuge[19] = claimsHuge[20] = '\x7f';  // width ~ 8 million
    claimsHuge[22] = claimsHuge[23] = '\x7f';
    claimsHuge[26] = 1, claimsHuge[28] = 24;
    files->raw("huge.bmp", claimsHuge + std::string(64, '\0'));
    files->picture("whole.bmp", 40, 40);
    std::ifstream whole(files->dir().file("skin/whole.bmp"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(whole)), {});
    files->raw("cut.bmp", bytes.substr(0, bytes.size() / 2));
    files->raw("text.bmp", "not a picture at all");
    std::filesystem::create_directories(files->dir().file("skin/folder.bmp"));

    for (const std::string name : {"huge.bmp", "cut.bmp", "text.bmp", "folder.bmp"}) {
        files->config("[Panel]\nNormal Bitmap=" + name +
                      "\n[Panel\\LED\\Track Numbers]\nBitmap=" + name + "\nPosition Uint=1,1\n"
                      "[Panel\\LED\\Mute]\nBitmap=" + name + "\nSize=3,3\n"
                      "[Panel\\Buttons]\nButton 1=Stop\n[Stop]\nNormal Bitmap=" + name + "\nSize=7,8\n");
        EXPECT_FALSE(loadFace()) << name;
        loadLed();
        EXPECT_FALSE(skin().trackNumbers.strip) << name;
        EXPECT_FALSE(skin().mute.bitmap) << name;
        EXPECT_EQ(skin().mute.size, (Size{3, 3})) << name;
        const std::vector<PanelButton> buttons = loadButtons();
        ASSERT_EQ(buttons.size(), 1u) << name;
        EXPECT_EQ(buttons[0].rect, (Rect{0, 0, 7, 8})) << name;
    }
}

}  // namespace
