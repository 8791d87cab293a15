#include "core/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

using SettingsField = uint32_t PlayerSettings::*;

// Every number LoadSettings sets, in the order of the record.
const SettingsField kAllFields[] = {
    &PlayerSettings::useActiveMovie,      &PlayerSettings::useDefaultVideoWindow,
    &PlayerSettings::controlMasterVolume, &PlayerSettings::maxVolumeLevel,
    &PlayerSettings::volumeInterval,      &PlayerSettings::repeatAllOnly,
    &PlayerSettings::playListDialogOnPlay, &PlayerSettings::ejectCdRomOnly,
    &PlayerSettings::playbackControl,     &PlayerSettings::entryPointsAsChapters,
    &PlayerSettings::fastForwardRate,     &PlayerSettings::slowForwardRate,
    &PlayerSettings::fastBackwardRate,    &PlayerSettings::slowBackwardRate,
    &PlayerSettings::seekBaseInterval,    &PlayerSettings::seekOffsetIncrement,
    &PlayerSettings::seekMaxOffset,
};
const SettingsField kPanelFields[] = {
    &PlayerSettings::blinkTrackInterval, &PlayerSettings::blinkTrackTimes, &PlayerSettings::autoReturn};

std::vector<uint32_t> numbers(const PlayerSettings& settings)
{
    std::vector<uint32_t> out;
    for (const SettingsField field : kAllFields)
        out.push_back(settings.*field);
    return out;
}

class LoadSettingsTest : public testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    void SetUp() override
    {
        records.windows.instance = dir_.write("bin/quintara", "");
        exeDir_ = fs::canonical(dir_.file("bin")).string() + "/";
    }

    // Writes the configuration beside the executable (none when nullopt) and loads it into
    // records holding values no rule produces, so a field left unset shows.
    void load(const std::optional<std::string>& config)
    {
        std::error_code ignored;
        fs::remove(exeDir_ + "Quintara.CFG", ignored);
        if (config)
            dir_.write("bin/Quintara.CFG", *config);
        for (const SettingsField field : kAllFields)
            records.settings.*field = 123456;
        for (const SettingsField field : kPanelFields)
            records.settings.*field = 123456;
        records.settings.exeDir = records.settings.cfgPath = records.settings.rcDir = "stale";
        LoadSettings(records.settings, records.windows.instance);
    }

    TempDir dir_;
    std::string exeDir_;
};

TEST_F(LoadSettingsTest, NoFileGivesDefaultsAndPathsBesideTheExecutable)
{
    load(std::nullopt);
    EXPECT_EQ(records.settings.exeDir, exeDir_);
    EXPECT_EQ(records.settings.cfgPath, exeDir_ + "Quintara.CFG");
    EXPECT_EQ(records.settings.rcDir, exeDir_);
    EXPECT_EQ(numbers(records.settings),
              (std::vector<uint32_t>{1, 0, 0, 16, 100, 0, 1, 0, 0, 0, 3000, 500, 3000, 500, 500, 500, 7000}));
    EXPECT_EQ(numbers(Settings_Defaults()), numbers(records.settings)) << "the record starts at the defaults";
}

TEST_F(LoadSettingsTest, EveryKeyReachesItsField)
{
    load("[Initiation]\n"
         "Use ActiveMovie=0\n"
         "Use Default Video Window=1\n"
         "[Seek Settings]\n"
         "Seek Base Interval=300\n"
         "Seek Offset Increment=200\n"
         "Seek Max Offset=9000\n"
         "[Play Rate]\n"
         "Fast Forward Rate=2000\n"
         "Slow Forward Rate=250\n"
         "Fast Backward Rate=4000\n"
         "Slow Backward Rate=750\n"
         "[CD-Rom Settings]\n"
         "Eject CD-Rom Only=4\n"
         "Playback Control=6\n"
         "Entry Points As Chapters=5\n"
         "[PlayList Settings]\n"
         "Support PlayList Dialog When Play Button Pressed=0\n"
         "[Repeat Settings]\n"
         "Support Repeat-All Only=3\n"
         "[Volume Settings]\n"
         "Control Master Volume=2\n"
         "Max Volume Level=8\n"
         "Volume Interval=250\n");
    EXPECT_EQ(numbers(records.settings),
              (std::vector<uint32_t>{0, 1, 2, 8, 250, 3, 0, 4, 6, 5, 2000, 250, 4000, 750, 300, 200, 9000}));
}

