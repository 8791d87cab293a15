#include "tests/support/playback_fixture.h"

#include <algorithm>
#include <cstdio>

#include "app/wiring.h"
#include "playback/playback.h"

namespace {
struct LedRow {
    const char* name;
    int top;
};
constexpr LedRow kRows[] = {
    {"PlayState", 10},    {"Repeat", 20},      {"SoundQuality", 30}, {"AudioChannel", 40}, {"SoundChannel", 50},
    {"TrackNumber", 60},  {"Time", 70},        {"TrackTime", 80},    {"Mute", 90},         {"Volume", 100},
};

LedElement row(int top)
{
    LedElement led;
    led.position = {1, top};
    led.size = {4, 4};
    return led;
}

template <size_t Slots>
void stripRow(LedDigitStrip<Slots>& strip, int top)
{
    strip.strip = QImage(40, 4, QImage::Format_RGB32);
    strip.cell = {4, 4};
    strip.digitPositions = {};
    strip.digitPositions[0] = {1, top};
}
}  // namespace

void InstallLedRowsSkin(PanelSkin& skin)
{
    skin.play = row(10);
    skin.repeat[0] = row(20);
    skin.soundQuality[0] = row(30);
    skin.audioChannel[0] = row(40);
    skin.soundChannel[0] = row(50);
    stripRow(skin.trackNumbers, 60);
    stripRow(skin.timeNumbers, 70);
    stripRow(skin.trackTimeNumbers, 80);
    skin.mute = row(90);
    skin.volume = row(100);
}

void LedPanel::invalidate(const Rect& area)
{
    const auto found = std::ranges::find(kRows, area.top, &LedRow::top);
    refreshes.push_back(std::string(found == std::end(kRows) ? "?" : found->name) + "(0)");
}

void LedPanel::repaintNow()
{
    // A refresh with now set marks its element and repaints at once.
    if (!refreshes.empty())
        refreshes.back().replace(refreshes.back().size() - 2, 1, "1");
}

int LedPanel::count(const std::string& refresh) const
{
    return static_cast<int>(std::ranges::count(refreshes, refresh));
}

PlaybackTest::PlaybackTest()
{
    auto scripted = std::make_unique<ScriptedEngine>();
    engine = scripted.get();
    records.components.reelkit = std::move(scripted);

    host.onPost = [this](const Message& message) { mainQueue.post(message); };
    host.onPostQuit = [](int) {};
    host.onComplain = [](std::string_view) {};
    mainWindow = std::make_unique<MainWindow>(MainWindowLinksOf(records), mainTimers, host, parts);
    mainTimers.setTick([this](TimerId id) { mainWindow->timerTick(id); });
    panel.manualTimers().setTick([this](TimerId id) { records.playback.TrackEntry_PanelTimer(id); });

    AppWindows& windows = records.windows;
    windows.main = mainWindow.get();
    windows.panel = &panel;
    windows.videoFrame = &videoFrame;
    windows.videoImage = &videoImage;
    InstallLedRowsSkin(panel.skin);
    records.led.showOn(&panel, &panel.skin);
    records.playList.list().emplace();
    playback().setPanel(this);
}

PlaybackTest::~PlaybackTest()
{
    // The window reports its end into the records it was handed.
    mainWindow.reset();
}

bool PlaybackTest::beginBusyCursor()
{
    ++busyBegins;
    return true;
}

bool PlaybackTest::endBusyCursor()
{
    ++busyEnds;
    return true;
}

bool PlaybackTest::setButtonChecked(CommandId command, bool checked)
{
    if (buttonChecked)
        buttonChecked(command, checked);
    return true;
}

void PlaybackTest::setList(const std::vector<std::string>& paths)
{
    PlayList& list = *records.playList.list();
    list.entries.clear();
    for (const std::string& path : paths)
        list.entries.push_back({path, 0});
}

PlaybackTest::AudioValues PlaybackTest::audioValues() const
{
    const PlayerState& s = records.state;
    return {s.shownSoundQuality, s.shownAudioChannel, s.shownSoundChannel,
            s.wantedSoundQuality, s.wantedAudioChannel, s.wantedSoundChannel};
}

std::string PlaybackTest::track(uint32_t number)
{
    char name[32];
    std::snprintf(name, sizeof name, "/disc/track%02u.mpg", number);
    return name;
}

void PlaybackTest::setTracks(uint32_t count)
{
    std::vector<std::string> paths;
    for (uint32_t n = 1; n <= count; ++n)
        paths.push_back(track(n));
    setList(paths);
}

std::vector<std::string> PlaybackTest::listPaths() const
{
    std::vector<std::string> paths;
    for (const PlayListEntry& entry : records.playList.list()->entries)
        paths.push_back(entry.path);
    return paths;
}

void PlaybackTest::runMainQueue()
{
    while (!mainQueue.empty()) {
        for (const Message& message : mainQueue.take())
            mainWindow->handle(message);
    }
}

void PlaybackTest::loadTracks(uint32_t count, uint32_t current, uint16_t status)
{
    setTracks(count);
    loadList(listPaths(), current, status);
}

void PlaybackTest::loadList(const std::vector<std::string>& paths, uint32_t current, uint16_t status)
{
    setList(paths);
    ASSERT_EQ(records.playback.OpenTrack(current), 1u);
    engine->status = status;
    records.state.status = status;
    engine->log.clear();
    panel.refreshes.clear();
    videoFrame.titles.clear();
    busyBegins = 0;
    busyEnds = 0;
}
