#include "panel/skin/skin_bitmap.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include "core/case_path.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kLargestInfoHeader = 124;  // BITMAPV5HEADER
// The biggest picture within the bounds, with room for headers and a palette; a longer file
// is no skin picture.
constexpr uint64_t kMaxFileBytes = uint64_t{kSkinBitmapMaxPixels} * 4 + (1 << 20);

uint32_t le16(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}

uint32_t le32(const uint8_t* p)
{
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

enum Compression : uint32_t { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3 };

struct Layout {
    uint32_t bitsPerPixel;
    uint32_t compression;
};

// Which depths go with which compression; anything else (JPEG or PNG inside, odd depths) is
// no skin picture.
constexpr std::array<Layout, 10> kLayouts = {{
    {1, Rgb}, {4, Rgb}, {8, Rgb}, {16, Rgb}, {24, Rgb}, {32, Rgb},
    {16, BitFields}, {32, BitFields}, {8, Rle8}, {4, Rle4},
}};

bool knownLayout(uint32_t bits, uint32_t compression)
{
    return std::any_of(kLayouts.begin(), kLayouts.end(),
                       [&](const Layout& l) { return l.bitsPerPixel == bits && l.compression == compression; });
}

bool knownInfoHeader(uint32_t size)
{
    constexpr std::array<uint32_t, 7> sizes = {12, 40, 52, 56, 64, 108, 124};
    return std::find(sizes.begin(), sizes.end(), size) != sizes.end();
}

// What the headers say of the picture that matters before its pixels are read.
struct Picture {
    int width = 0;
    int height = 0;
    bool runLength = false;
};

// The picture the headers describe when it lies within the bounds and its pixels fit in the
// file, so that the decoder never sizes a buffer from a lie.
std::optional<Picture> saneHeader(const std::vector<uint8_t>& head, uint64_t fileSize)
{
    if (head.size() < kFileHeaderBytes + 12 || head[0] != 'B' || head[1] != 'M')
        return std::nullopt;
    const uint64_t pixelOffset = le32(&head[10]);
    const uint32_t infoSize = le32(&head[14]);
    if (!knownInfoHeader(infoSize) || head.size() < kFileHeaderBytes + infoSize)
        return std::nullopt;

    const uint8_t* info = &head[kFileHeaderBytes];
    int64_t width, height;
    uint32_t planes, bits, compression = Rgb;
    if (infoSize == 12) {  // OS/2 core header: unsigned 16-bit sides
        width = le16(info + 4);
        height = le16(info + 6);
        planes = le16(info + 8);
        bits = le16(info + 10);
    } else {
        width = static_cast<int32_t>(le32(info + 4));
        height = static_cast<int32_t>(le32(info + 8));
        planes = le16(info + 12);
        bits = le16(info + 14);
        compression = le32(info + 16);
    }
    const bool topDown = height < 0;
    height = topDown ? -height : height;
    if (planes != 1 || width <= 0 || height <= 0 || width > kSkinBitmapMaxSide || height > kSkinBitmapMaxSide)
        return std::nullopt;
    if (width * height > kSkinBitmapMaxPixels || !knownLayout(bits, compression))
        return std::nullopt;
    if (pixelOffset < kFileHeaderBytes + infoSize || pixelOffset >= fileSize)
        return std::nullopt;

    const Picture picture{int(width), int(height), compression == Rle8 || compression == Rle4};
    if (picture.runLength) {
        // Line ends, skips and an early end let a few bytes stand for any picture, so the
        // picture's own size is what is bounded. Run-length pictures are stored bottom-up only.
        if (topDown || width * height > kSkinBitmapMaxRunLengthPixels)
            return std::nullopt;
        return picture;
    }
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    if (stride * uint64_t(height) > fileSize - pixelOffset)
        return std::nullopt;
    return picture;
}

// Qt leaves the pixels that line ends, skips and an early end pass over as its buffer held
// them. Decoding into a picture of the right shape, cleared to the first colour of the
// palette, gives them that colour instead of whatever the memory held.
QImage decode(QImageReader& reader, const Picture& picture)
{
    if (!picture.runLength)
        return reader.read();
    QImage image(picture.width, picture.height, QImage::Format_Indexed8);
    if (image.isNull())
        return {};
    image.fill(0);
    const uchar* cleared = image.constBits();
    // A decoder that took a buffer of its own would leave those pixels undefined again.
    if (!reader.read(&image) || image.constBits() != cleared)
        return {};
    return image;
}

}  // namespace

std::optional<QImage> Skin_LoadBitmap(std::string_view rcDir, std::string_view fileName)
{
    if (fileName.empty())
        return std::nullopt;
    const std::string path = ResolvePathIgnoringCase(std::string(rcDir), fileName);
    std::error_code error;
    if (path.empty() || !fs::is_regular_file(path, error))
        return std::nullopt;
    const uint64_t fileSize = fs::file_size(path, error);
    if (error || fileSize > kMaxFileBytes)
        return std::nullopt;

    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> head(std::min<uint64_t>(fileSize, kFileHeaderBytes + kLargestInfoHeader));
    if (!in.read(reinterpret_cast<char*>(head.data()), std::streamsize(head.size())))
        return std::nullopt;
    const std::optional<Picture> picture = saneHeader(head, fileSize);
    if (!picture)
        return std::nullopt;

    QByteArray bytes(qsizetype(fileSize), Qt::Uninitialized);
    in.seekg(0);
    if (!in.read(bytes.data(), bytes.size()))
        return std::nullopt;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    const QImage image = decode(reader, *picture);
    if (image.isNull())
        return std::nullopt;
    // The border and idle pictures are copied as they are: any alpha in the file means nothing.
    return image.convertToFormat(QImage::Format_RGB32);
}