TEST_F(LoadSettingsTest, BoundsAndReplacements)
{
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        SettingsField field;
        uint32_t expected;
        SettingMoment moment = SettingMoment::StartUp;
    };
    const SettingsField ff = &PlayerSettings::fastForwardRate;
    const SettingsField fb = &PlayerSettings::fastBackwardRate;
    const SettingsField sf = &PlayerSettings::slowForwardRate;
    const SettingsField sb = &PlayerSettings::slowBackwardRate;
    const SettingsField interval = &PlayerSettings::blinkTrackInterval;
    const SettingsField times = &PlayerSettings::blinkTrackTimes;
    const SettingsField autoReturn = &PlayerSettings::autoReturn;
    const SettingMoment panel = SettingMoment::Panel;
    const Case cases[] = {
        {"Play Rate", "Fast Forward Rate", "1000", ff, 3000},
        {"Play Rate", "Fast Forward Rate", "1001", ff, 1001},
        {"Play Rate", "Fast Forward Rate", "4999", ff, 4999},
        {"Play Rate", "Fast Forward Rate", "5000", ff, 3000},
        {"Play Rate", "Fast Forward Rate", "0", ff, 3000},
        {"Play Rate", "Fast Forward Rate", "-2000", ff, 3000},
        {"Play Rate", "Fast Backward Rate", "1000", fb, 3000},
        {"Play Rate", "Fast Backward Rate", "1001", fb, 1001},
        {"Play Rate", "Fast Backward Rate", "4999", fb, 4999},
        {"Play Rate", "Fast Backward Rate", "5000", fb, 3000},
        {"Play Rate", "Fast Backward Rate", "-1", fb, 3000},
        {"Play Rate", "Slow Forward Rate", "0", sf, 500},
        {"Play Rate", "Slow Forward Rate", "1", sf, 1},
        {"Play Rate", "Slow Forward Rate", "999", sf, 999},
        {"Play Rate", "Slow Forward Rate", "1000", sf, 500},
        {"Play Rate", "Slow Forward Rate", "-500", sf, 500},
        {"Play Rate", "Slow Backward Rate", "0", sb, 500},
        {"Play Rate", "Slow Backward Rate", "1", sb, 1},
        {"Play Rate", "Slow Backward Rate", "999", sb, 999},
        {"Play Rate", "Slow Backward Rate", "1000", sb, 500},
        {"Play Rate", "Slow Backward Rate", "-1", sb, 500},
        {"Volume Settings", "Max Volume Level", "0", &PlayerSettings::maxVolumeLevel, 16},
        {"Volume Settings", "Max Volume Level", "-1", &PlayerSettings::maxVolumeLevel, 4294967295u},
        {"Volume Settings", "Volume Interval", "0", &PlayerSettings::volumeInterval, 100},
        {"Volume Settings", "Volume Interval", "fast", &PlayerSettings::volumeInterval, 100},
        {"Seek Settings", "Seek Base Interval", "0", &PlayerSettings::seekBaseInterval, 500},
        {"Seek Settings", "Seek Offset Increment", "0", &PlayerSettings::seekOffsetIncrement, 500},
        {"Seek Settings", "Seek Max Offset", "0", &PlayerSettings::seekMaxOffset, 7000},
        {"Seek Settings", "Seek Max Offset", "1", &PlayerSettings::seekMaxOffset, 1},
        // Flags keep a 0: only the numbers above have a "0 means default" rule.
        {"PlayList Settings", "Support PlayList Dialog When Play Button Pressed", "0",
         &PlayerSettings::playListDialogOnPlay, 0},
        {"PlayList Settings", "Support PlayList Dialog When Play Button Pressed", "no",
         &PlayerSettings::playListDialogOnPlay, 0},
        {"Initiation", "Use ActiveMovie", "-1", &PlayerSettings::useActiveMovie, 4294967295u},
        {"SelectTrack Settings", "Blink Track Interval", "0", interval, 350, panel},
        {"SelectTrack Settings", "Blink Track Interval", "", interval, 350, panel},
        {"SelectTrack Settings", "Blink Track Interval", "200", interval, 200, panel},
        {"SelectTrack Settings", "Blink Track Times", "0", times, 5, panel},
        {"SelectTrack Settings", "Blink Track Times", "x", times, 5, panel},
        {"SelectTrack Settings", "Blink Track Times", "3", times, 3, panel},
        {"SelectTrack Settings", "Auto Return", "0", autoReturn, 0, panel},
        {"SelectTrack Settings", "Auto Return", "", autoReturn, 1, panel},
        {"SelectTrack Settings", "Auto Return", "7", autoReturn, 7, panel},
    };
    for (const Case& c : cases) {
        load(std::string("[") + c.section + "]\n" + c.key + "=" + c.value + "\n");
        Settings_ReadFor(records.settings, c.moment);
        EXPECT_EQ(records.settings.*c.field, c.expected) << c.key << "=" << c.value;
    }
}

