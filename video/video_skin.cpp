#include "video/video_skin.h"

#include "core/ini_file.h"
#include "core/settings.h"
#include "panel/skin/skin_bitmap.h"
#include "panel/skin/skin_bitmap_twin.h"

namespace {
constexpr const char* kSection = "Video";
}

std::optional<VideoSkin> VideoSkin_Load(const SkinPaths& files, std::string& why)
{
    const IniFile config = IniFile::load(files.cfgPath);
    VideoSkin skin;
    for (int part = 0; part < kBorderPartCount; ++part) {
        const char* key = kBorderKeys[static_cast<size_t>(part)];
        const std::string name = config.text(kSection, key, kConfigTextBuffer);
        if (name.empty()) {
            why = std::string("\"") + key + "\" of section [Video] is missing or empty in " + files.cfgPath;
            return std::nullopt;
        }
        std::optional<QImage> picture = Skin_LoadBitmap(files.rcDir, name);
        if (!picture) {
            why = "the picture \"" + name + "\" of \"" + key + "\" does not load from " + files.rcDir;
            return std::nullopt;
        }
        skin.sizes[static_cast<size_t>(part)] = {picture->width(), picture->height()};
        skin.borders2x[static_cast<size_t>(part)] = Skin_LoadTwin(files.rcDir, name, picture);
        skin.borders[static_cast<size_t>(part)] = std::move(*picture);
    }
    skin.minTrackSize = VideoSkin_MinTrackSize(skin.sizes);
    skin.imageBackground = VideoSkin_ParseColour(config.text(kSection, "Image Background Color", kConfigTextBuffer));
    // The idle picture is optional: without one the background colour shows.
    const std::string idleName = config.text(kSection, "Image Bitmap", kConfigTextBuffer);
    skin.idleImage = Skin_LoadBitmap(files.rcDir, idleName);
    skin.idleImage2x = Skin_LoadTwin(files.rcDir, idleName, skin.idleImage);
    return skin;
}
