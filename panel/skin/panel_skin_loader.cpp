#include "panel/skin/panel_skin_loader.h"

#include <array>
#include <string>
#include <utility>

#include "components/maskcut/maskcut.h"
#include "core/settings.h"
#include "core/command_strings.h"
#include "core/ini_file.h"
#include "core/saturated.h"
#include "panel/skin/panel_button_names.h"
#include "panel/skin/skin_bitmap.h"
#include "panel/skin/skin_bitmap_twin.h"
#include "panel/skin/skin_values.h"

namespace {

// The configuration read once for a whole step of the load rather than once a key.
class SkinConfig {
public:
    explicit SkinConfig(const SkinPaths& files) : file_(IniFile::load(files.cfgPath)), rcDir_(files.rcDir) {}

    std::string text(std::string_view section, std::string_view key) const
    {
        return file_.text(section, key, kConfigTextBuffer);
    }
    uint32_t integer(std::string_view section, std::string_view key, uint32_t fallback) const
    {
        return file_.intValue(section, key, fallback);
    }
    std::optional<QImage> picture(std::string_view section, std::string_view key) const
    {
        return Skin_LoadBitmap(rcDir_, text(section, key));
    }
    std::optional<QImage> twin(std::string_view section, std::string_view key,
                               const std::optional<QImage>& picture) const
    {
        return Skin_LoadTwin(rcDir_, text(section, key), picture);
    }
    void pair(std::string_view section, std::string_view key, int& first, int& second) const
    {
        ReadSkinPair(text(section, key), first, second);
    }

private:
    IniFile file_;
    std::string rcDir_;
};

std::string joinKey(std::string_view base, std::string_view suffix)
{
    std::string key(base);
    if (!suffix.empty())
        key.append(" ").append(suffix);
    return key;
}

void readLedElement(const SkinConfig& config, std::string_view element, std::string_view suffix,
                    std::optional<QImage>* picture, Point* position, Size* size, std::optional<QImage>* twin = nullptr)
{
    const std::string section = std::string("Panel\\LED\\").append(element);
    bool loaded = false;
    Size pictureSize;
    if (picture) {
        *picture = config.picture(section, joinKey("Bitmap", suffix));
        if (twin)
            *twin = config.twin(section, joinKey("Bitmap", suffix), *picture);
        if (*picture) {
            loaded = true;
            pictureSize = {(*picture)->width(), (*picture)->height()};
        }
    }
    if (position) {
        *position = {};
        config.pair(section, joinKey("Position", suffix), position->x, position->y);
    }
    if (size) {
        *size = {};
        if (loaded)
            *size = pictureSize;
        else
            config.pair(section, joinKey("Size", suffix), size->width, size->height);
    }
}

void readWhole(const SkinConfig& config, std::string_view element, std::string_view suffix, LedElement& led)
{
    readLedElement(config, element, suffix, &led.bitmap, &led.position, &led.size, &led.bitmap2x);
}

template <size_t Slots>
void readStrip(const SkinConfig& config, std::string_view element, const std::array<std::string_view, Slots>& slotNames,
               LedDigitStrip<Slots>& strip)
{
    strip = {};
    Size size;
    readLedElement(config, element, {}, &strip.strip, nullptr, &size, &strip.strip2x);
    if (!strip.strip)
        return;
    strip.cell = {size.width / 10, size.height};
    for (size_t i = 0; i < Slots; ++i)
        readLedElement(config, element, slotNames[i], nullptr, &strip.digitPositions[i], nullptr);
}

template <size_t N>
void readNumberedGroup(const SkinConfig& config, std::string_view element, std::array<LedElement, N>& group)
{
    for (size_t i = 0; i < N; ++i)
        readWhole(config, element, std::to_string(i + 1), group[i]);
}

constexpr std::array<std::string_view, kButtonStateCount> kButtonPictureKeys{
    "Normal Bitmap",         "Selected Bitmap",         "MouseIn Bitmap",
    "Checked-Normal Bitmap", "Checked-Selected Bitmap", "Checked-MouseIn Bitmap",
};

// The button named by one "Button n" value, when its section gives it a size.
std::optional<PanelButton> readButton(const SkinConfig& config, const std::string& name, CommandId command)
{
    PanelButton button;
    button.command = command;
    button.checkable = config.integer(name, "Check Button", 0);
    int width = 0, height = 0;
    for (size_t state = 0; state < kButtonStateCount; ++state) {
        std::optional<QImage>& picture = button.bitmaps[state];
        picture = config.picture(name, kButtonPictureKeys[state]);
        button.bitmaps2x[state] = config.twin(name, kButtonPictureKeys[state], picture);
        if (picture) {
            width = picture->width();
            height = picture->height();
        } else if (state == size_t(ButtonState::Normal)) {
            const std::string size = config.text(name, "Size");
            if (size.empty())
                break;
            ReadSkinPair(size, width, height);
        }
    }
    // A negative size would draw to the picture's edge, over whatever lies beside the button.
    if (width <= 0 || height <= 0)
        return std::nullopt;

    int x = 0, y = 0;
    config.pair(name, "Position", x, y);
    button.rect = {x, y, SaturatedSum(x, width), SaturatedSum(y, height)};
    button.tip = config.text(name, "Tip");
    if (button.tip.empty())
        button.tip = CommandTooltip(command);
    return button;
}

Bitmap toBitmap(const QImage& picture)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    Bitmap bitmap;
    bitmap.width = rgb.width();
    bitmap.height = rgb.height();
    bitmap.pixels.resize(size_t(bitmap.width) * size_t(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rgb.constScanLine(y));
        std::copy(row, row + bitmap.width, bitmap.pixels.begin() + ptrdiff_t(y) * bitmap.width);
    }
    return bitmap;
}