TEST_F(LoadSettingsTest, RcPathJoinsTheExecutableFolder)
{
    struct Case {
        std::optional<std::string> config;
        std::string expected;  // behind exeDir
    };
    const Case cases[] = {
        {std::nullopt, ""},
        {"[Initiation]\n", ""},
        {"[Initiation]\nRC Path=\n", ""},
        {"[Initiation]\nRC Path=Skins\n", "Skins/"},
        {"[Initiation]\nRC Path=Skins/\n", "Skins/"},
        {"[Initiation]\nRC Path=Skins\\\n", "Skins/"},
        {"[Initiation]\nRC Path=..\\Skins\\Blue\n", "../Skins/Blue/"},
        {"[initiation]\nrc path = \"My Skins\" \n", "My Skins/"},
        {"[Initiation]\nRC Path=" + std::string(300, 'a') + "\n", std::string(255, 'a') + "/"},
    };
    for (const Case& c : cases) {
        load(c.config);
        EXPECT_EQ(records.settings.rcDir, exeDir_ + c.expected) << c.config.value_or("(no file)");
    }
}

// A configuration made on Windows names its file and folders in any case; what exists on the
// disk is what the paths hold, and a name that matches nothing stays as written.
TEST_F(LoadSettingsTest, ConfigurationAndSkinFolderFoundWithoutRegardToCase)
{
    fs::create_directories(dir_.file("bin/Skins/Blue"));
    fs::create_directories(dir_.file("Shared"));
    struct Case {
        std::string rcPath;
        std::string expected;  // behind exeDir
    };
    const Case cases[] = {
        {"skins\\BLUE", "Skins/Blue/"},
        {"SKINS/blue/", "Skins/Blue/"},
        {"Skins\\\\blue", "Skins/Blue/"},
        {"..\\shared", "../Shared/"},
        {"skins\\Gone", "skins/Gone/"},
    };
    for (const Case& c : cases) {
        dir_.write("bin/quintara.cfg", "[initiation]\nRC Path=" + c.rcPath + "\n[Volume Settings]\nMax Volume Level=9\n");
        load(std::nullopt);
        EXPECT_EQ(records.settings.cfgPath, exeDir_ + "quintara.cfg") << c.rcPath;
        EXPECT_EQ(records.settings.maxVolumeLevel, 9u) << c.rcPath;
        EXPECT_EQ(records.settings.rcDir, exeDir_ + c.expected) << c.rcPath;
    }

    // The name as written wins over one differing in case only.
    dir_.write("bin/Quintara.CFG", "[Volume Settings]\nMax Volume Level=4\n");
    LoadSettings(records.settings, records.windows.instance);
    EXPECT_EQ(records.settings.cfgPath, exeDir_ + "Quintara.CFG");
    EXPECT_EQ(records.settings.maxVolumeLevel, 4u);
}

