// How long the panel of the default skin takes to paint: the whole composition (face, LED
// display, buttons) and a position tick, which redraws the time digits and copies only their
// cells to the window; and the region maker on a large picture. Run by hand, not a test.
//
//   quintara_bench_panel_paint [<source folder>] [--png <file>]
//
// With --png it also writes the composed panel in a sample state, to look at.

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>

#include "core/player_settings.h"
#include "core/player_state.h"
#include "core/settings.h"
#include "components/maskcut/maskcut_regions.h"
#include "led/led_draw.h"
#include "panel/skin/panel_skin_loader.h"

namespace {

using Clock = std::chrono::steady_clock;

// The buttons as the panel draws them: the button's own picture of its state, else the state's
// panel-wide face under it.
void drawButtons(QPainter& painter, const PanelSkin& skin)
{
    for (const PanelButton& button : skin.buttons) {
        const QRect rect(button.rect.left, button.rect.top, button.rect.width(), button.rect.height());
        const std::optional<QImage>& own = button.bitmaps[size_t(button.state)];
        if (own) {
            painter.drawImage(rect.topLeft(), *own, QRect(QPoint(0, 0), rect.size()));
            continue;
        }
        const std::optional<QImage>* face = &skin.faceNormal;
        switch (button.state) {
        case ButtonState::Selected:
        case ButtonState::CheckedSelected: face = &skin.faceSelected; break;
        case ButtonState::MouseIn:
        case ButtonState::CheckedMouseIn: face = skin.faceMouseIn ? &skin.faceMouseIn : &skin.faceNormal; break;
        default: break;
        }
        if (*face)
            painter.drawImage(rect.topLeft(), **face, rect);
    }
}

void compose(QImage& surface, const PanelSkin& skin, const PlayerState& state, uint32_t maxVolumeLevel)
{
    QPainter painter(&surface);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, *skin.faceNormal);
    Led_DrawAll(painter, skin, state, maxVolumeLevel);
    drawButtons(painter, skin);
}