// White, written as a colour value 0x00BBGGRR.
constexpr uint32_t kRegionKeyColour = 0x00FFFFFF;

}  // namespace

bool PanelSkin_FindCommand(std::string_view name, CommandId& command)
{
    const std::optional<CommandId> found = FindPanelButtonCommand(name);
    if (found)
        command = *found;
    return found.has_value();
}

bool PanelSkin_LoadFace(PanelSkin& skin, const SkinPaths& files, MaskcutRegions& maskcut,
                        const std::function<void()>& afterFaces)
{
    const SkinConfig config(files);
    skin.faceNormal = config.picture("Panel", "Normal Bitmap");
    if (!skin.faceNormal) {
        skin.faceSize = {};
        return false;
    }
    skin.faceSize = {skin.faceNormal->width(), skin.faceNormal->height()};
    skin.faceSelected = config.picture("Panel", "Selected Bitmap");
    skin.faceMouseIn = config.picture("Panel", "MouseIn Bitmap");
    skin.faceNormal2x = config.twin("Panel", "Normal Bitmap", skin.faceNormal);
    skin.faceSelected2x = config.twin("Panel", "Selected Bitmap", skin.faceSelected);
    skin.faceMouseIn2x = config.twin("Panel", "MouseIn Bitmap", skin.faceMouseIn);
    if (afterFaces)
        afterFaces();

    skin.region.reset();
    // The picture is only the outline's source: it goes as soon as the region is made.
    if (const std::optional<QImage> outline = config.picture("Panel", "Region Bitmap"))
        skin.region = maskcut.createRegionByBitmap(toBitmap(*outline), kRegionKeyColour, true);
    return true;
}

void PanelSkin_ReadLedElement(const SkinPaths& files, std::string_view element, std::string_view suffix,
                              std::optional<QImage>* picture, Point* position, Size* size)
{
    readLedElement(SkinConfig(files), element, suffix, picture, position, size);
}

void PanelSkin_LoadLed(PanelSkin& skin, const SkinPaths& files)
{
    const SkinConfig config(files);
    const std::array<std::pair<std::string_view, LedElement*>, 5> singles{{
        {"Mute", &skin.mute}, {"Volume", &skin.volume}, {"Play", &skin.play},
        {"Pause", &skin.pause}, {"Stop", &skin.stop},
    }};
    for (const auto& [name, led] : singles)
        readWhole(config, name, {}, *led);

    const std::array<std::string_view, 3> repeatParts{"None", "All", "Track"};
    for (size_t i = 0; i < repeatParts.size(); ++i)
        readWhole(config, "Repeat", repeatParts[i], skin.repeat[i]);

    const std::array<std::string_view, 2> trackSlots{"Uint", "Decimal"};
    const std::array<std::string_view, 5> timeSlots{"Sec-Uint", "Sec-Decimal", "Min-Uint", "Min-Decimal",
                                                    "Hour-Uint"};
    readStrip(config, "Track Numbers", trackSlots, skin.trackNumbers);
    readStrip(config, "Time Numbers", timeSlots, skin.timeNumbers);
    readStrip(config, "Track Time Numbers", timeSlots, skin.trackTimeNumbers);

    readNumberedGroup(config, "Sound Quality", skin.soundQuality);
    readNumberedGroup(config, "Audio Channel", skin.audioChannel);
    readNumberedGroup(config, "Sound Channel", skin.soundChannel);
}

std::vector<PanelButton> PanelSkin_LoadButtons(const SkinPaths& files, std::string_view section)
{
    const SkinConfig config(files);
    std::vector<PanelButton> buttons;
    for (uint64_t n = 1;; ++n) {
        const std::string name = config.text(section, "Button " + std::to_string(n));
        if (name.empty())
            break;
        const std::optional<CommandId> command = FindPanelButtonCommand(name);
        if (!command)
            continue;
        if (std::optional<PanelButton> button = readButton(config, name, *command))
            buttons.push_back(std::move(*button));
    }
    return buttons;
}