TEST_F(LoadSettingsTest, LongExecutableFolderIsNotCut)
{
    const std::string deep = "bin/" + std::string(120, 'd') + "/" + std::string(120, 'e') + "/" + std::string(120, 'f');
    records.windows.instance = dir_.write(deep + "/quintara", "");
    dir_.write(deep + "/Quintara.CFG", "[Initiation]\nRC Path=Skins\n[Volume Settings]\nMax Volume Level=9\n");
    LoadSettings(records.settings, records.windows.instance);

    const std::string expected = fs::canonical(dir_.file(deep)).string() + "/";
    ASSERT_GT(expected.size(), 360u);
    EXPECT_EQ(records.settings.exeDir, expected);
    EXPECT_EQ(records.settings.cfgPath, expected + "Quintara.CFG");
    EXPECT_EQ(records.settings.rcDir, expected + "Skins/");
    EXPECT_EQ(records.settings.maxVolumeLevel, 9u);
}

TEST_F(LoadSettingsTest, SymlinkedExecutableResolvesToTheRealFolder)
{
    const std::string realExe = dir_.write("real/quintara", "");
    dir_.write("real/Quintara.CFG", "[Volume Settings]\nMax Volume Level=9\n");
    dir_.write("decoy/Quintara.CFG", "[Volume Settings]\nMax Volume Level=3\n");
    fs::create_directory_symlink(dir_.file("real"), dir_.file("linked"));
    fs::create_symlink(realExe, dir_.file("decoy/quintara"));
    const std::string realDir = fs::canonical(dir_.file("real")).string() + "/";

    for (const std::string& instance : {dir_.file("linked/quintara"), dir_.file("decoy/quintara")}) {
        records.windows.instance = instance;
        LoadSettings(records.settings, records.windows.instance);
        EXPECT_EQ(records.settings.exeDir, realDir) << instance;
        EXPECT_EQ(records.settings.maxVolumeLevel, 9u) << instance;
    }
}

TEST_F(LoadSettingsTest, WithoutAnInstanceUsesThisExecutable)
{
    const std::string self = ExecutablePath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(fs::path(self).filename(), "settings_tests");
    EXPECT_EQ(fs::canonical(self).string(), self);

    records.windows.instance.clear();
    LoadSettings(records.settings, records.windows.instance);
    EXPECT_EQ(records.settings.exeDir, fs::path(self).parent_path().string() + "/");
    EXPECT_EQ(records.settings.cfgPath, records.settings.exeDir + "Quintara.CFG");
}

