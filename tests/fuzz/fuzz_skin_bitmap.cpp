// A skin picture: the bitmap check and its decoding, from a file of the fuzzer's bytes.
#include <QImage>
#include <cstdint>
#include <string>

#include "panel/skin/skin_bitmap.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteFile("Skin/Picture.bmp", fuzz::Bytes(data, size));
    const std::optional<QImage> image = Skin_LoadBitmap(fuzz::Scratch() + "/", "skin\\picture.BMP");
    if (image) {
        // What the loader lets through is bounded and whole: every pixel may be read.
        if (image->isNull() || image->width() > kSkinBitmapMaxSide || image->height() > kSkinBitmapMaxSide
            || int64_t{image->width()} * image->height() > kSkinBitmapMaxPixels)
            __builtin_trap();
        (void)image->pixel(image->width() - 1, image->height() - 1);
    }
    return 0;
}
