#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <QColor>
#include <QImage>

#include <gtest/gtest.h>

#include "panel/skin/skin_bitmap.h"
#include "tests/support/temp_dir.h"

namespace {

void put16(std::string& out, size_t at, uint32_t v)
{
    out[at] = char(v & 0xFF);
    out[at + 1] = char(v >> 8 & 0xFF);
}

void put32(std::string& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + size_t(i)] = char(v >> (8 * i) & 0xFF);
}

// The headers of a Windows bitmap with an information header of 40 bytes, written by hand so
// that a test can make them lie.
struct BmpHeader {
    int32_t width = 2;
    int32_t height = 2;
    uint32_t bits = 24;
    uint32_t compression = 0;
    uint32_t planes = 1;
    uint32_t pixelOffset = 54;
};

std::string bmpHeaders(const BmpHeader& h)
{
    std::string out(54, '\0');
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 10, h.pixelOffset);
    put32(out, 14, 40);
    put32(out, 18, uint32_t(h.width));
    put32(out, 22, uint32_t(h.height));
    put16(out, 26, h.planes);
    put16(out, 28, h.bits);
    put32(out, 30, h.compression);
    return out;
}

// A 2 x 2 24-bit picture, stored bottom-up: red, green on top; blue, white below.
std::string twoByTwo()
{
    std::string out = bmpHeaders({});
    const std::string bottom = {'\xFF', '\0', '\0', '\xFF', '\xFF', '\xFF', '\0', '\0'};  // BGR blue, white, pad
    const std::string top = {'\0', '\0', '\xFF', '\0', '\xFF', '\0', '\0', '\0'};         // red, green, pad
    return out + bottom + top;
}

// Four colours, as a palette stores them (blue, green, red, unused).
const QColor kPalette[] = {QColor(10, 20, 30), QColor(255, 0, 0), QColor(0, 255, 0), QColor(0, 0, 255)};

// A run-length picture of 8 or 4 bits a pixel with the palette above and the codes given.
std::string runLength(uint32_t bits, int32_t width, int32_t height, const std::string& codes)
{
    const uint32_t compression = bits == 8 ? 1 : 2;
    std::string out = bmpHeaders({.width = width, .height = height, .bits = bits, .compression = compression,
                                  .pixelOffset = 54 + 4 * 4});
    put32(out, 34, uint32_t(codes.size()));
    put32(out, 46, 4);  // colours used
    for (const QColor& c : kPalette)
        out += {char(c.blue()), char(c.green()), char(c.red()), '\0'};
    return out + codes;
}

class SkinBitmap : public ::testing::Test {
protected:
    std::optional<QImage> load(std::string_view name) const { return Skin_LoadBitmap(rcDir, name); }

    TempDir dir;
    const std::string rcDir = dir.path() + "/";
};

TEST_F(SkinBitmap, LoadsAPictureBelowTheSkinFolderWithItsSizeAndPixels)
{
    dir.write("video/square.bmp", twoByTwo());
    const std::optional<QImage> image = load("video/square.bmp");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), QSize(2, 2));
    EXPECT_EQ(image->pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(image->pixelColor(1, 0), QColor(0, 255, 0));
    EXPECT_EQ(image->pixelColor(0, 1), QColor(0, 0, 255));
    EXPECT_EQ(image->pixelColor(1, 1), QColor(255, 255, 255));
}

TEST_F(SkinBitmap, NamesFromWindowsSkinsFoundWithoutRegardToCaseOrSeparator)
{
    dir.write("Video/Border LT.bmp", twoByTwo());
    for (const char* name : {"video\\border lt.BMP", "VIDEO/BORDER LT.bmp", "Video\\\\Border LT.bmp"}) {
        const std::optional<QImage> image = load(name);
        ASSERT_TRUE(image) << name;
        EXPECT_EQ(image->size(), QSize(2, 2)) << name;
    }
    EXPECT_FALSE(load("video/border_lt.bmp"));
}

TEST_F(SkinBitmap, PicturesWrittenByQtInTheCommonDepthsLoad)
{
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    picture.setPixelColor(4, 2, QColor(200, 100, 50));
    for (QImage::Format format : {QImage::Format_RGB888, QImage::Format_RGB32, QImage::Format_Indexed8}) {
        const std::string path = dir.file("depth.bmp");
        ASSERT_TRUE(picture.convertToFormat(format).save(QString::fromStdString(path), "BMP"));
        const std::optional<QImage> image = load("depth.bmp");
        ASSERT_TRUE(image) << format;
        EXPECT_EQ(image->size(), QSize(5, 3));
        EXPECT_EQ(image->pixelColor(0, 0), QColor(10, 20, 30)) << format;
        EXPECT_EQ(image->pixelColor(4, 2), QColor(200, 100, 50)) << format;
    }
}

