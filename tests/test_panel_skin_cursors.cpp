// The panel's cursors and the application icons as they ship.

#include <cstdlib>
#include <string>
#include <vector>

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage resource(const std::string& name)
{
    return QImage(QString::fromStdString(QUINTARA_SOURCE_DIR "/resources/" + name));
}

TEST(PanelCursors, MonochromeThirtyTwoSquareWithTheTipOnTheHotSpot)
{
    struct Row {
        std::string file;
        int hotX, hotY;
    };
    for (const Row& row : std::vector<Row>{{"cursors/pointing_hand.png", 11, 0}, {"cursors/open_hand.png", 14, 0}}) {
        const QImage cursor = resource(row.file).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(cursor.isNull()) << row.file;
        EXPECT_EQ(cursor.size(), QSize(32, 32)) << row.file;
        int black = 0, white = 0;
        for (int y = 0; y < cursor.height(); ++y) {
            for (int x = 0; x < cursor.width(); ++x) {
                const QRgb pixel = cursor.pixel(x, y);
                if (qAlpha(pixel) == 0)
                    continue;
                ASSERT_EQ(qAlpha(pixel), 255) << row.file << " " << x << "," << y;
                ASSERT_TRUE(pixel == qRgb(0, 0, 0) || pixel == qRgb(255, 255, 255)) << row.file << " " << x << "," << y;
                (pixel == qRgb(0, 0, 0) ? black : white)++;
            }
        }
        EXPECT_GT(black, 40) << row.file;
        EXPECT_GT(white, 100) << row.file;
        EXPECT_EQ(qAlpha(cursor.pixel(row.hotX, row.hotY)), 255) << "the tip is at the hot spot of " << row.file;
        // The tip is the topmost point: nothing of the hand lies above it elsewhere in its row
        // further than the fingertip's own width.
        for (int x = 0; x < 32; ++x) {
            if (qAlpha(cursor.pixel(x, 0)) != 0) {
                EXPECT_LE(std::abs(x - row.hotX), 3) << row.file;
            }
        }
    }
}

TEST(ApplicationIcons, SquareOpaqueInsideClearAtTheCorners)
{
    for (const std::string file : {"icons/quintara.png", "icons/video.png"}) {
        const QImage icon = resource(file).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(icon.isNull()) << file;
        EXPECT_EQ(icon.width(), icon.height()) << file;
        EXPECT_GE(icon.width(), 32) << file;
        EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0) << file;
        EXPECT_EQ(qAlpha(icon.pixel(icon.width() / 2, icon.height() / 2)), 255) << file;
    }
    EXPECT_NE(resource("icons/quintara.png"), resource("icons/video.png"));
}

TEST(PanelCursors, TheExecutableCarriesTheSamePictures)
{
    for (const std::string name :
         {"cursors/pointing_hand.png", "cursors/open_hand.png", "icons/quintara.png", "icons/video.png"}) {
        const QImage embedded(QString::fromStdString(":/" + name));
        ASSERT_FALSE(embedded.isNull()) << name;
        EXPECT_EQ(embedded, resource(name)) << name;
    }
}

}  // namespace
