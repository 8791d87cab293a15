#include "context/settings.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "context/app_context.h"
#include "core/case_path.h"
#include "core/ini_file.h"

namespace {

// The folder of the executable's real path, ending in "/": a symlink in a bin folder must not
// move the configuration and skins away from the installation.
std::string folderOf(const std::string& executable)
{
    if (executable.empty())
        return {};
    std::error_code error;
    const std::filesystem::path real = std::filesystem::weakly_canonical(executable, error);
    const std::string resolved = error ? executable : real.string();
    const size_t slash = resolved.rfind('/');
    return slash == std::string::npos ? std::string() : resolved.substr(0, slash + 1);
}

// What lies at relative below folder, found as skin pictures are; as written when nothing does,
// so that the messages name the path the configuration gave.
std::string foundOrAsWritten(const std::string& folder, const std::string& relative)
{
    const std::string found = ResolvePathIgnoringCase(folder, relative);
    return found.empty() ? folder + relative : found;
}

uint32_t orDefaultWhenZero(uint32_t value, uint32_t fallback)
{
    return value == 0 ? fallback : value;
}

// Bounds are exclusive and tested unsigned, so a negative rate in the file falls back too.
uint32_t fastRate(uint32_t rate)
{
    return rate > 1000 && rate < 5000 ? rate : 3000;
}

uint32_t slowRate(uint32_t rate)
{
    return rate > 0 && rate < 1000 ? rate : 500;
}

}  // namespace

void LoadSettings()
{
    PlayerSettings& settings = app().settings;
    const std::string& instance = app().windows.instance;
    settings.exeDir = folderOf(instance.empty() ? ExecutablePath() : instance);
    settings.cfgPath = foundOrAsWritten(settings.exeDir, "Quintara.CFG");

    const IniFile file = IniFile::load(settings.cfgPath);

    // Skins made on Windows name their folder with backslashes.
    std::string rcPath = file.text("Initiation", "RC Path", kConfigTextBuffer);
    std::replace(rcPath.begin(), rcPath.end(), '\\', '/');
    settings.rcDir = foundOrAsWritten(settings.exeDir, rcPath);
    // An unknown executable folder leaves rcDir relative rather than turning it into "/".
    if (!settings.rcDir.empty() && settings.rcDir.back() != '/')
        settings.rcDir += '/';

    settings.controlMasterVolume = file.intValue("Volume Settings", "Control Master Volume", 0);
    settings.maxVolumeLevel = orDefaultWhenZero(file.intValue("Volume Settings", "Max Volume Level", 16), 16);
    settings.volumeInterval = orDefaultWhenZero(file.intValue("Volume Settings", "Volume Interval", 100), 100);
    settings.repeatAllOnly = file.intValue("Repeat Settings", "Support Repeat-All Only", 0);
    settings.playListDialogOnPlay =
        file.intValue("PlayList Settings", "Support PlayList Dialog When Play Button Pressed", 1);
    settings.ejectCdRomOnly = file.intValue("CD-Rom Settings", "Eject CD-Rom Only", 0);

    settings.fastForwardRate = fastRate(file.intValue("Play Rate", "Fast Forward Rate", 3000));
    settings.slowForwardRate = slowRate(file.intValue("Play Rate", "Slow Forward Rate", 500));
    settings.fastBackwardRate = fastRate(file.intValue("Play Rate", "Fast Backward Rate", 3000));
    settings.slowBackwardRate = slowRate(file.intValue("Play Rate", "Slow Backward Rate", 500));

    PlayerState& state = app().state;
    state.repeatMode = RepeatMode::Off;
    state.status = engine_status::Stopped;
    state.trackCount = 0;
    state.currentTrack = 0;
    state.position = 0;
    state.length = 0;
    state.wantedSoundQuality = 0;
    state.wantedAudioChannel = 0;
    state.wantedSoundChannel = 0;
    state.muted = false;
    state.volumeLeft = 0;
    state.volumeRight = 0;
    state.volumeHeldUp = false;
    state.seekHeldForward = false;

    settings.seekBaseInterval = orDefaultWhenZero(file.intValue("Seek Settings", "Seek Base Interval", 500), 500);
    settings.seekOffsetIncrement = orDefaultWhenZero(file.intValue("Seek Settings", "Seek Offset Increment", 500), 500);
    settings.seekMaxOffset = orDefaultWhenZero(file.intValue("Seek Settings", "Seek Max Offset", 7000), 7000);
}

uint32_t ReadConfigInt(std::string_view section, std::string_view key, uint32_t fallback)
{
    return IniFile::load(app().settings.cfgPath).intValue(section, key, fallback);
}

std::string ReadConfigText(std::string_view section, std::string_view key, size_t bufferSize)
{
    return IniFile::load(app().settings.cfgPath).text(section, key, bufferSize);
}

std::string ExecutablePath()
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}