// Line ends, skips and the end code leave a picture far larger than its bytes; what the codes
// pass over shows the palette's first colour.
TEST_F(SkinBitmap, RunLengthPicturesDecodeWithEveryEscape)
{
    struct Lit {
        int x, y, index;  // y from the top
    };
    struct Case {
        const char* what;
        uint32_t bits;
        int width, height;
        std::string codes;
        std::vector<Lit> lit;
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {"8 bits: a run, a line end, a literal, a skip, a run, the end", 8, 6, 4,
         "\x03\x01" "\x00\x00" "\x00\x03\x03\x02\x01\x00" "\x00\x02\x01\x01" "\x02\x02" "\x00\x01"s,
         {{0, 3, 1}, {1, 3, 1}, {2, 3, 1}, {0, 2, 3}, {1, 2, 2}, {2, 2, 1}, {4, 1, 2}, {5, 1, 2}}},
        {"4 bits: a run, a line end, a literal, a skip, a run, the end", 4, 6, 4,
         "\x04\x12" "\x00\x00" "\x00\x03\x31\x20" "\x00\x02\x01\x01" "\x02\x33" "\x00\x01"s,
         {{0, 3, 1}, {1, 3, 2}, {2, 3, 1}, {3, 3, 2}, {0, 2, 3}, {1, 2, 1}, {2, 2, 2}, {4, 1, 3}, {5, 1, 3}}},
        {"only the end code", 8, 100, 100, "\x00\x01"s, {}},
        {"a skip across most of a wide picture", 8, 600, 4,
         "\x03\x01" "\x00\x02\xFF\x02" "\x02\x02" "\x00\x01"s,
         {{0, 3, 1}, {1, 3, 1}, {2, 3, 1}, {258, 1, 2}, {259, 1, 2}}},
        {"4 bits: a line end on every row", 4, 300, 3, "\x00\x00\x02\x30\x00\x00\x00\x01"s, {{0, 1, 3}}},
    };
    for (const Case& c : cases) {
        dir.write("runs.bmp", runLength(c.bits, c.width, c.height, c.codes));
        const std::optional<QImage> image = load("runs.bmp");
        ASSERT_TRUE(image) << c.what;
        ASSERT_EQ(image->size(), QSize(c.width, c.height)) << c.what;
        std::vector<int> expected(size_t(c.width) * size_t(c.height), 0);
        for (const Lit& l : c.lit)
            expected[size_t(l.y) * size_t(c.width) + size_t(l.x)] = l.index;
        int wrong = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                if (image->pixelColor(x, y) != kPalette[expected[size_t(y) * size_t(c.width) + size_t(x)]] && wrong++ < 3)
                    ADD_FAILURE() << c.what << ": pixel " << x << "," << y;
        EXPECT_EQ(wrong, 0) << c.what;
    }
}

struct HostileCase {
    const char* what;
    std::string bytes;
};

TEST_F(SkinBitmap, HostileOrDamagedFilesAreNoPicture)
{
    const std::string good = twoByTwo();
    const auto headerWith = [](BmpHeader h, size_t pixelBytes) { return bmpHeaders(h) + std::string(pixelBytes, '\x55'); };
    const HostileCase cases[] = {
        {"empty file", ""},
        {"only the signature", "BM"},
        {"not a bitmap", "\x89PNG\r\n\x1a\n" + std::string(64, '\0')},
        {"pixels cut short", good.substr(0, good.size() - 3)},
        {"headers cut short", good.substr(0, 30)},
        {"huge width", headerWith({.width = 1 << 30, .height = 1}, 64)},
        {"huge sides within the file", headerWith({.width = 60000, .height = 60000}, 64)},
        {"area over the bound", headerWith({.width = 16000, .height = 16000}, 64)},
        {"zero width", headerWith({.width = 0}, 16)},
        {"negative width", headerWith({.width = -2}, 16)},
        {"most negative height", headerWith({.height = std::numeric_limits<int32_t>::min()}, 16)},
        {"pixels past the end", headerWith({.pixelOffset = 4000}, 16)},
        {"pixels inside the header", headerWith({.pixelOffset = 20}, 16)},
        {"unknown depth", headerWith({.bits = 7}, 64)},
        {"two planes", headerWith({.planes = 2}, 16)},
        {"JPEG inside", headerWith({.bits = 0, .compression = 4}, 64)},
        {"run-length claiming a large picture", headerWith({.width = 4000, .height = 4000, .bits = 8, .compression = 1}, 64)},
        {"run-length just over its bound", runLength(8, 2048, 2049, std::string("\x00\x01", 2))},
        {"4-bit run-length over its bound", runLength(4, 16384, 257, std::string("\x00\x01", 2))},
        {"top-down run-length", headerWith({.height = -2, .bits = 8, .compression = 1}, 64)},
    };
    for (const HostileCase& c : cases) {
        dir.write("hostile.bmp", c.bytes);
        EXPECT_FALSE(load("hostile.bmp")) << c.what;
    }
}

TEST_F(SkinBitmap, RandomDamageNeverCrashesAndNeverGivesAnOversizedPicture)
{
    const std::string goods[] = {
        twoByTwo(),
        runLength(8, 6, 4, std::string("\x03\x01\x00\x00\x00\x03\x03\x02\x01\x00\x00\x02\x01\x01\x02\x02\x00\x01", 18)),
        runLength(4, 6, 4, std::string("\x04\x12\x00\x00\x00\x03\x31\x20\x00\x02\x01\x01\x02\x33\x00\x01", 16)),
    };
    std::mt19937 random(20261208);
    for (int round = 0; round < 1200; ++round) {
        const std::string& good = goods[round % 3];
        std::string bytes = good;
        const int flips = 1 + int(random() % 6);
        for (int i = 0; i < flips; ++i)
            bytes[random() % bytes.size()] = char(random() & 0xFF);
        if (random() % 3 == 0)
            bytes.resize(random() % bytes.size());
        dir.write("damaged.bmp", bytes);
        if (const std::optional<QImage> image = load("damaged.bmp")) {
            EXPECT_LE(int64_t(image->width()) * image->height(), kSkinBitmapMaxPixels) << round;
            EXPECT_FALSE(image->isNull()) << round;
        }
    }
}

TEST_F(SkinBitmap, NoNameNoFileAndFoldersAreNoPicture)
{
    dir.write("folder/inside.bmp", twoByTwo());
    EXPECT_FALSE(load(""));
    EXPECT_FALSE(load("missing.bmp"));
    EXPECT_FALSE(load("folder"));
    EXPECT_FALSE(load("folder/missing.bmp"));
    EXPECT_TRUE(load("folder/inside.bmp"));
}

}  // namespace
