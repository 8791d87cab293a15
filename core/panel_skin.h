#pragma once

#include <QImage>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/command_id.h"
#include "core/geometry.h"

// What a button shows; the values index PanelButton::bitmaps.
enum class ButtonState : uint8_t { Normal, Selected, MouseIn, CheckedNormal, CheckedSelected, CheckedMouseIn };
constexpr size_t kButtonStateCount = 6;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};

struct PanelButton {
    CommandId command{};
    std::string tip;
    std::array<std::optional<QImage>, kButtonStateCount> bitmaps;
    Rect rect;
    uint32_t checkable = 0;
    uint32_t checked = 0;
    ButtonState state = ButtonState::Normal;
    // The pictures' twins at twice the size, where the screen is dense enough and the skin has them.
    std::array<std::optional<QImage>, kButtonStateCount> bitmaps2x;
};

struct LedElement {
    std::optional<QImage> bitmap;
    Point position;
    Size size;
    std::optional<QImage> bitmap2x;  // the twin at twice the size, or none

    // Shown at all: both dimensions nonzero.
    bool present() const { return size.width != 0 && size.height != 0; }
};

// Ten digits side by side in one picture, shown at a few slots.
template <size_t Slots>
struct LedDigitStrip {
    std::optional<QImage> strip;
    Size cell;
    std::array<Point, Slots> digitPositions{};
    std::optional<QImage> strip2x;  // the twin at twice the size, or none
};

namespace track_slot {
constexpr size_t Unit = 0, Decimal = 1;
}
namespace time_slot {
constexpr size_t SecondUnit = 0, SecondDecimal = 1, MinuteUnit = 2, MinuteDecimal = 3, HourUnit = 4;
}

// The panel's look, loaded whole when the panel is made and released with it.
struct PanelSkin {
    std::optional<QImage> faceNormal;
    Size faceSize;
    std::optional<QImage> faceSelected;
    std::optional<QImage> faceMouseIn;
    std::optional<Region> region;
    std::vector<PanelButton> buttons;

    LedElement mute;
    LedElement volume;
    LedElement play;
    LedElement pause;
    LedElement stop;
    std::array<LedElement, 3> repeat;  // none, all, track
    LedDigitStrip<2> trackNumbers;
    LedDigitStrip<5> timeNumbers;
    LedDigitStrip<5> trackTimeNumbers;
    std::array<LedElement, 4> soundQuality;
    std::array<LedElement, 3> audioChannel;
    std::array<LedElement, 2> soundChannel;

    // The faces' twins at twice the size, or none; the region always comes from the 1x picture.
    std::optional<QImage> faceNormal2x;
    std::optional<QImage> faceSelected2x;
    std::optional<QImage> faceMouseIn2x;
};
