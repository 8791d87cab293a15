#include "core/settings.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "core/case_path.h"
#include "core/ini_file.h"

namespace {

using S = PlayerSettings;
using M = SettingMoment;

enum class Kind : uint8_t {
    Number,  // a value outside [low, high] gives the default
    Text,    // an empty value gives the default
    Folder,  // a folder below exeDir, as skin pictures are found
};

struct SettingKey {
    SettingMoment moment;
    const char* section;
    const char* key;
    Kind kind;
    uint32_t S::*number = nullptr;
    std::string S::*text = nullptr;
    uint32_t fallback = 0;
    uint32_t low = 0;
    uint32_t high = std::numeric_limits<uint32_t>::max();
    const char* fallbackText = "";
    size_t buffer = kConfigTextBuffer;
};

constexpr SettingKey number(M moment, const char* section, const char* key, uint32_t S::*member, uint32_t fallback,
                            uint32_t low = 0, uint32_t high = std::numeric_limits<uint32_t>::max())
{
    return {moment, section, key, Kind::Number, member, nullptr, fallback, low, high};
}

constexpr SettingKey text(M moment, const char* section, const char* key, std::string S::*member,
                          const char* fallback, size_t buffer = kConfigTextBuffer)
{
    return {moment, section, key, Kind::Text, nullptr, member, 0, 0, 0, fallback, buffer};
}

constexpr SettingKey folder(M moment, const char* section, const char* key, std::string S::*member)
{
    return {moment, section, key, Kind::Folder, nullptr, member};
}

// Every key of Quintara.CFG that is a setting rather than skin data. Numbers are read unsigned,
// so a negative one in the file is a large one: a low bound of 1 is "0 means the default", and
// the rates keep only what lies strictly between their limits.
constexpr SettingKey kSettingKeys[] = {
    folder(M::StartUp, "Initiation", "RC Path", &S::rcDir),
    number(M::StartUp, "Initiation", "Use ActiveMovie", &S::useActiveMovie, 1),
    number(M::StartUp, "Initiation", "Use Default Video Window", &S::useDefaultVideoWindow, 0),
    number(M::StartUp, "Volume Settings", "Control Master Volume", &S::controlMasterVolume, 0),
    number(M::StartUp, "Volume Settings", "Max Volume Level", &S::maxVolumeLevel, 16, 1),
    number(M::StartUp, "Volume Settings", "Volume Interval", &S::volumeInterval, 100, 1),
    number(M::StartUp, "Repeat Settings", "Support Repeat-All Only", &S::repeatAllOnly, 0),
    number(M::StartUp, "PlayList Settings", "Support PlayList Dialog When Play Button Pressed",
           &S::playListDialogOnPlay, 1),
    number(M::StartUp, "CD-Rom Settings", "Eject CD-Rom Only", &S::ejectCdRomOnly, 0),
    number(M::StartUp, "CD-Rom Settings", "Playback Control", &S::playbackControl, 0),
    number(M::StartUp, "CD-Rom Settings", "Entry Points As Chapters", &S::entryPointsAsChapters, 0),
    number(M::StartUp, "Play Rate", "Fast Forward Rate", &S::fastForwardRate, 3000, 1001, 4999),
    number(M::StartUp, "Play Rate", "Slow Forward Rate", &S::slowForwardRate, 500, 1, 999),
    number(M::StartUp, "Play Rate", "Fast Backward Rate", &S::fastBackwardRate, 3000, 1001, 4999),
    number(M::StartUp, "Play Rate", "Slow Backward Rate", &S::slowBackwardRate, 500, 1, 999),
    number(M::StartUp, "Seek Settings", "Seek Base Interval", &S::seekBaseInterval, 500, 1),
    number(M::StartUp, "Seek Settings", "Seek Offset Increment", &S::seekOffsetIncrement, 500, 1),
    number(M::StartUp, "Seek Settings", "Seek Max Offset", &S::seekMaxOffset, 7000, 1),

    text(M::Panel, "Panel", "AP Name", &S::panelTitle, "Video Player"),
    number(M::Panel, "SelectTrack Settings", "Blink Track Interval", &S::blinkTrackInterval, 350, 1),
    number(M::Panel, "SelectTrack Settings", "Blink Track Times", &S::blinkTrackTimes, 5, 1),
    number(M::Panel, "SelectTrack Settings", "Auto Return", &S::autoReturn, 1),

    text(M::VideoWindow, "Video", "AP Name", &S::videoTitle, "Video Window"),
    text(M::PlayList, "PlayList Settings", "Play File Extentsion List", &S::playFileExtensions, "DAT,MPG,AVI"),
    text(M::Help, "Initiation", "Help File", &S::helpFile, "", 128),
};

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

std::string folderBelow(const std::string& exeDir, std::string relative)
{
    // Skins made on Windows name their folder with backslashes.
    std::replace(relative.begin(), relative.end(), '\\', '/');
    std::string folder = foundOrAsWritten(exeDir, relative);
    // An unknown executable folder leaves the folder relative rather than turning it into "/".
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

void read(const IniFile& file, const SettingKey& setting, PlayerSettings& settings)
{
    if (setting.kind == Kind::Number) {
        const uint32_t value = file.intValue(setting.section, setting.key, setting.fallback);
        settings.*setting.number = value < setting.low || value > setting.high ? setting.fallback : value;
        return;
    }
    std::string value = file.text(setting.section, setting.key, setting.buffer);
    if (value.empty())
        value = setting.fallbackText;
    settings.*setting.text = setting.kind == Kind::Folder ? folderBelow(settings.exeDir, value) : value;
}

}  // namespace

void LoadSettings(PlayerSettings& settings, const std::string& instance)
{
    settings.exeDir = folderOf(instance.empty() ? ExecutablePath() : instance);
    settings.cfgPath = foundOrAsWritten(settings.exeDir, "Quintara.CFG");
    Settings_ReadFor(settings, SettingMoment::StartUp);
}

void Settings_ReadFor(PlayerSettings& settings, SettingMoment moment)
{
    const IniFile file = IniFile::load(settings.cfgPath);
    for (const SettingKey& setting : kSettingKeys) {
        if (setting.moment == moment)
            read(file, setting, settings);
    }
}

PlayerSettings Settings_Defaults()
{
    PlayerSettings settings;
    for (const SettingKey& setting : kSettingKeys) {
        if (setting.kind == Kind::Number)
            settings.*setting.number = setting.fallback;
        else
            settings.*setting.text = setting.fallbackText;
    }
    return settings;
}

std::string ExecutablePath()
{
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}