TEST_F(LoadSettingsTest, TextsAreCutAndEmptyOnesTakeTheirDefaults)
{
    struct Case {
        SettingMoment moment;
        std::string line;  // its section, then its key
        std::string PlayerSettings::*field;
        std::string expected;
    };
    const Case cases[] = {
        {SettingMoment::Panel, "[Panel]\nAP Name=", &PlayerSettings::panelTitle, "Video Player"},
        {SettingMoment::Panel, "[panel]\nap name = \"Deck\" ", &PlayerSettings::panelTitle, "Deck"},
        {SettingMoment::Panel, "[Panel]\nAP Name=" + std::string(300, 'p'), &PlayerSettings::panelTitle,
         std::string(255, 'p')},
        {SettingMoment::VideoWindow, "[Video]\nAP Name=", &PlayerSettings::videoTitle, "Video Window"},
        {SettingMoment::VideoWindow, "[VIDEO]\nAP NAME=Screen", &PlayerSettings::videoTitle, "Screen"},
        {SettingMoment::PlayList, "[PlayList Settings]\nPlay File Extentsion List=",
         &PlayerSettings::playFileExtensions, "DAT,MPG,AVI"},
        {SettingMoment::PlayList, "[PlayList Settings]\nPlay File Extentsion List=mp4, MKV",
         &PlayerSettings::playFileExtensions, "mp4, MKV"},
        {SettingMoment::Help, "[Initiation]\nHelp File=", &PlayerSettings::helpFile, ""},
        {SettingMoment::Help, "[Initiation]\nHelp File=" + std::string(200, 'h'), &PlayerSettings::helpFile,
         std::string(127, 'h')},
    };
    for (const Case& c : cases) {
        load(c.line + "\n");
        records.settings.*c.field = "stale";
        Settings_ReadFor(records.settings, c.moment);
        EXPECT_EQ(records.settings.*c.field, c.expected) << c.line;
    }
}

// Each moment reads its own keys from the file as it is then, and leaves the others alone.
TEST_F(LoadSettingsTest, EachMomentReadsItsOwnKeysAfresh)
{
    const auto config = [](const std::string& tag) {
        return "[Volume Settings]\nMax Volume Level=" + tag + "\n[Panel]\nAP Name=Deck" + tag +
               "\n[SelectTrack Settings]\nBlink Track Times=" + tag + "\n[Video]\nAP Name=Screen" + tag +
               "\n[PlayList Settings]\nPlay File Extentsion List=MKV" + tag + "\n[Initiation]\nHelp File=help" + tag +
               "\n";
    };
    const auto seen = [this] {
        const PlayerSettings& s = records.settings;
        return std::vector<std::string>{std::to_string(s.maxVolumeLevel), s.panelTitle, std::to_string(s.blinkTrackTimes),
                                        s.videoTitle, s.playFileExtensions, s.helpFile};
    };
    using Seen = std::vector<std::string>;
    dir_.write("bin/Quintara.CFG", config("2"));
    LoadSettings(records.settings, records.windows.instance);
    EXPECT_EQ(seen(), (Seen{"2", "Video Player", "5", "Video Window", "DAT,MPG,AVI", ""}));

    struct Step {
        std::optional<std::string> config;  // written before the moment; none removes the file
        SettingMoment moment;
        Seen expected;
    };
    const Step steps[] = {
        {config("3"), SettingMoment::Panel, {"2", "Deck3", "3", "Video Window", "DAT,MPG,AVI", ""}},
        {config("4"), SettingMoment::VideoWindow, {"2", "Deck3", "3", "Screen4", "DAT,MPG,AVI", ""}},
        {config("5"), SettingMoment::PlayList, {"2", "Deck3", "3", "Screen4", "MKV5", ""}},
        {config("6"), SettingMoment::Help, {"2", "Deck3", "3", "Screen4", "MKV5", "help6"}},
        {config("7"), SettingMoment::StartUp, {"7", "Deck3", "3", "Screen4", "MKV5", "help6"}},
        {std::nullopt, SettingMoment::Help, {"7", "Deck3", "3", "Screen4", "MKV5", ""}},
        {std::nullopt, SettingMoment::Panel, {"7", "Video Player", "5", "Screen4", "MKV5", ""}},
    };
    for (const Step& step : steps) {
        std::error_code ignored;
        fs::remove(records.settings.cfgPath, ignored);
        if (step.config)
            dir_.write("bin/Quintara.CFG", *step.config);
        Settings_ReadFor(records.settings, step.moment);
        EXPECT_EQ(seen(), step.expected) << static_cast<int>(step.moment);
    }
}

}  // namespace