template <class Work>
double microsecondsEach(int rounds, Work work)
{
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < rounds; ++i)
        work(i);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / rounds;
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::string source = QUINTARA_SOURCE_DIR;
    std::string png;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--png" && i + 1 < argc)
            png = argv[++i];
        else
            source = arg;
    }
    const SkinPaths files{source + "/resources/Quintara.CFG", source + "/resources/skin/"};
    MaskcutBitmapRegions maskcut;
    const PlayerSettings settings = Settings_Defaults();
    const uint32_t maxVolume = settings.maxVolumeLevel;
    PanelSkin loaded;

    const Clock::time_point loadStart = Clock::now();
    if (!PanelSkin_LoadFace(loaded, files, maskcut)) {
        std::fprintf(stderr, "no panel face under %s\n", files.rcDir.c_str());
        return 1;
    }
    PanelSkin_LoadLed(loaded, files);
    loaded.buttons = PanelSkin_LoadButtons(files, "Panel\\Buttons");
    const double loadMs = std::chrono::duration<double, std::milli>(Clock::now() - loadStart).count();
    const PanelSkin& skin = loaded;

    PlayerState state;
    state.currentTrack = 7;
    state.position = 5025000;
    state.length = 3599999;
    state.status = 1;
    state.repeatMode = RepeatMode::List;
    state.volumeLeft = 11;
    state.volumeRight = 9;
    state.shownSoundQuality = 0;
    state.shownAudioChannel = 0;
    state.shownSoundChannel = 0;

    // A few buttons in other looks: one held, one under the pointer, the check keys checked.
    for (PanelButton& button : loaded.buttons) {
        if (button.command == CommandId::PlayPause)
            button.state = ButtonState::Selected;
        if (button.command == CommandId::NextTrack)
            button.state = ButtonState::MouseIn;
        if (button.command == CommandId::MuteUnMute)
            button.state = ButtonState::CheckedNormal;
        if (button.command == CommandId::VideoTopmost)
            button.state = ButtonState::CheckedMouseIn;
    }
    state.muted = 1;

    QImage surface(skin.faceSize.width, skin.faceSize.height, QImage::Format_RGB32);
    compose(surface, skin, state, maxVolume);
    if (!png.empty() && !surface.save(QString::fromStdString(png), "PNG"))
        std::fprintf(stderr, "cannot write %s\n", png.c_str());

    constexpr int kRounds = 5000;
    const double full = microsecondsEach(kRounds, [&](int i) {
        state.position = uint32_t(i) * 1000;
        compose(surface, skin, state, maxVolume);
    });

    // A tick: the whole panel is composed and only the five marked cells reach the window.
    QImage window(surface.size(), QImage::Format_RGB32);
    std::vector<QRect> marked;
    QRegion cells;
    for (const Point& slot : skin.timeNumbers.digitPositions) {
        marked.emplace_back(slot.x, slot.y, skin.timeNumbers.cell.width + 1, skin.timeNumbers.cell.height + 1);
        cells += marked.back();
    }
    const double tick = microsecondsEach(kRounds, [&](int i) {
        state.position = uint32_t(i) * 1000;
        compose(surface, skin, state, maxVolume);
        QPainter screen(&window);
        screen.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& cell : marked)
            screen.drawImage(cell.topLeft(), surface, cell);
    });
    // The same with the composition clipped to the marked cells by a QRegion: dearer, for a clip
    // of several rectangles leaves Qt's fast copies.
    const double clipped = microsecondsEach(kRounds, [&](int i) {
        state.position = uint32_t(i) * 1000;
        {
            QPainter painter(&surface);
            painter.setClipRegion(cells);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.drawImage(0, 0, *skin.faceNormal);
            Led_DrawAll(painter, skin, state, maxVolume);
            drawButtons(painter, skin);
        }
        QPainter screen(&window);
        screen.setClipRegion(cells);
        screen.setCompositionMode(QPainter::CompositionMode_Source);
        screen.drawImage(0, 0, surface);
    });
    const double digitsOnly = microsecondsEach(kRounds, [&](int i) {
        state.position = uint32_t(i) * 1000;
        QPainter painter(&surface);
        Led_DrawTime(painter, skin, state);
    });

    // The region maker on a large outline: a disc on white, 4096 pixels square.
    Bitmap large{4096, 4096, std::vector<uint32_t>(size_t(4096) * 4096, 0xFFFFFFFF)};
    for (int y = 0; y < large.height; ++y)
        for (int x = 0; x < large.width; ++x)
            if ((x - 2048) * (x - 2048) + (y - 2048) * (y - 2048) < 2000 * 2000)
                large.pixels[size_t(y) * 4096 + size_t(x)] = 0xFF000000;
    size_t largeRects = 0;
    const double maskcutUs = microsecondsEach(5, [&](int) {
        largeRects = maskcut.createRegionByBitmap(large, 0x00FFFFFF, true)->rects.size();
    });

    std::printf("panel %dx%d, %zu buttons, region of %zu rectangles; skin loaded in %.1f ms\n", skin.faceSize.width,
                skin.faceSize.height, skin.buttons.size(), skin.region ? skin.region->rects.size() : size_t(0),
                loadMs);
    std::printf("full panel paint (face + LED display + buttons): %8.1f us\n", full);
    std::printf("position tick, full compose + copy of the 5 time cells: %8.1f us\n", tick);
    std::printf("position tick, compose clipped to a QRegion of the cells:  %8.1f us\n", clipped);
    std::printf("time digits alone (Led_DrawTime):                 %8.1f us\n", digitsOnly);
    std::printf("region of a 4096x4096 disc (%zu rectangles):     %8.1f ms\n", largeRects, maskcutUs / 1000);
    return 0;
}
