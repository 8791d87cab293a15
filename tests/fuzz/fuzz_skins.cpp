// The panel skin loader and the video skin over a fuzzed configuration, with a small fixed
// set of pictures under the names the default skin uses.
#include <QColor>
#include <QImage>
#include <cstdint>
#include <filesystem>
#include <string>

#include "components/maskcut/maskcut.h"
#include "core/player_settings.h"
#include "core/settings.h"
#include "panel/skin/panel_skin_loader.h"
#include "tests/fuzz/fuzz_support.h"
#include "video/video_skin.h"

namespace {

struct Picture {
    const char* name;
    int width;
    int height;
};

// Smaller than the default skin's, in sizes that do not divide evenly.
constexpr Picture kPictures[] = {
    {"panel/face.bmp", 61, 23},          {"panel/face_selected.bmp", 61, 23},
    {"panel/face_mousein.bmp", 61, 23},  {"panel/region.bmp", 61, 23},
    {"panel/digits_large.bmp", 33, 7},   {"panel/digits_small.bmp", 21, 5},
    {"panel/mute_checked.bmp", 9, 9},    {"panel/mute_checked_selected.bmp", 9, 9},
    {"panel/mute_checked_mousein.bmp", 9, 9}, {"panel/video_topmost_checked.bmp", 9, 9},
    {"panel/video_topmost_checked_selected.bmp", 9, 9}, {"panel/video_topmost_checked_mousein.bmp", 9, 9},
    {"video/border_lt.bmp", 3, 3},       {"video/border_t.bmp", 5, 3},
    {"video/border_rt.bmp", 3, 3},       {"video/border_l.bmp", 3, 5},
    {"video/border_r.bmp", 3, 5},        {"video/border_lb.bmp", 3, 3},
    {"video/border_b.bmp", 5, 3},        {"video/border_rb.bmp", 3, 3},
    {"video/idle.bmp", 17, 11},
};

bool makePictures()
{
    const std::string folder = fuzz::Scratch() + "/skin/";
    int shade = 0;
    for (const Picture& picture : kPictures) {
        QImage image(picture.width, picture.height, QImage::Format_RGB32);
        image.fill(QColor(shade, 255 - shade, 128));
        // The region's key colour in one corner, so that the outline has a hole to cut.
        image.setPixelColor(0, 0, QColor(255, 0, 255));
        shade = (shade + 37) % 256;
        const std::string path = folder + picture.name;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        if (!image.save(QString::fromStdString(path), "BMP"))
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool pictures = makePictures();
    if (!pictures)
        __builtin_trap();
    PlayerSettings settings = Settings_Defaults();
    settings.exeDir = fuzz::Scratch() + "/";
    settings.cfgPath = fuzz::WriteFile("Quintara.CFG", fuzz::Bytes(data, size));
    settings.rcDir = fuzz::Scratch() + "/skin/";
    const SkinPaths files{settings.cfgPath, settings.rcDir};

    PanelSkin skin;
    NoRegions maskcut;
    if (PanelSkin_LoadFace(skin, files, maskcut)) {
        PanelSkin_LoadLed(skin, files);
        Settings_ReadFor(settings, SettingMoment::Panel);
        (void)PanelSkin_LoadButtons(files, "Panel\\Buttons");
    }
    std::string why;
    (void)VideoSkin_Load(files, why);
    Settings_ReadFor(settings, SettingMoment::VideoWindow);
    return 0;
}
