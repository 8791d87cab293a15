#include "context/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "context/app_context.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

using SettingsField = uint32_t PlayerSettings::*;

// Every number LoadSettings sets, in the order of the record.
const SettingsField kAllFields[] = {
    &PlayerSettings::controlMasterVolume, &PlayerSettings::maxVolumeLevel,
    &PlayerSettings::volumeInterval,      &PlayerSettings::repeatAllOnly,
    &PlayerSettings::playListDialogOnPlay, &PlayerSettings::ejectCdRomOnly,
    &PlayerSettings::fastForwardRate,     &PlayerSettings::slowForwardRate,
    &PlayerSettings::fastBackwardRate,    &PlayerSettings::slowBackwardRate,
    &PlayerSettings::seekBaseInterval,    &PlayerSettings::seekOffsetIncrement,
    &PlayerSettings::seekMaxOffset,
};

std::vector<uint32_t> numbers(const PlayerSettings& settings)
{
    std::vector<uint32_t> out;
    for (const SettingsField field : kAllFields)
        out.push_back(settings.*field);
    return out;
}

class LoadSettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        resetApp();
        app().windows.instance = dir_.write("bin/quintara", "");
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
            app().settings.*field = 123456;
        app().settings.exeDir = app().settings.cfgPath = app().settings.rcDir = "stale";
        LoadSettings();
    }

    TempDir dir_;
    std::string exeDir_;
};

TEST_F(LoadSettingsTest, NoFileGivesDefaultsAndPathsBesideTheExecutable)
{
    load(std::nullopt);
    EXPECT_EQ(app().settings.exeDir, exeDir_);
    EXPECT_EQ(app().settings.cfgPath, exeDir_ + "Quintara.CFG");
    EXPECT_EQ(app().settings.rcDir, exeDir_);
    EXPECT_EQ(numbers(app().settings),
              (std::vector<uint32_t>{0, 16, 100, 0, 1, 0, 3000, 500, 3000, 500, 500, 500, 7000}));
}

TEST_F(LoadSettingsTest, EveryKeyReachesItsField)
{
    load("[Seek Settings]\n"
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
         "[PlayList Settings]\n"
         "Support PlayList Dialog When Play Button Pressed=0\n"
         "[Repeat Settings]\n"
         "Support Repeat-All Only=3\n"
         "[Volume Settings]\n"
         "Control Master Volume=2\n"
         "Max Volume Level=8\n"
         "Volume Interval=250\n");
    EXPECT_EQ(numbers(app().settings),
              (std::vector<uint32_t>{2, 8, 250, 3, 0, 4, 2000, 250, 4000, 750, 300, 200, 9000}));
}

TEST_F(LoadSettingsTest, BoundsAndReplacements)
{
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        SettingsField field;
        uint32_t expected;
    };
    const SettingsField ff = &PlayerSettings::fastForwardRate;
    const SettingsField fb = &PlayerSettings::fastBackwardRate;
    const SettingsField sf = &PlayerSettings::slowForwardRate;
    const SettingsField sb = &PlayerSettings::slowBackwardRate;
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
    };
    for (const Case& c : cases) {
        load(std::string("[") + c.section + "]\n" + c.key + "=" + c.value + "\n");
        EXPECT_EQ(app().settings.*c.field, c.expected) << c.key << "=" << c.value;
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
        EXPECT_EQ(app().settings.rcDir, exeDir_ + c.expected) << c.config.value_or("(no file)");
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
        EXPECT_EQ(app().settings.cfgPath, exeDir_ + "quintara.cfg") << c.rcPath;
        EXPECT_EQ(app().settings.maxVolumeLevel, 9u) << c.rcPath;
        EXPECT_EQ(app().settings.rcDir, exeDir_ + c.expected) << c.rcPath;
    }

    // The name as written wins over one differing in case only.
    dir_.write("bin/Quintara.CFG", "[Volume Settings]\nMax Volume Level=4\n");
    LoadSettings();
    EXPECT_EQ(app().settings.cfgPath, exeDir_ + "Quintara.CFG");
    EXPECT_EQ(app().settings.maxVolumeLevel, 4u);
}

TEST_F(LoadSettingsTest, LongExecutableFolderIsNotCut)
{
    const std::string deep = "bin/" + std::string(120, 'd') + "/" + std::string(120, 'e') + "/" + std::string(120, 'f');
    app().windows.instance = dir_.write(deep + "/quintara", "");
    dir_.write(deep + "/Quintara.CFG", "[Initiation]\nRC Path=Skins\n[Volume Settings]\nMax Volume Level=9\n");
    LoadSettings();

    const std::string expected = fs::canonical(dir_.file(deep)).string() + "/";
    ASSERT_GT(expected.size(), 360u);
    EXPECT_EQ(app().settings.exeDir, expected);
    EXPECT_EQ(app().settings.cfgPath, expected + "Quintara.CFG");
    EXPECT_EQ(app().settings.rcDir, expected + "Skins/");
    EXPECT_EQ(app().settings.maxVolumeLevel, 9u);
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
        app().windows.instance = instance;
        LoadSettings();
        EXPECT_EQ(app().settings.exeDir, realDir) << instance;
        EXPECT_EQ(app().settings.maxVolumeLevel, 9u) << instance;
    }
}

TEST_F(LoadSettingsTest, WithoutAnInstanceUsesThisExecutable)
{
    const std::string self = ExecutablePath();
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(fs::path(self).filename(), "settings_tests");
    EXPECT_EQ(fs::canonical(self).string(), self);

    app().windows.instance.clear();
    LoadSettings();
    EXPECT_EQ(app().settings.exeDir, fs::path(self).parent_path().string() + "/");
    EXPECT_EQ(app().settings.cfgPath, app().settings.exeDir + "Quintara.CFG");
}

TEST_F(LoadSettingsTest, ResetsOnlyThePlaybackFieldsOfTheState)
{
    using Field32 = uint32_t PlayerState::*;
    using Flag = bool PlayerState::*;
    const Field32 cleared[] = {
        &PlayerState::trackCount,         &PlayerState::currentTrack,       &PlayerState::position,
        &PlayerState::length,             &PlayerState::wantedSoundQuality, &PlayerState::wantedAudioChannel,
        &PlayerState::wantedSoundChannel, &PlayerState::volumeLeft,         &PlayerState::volumeRight,
    };
    const Flag clearedFlags[] = {&PlayerState::muted, &PlayerState::volumeHeldUp, &PlayerState::seekHeldForward};
    const Field32 kept[] = {
        &PlayerState::enteredNumber,     &PlayerState::seekTarget,        &PlayerState::seekStep,
        &PlayerState::seekInterval,      &PlayerState::shownSoundQuality, &PlayerState::shownAudioChannel,
        &PlayerState::shownSoundChannel,
    };
    const Flag keptFlags[] = {&PlayerState::entryActive, &PlayerState::seekIdle, &PlayerState::videoTopmost};
    PlayerState& state = app().state;
    for (const Field32 field : cleared)
        state.*field = 7;
    for (const Field32 field : kept)
        state.*field = 7;
    for (const Flag flag : clearedFlags)
        state.*flag = true;
    for (const Flag flag : keptFlags)
        state.*flag = true;
    state.entryBlinkOn = false;
    state.repeatMode = RepeatMode::Track;
    state.status = 2;
    state.seekSavedStatus = 2;

    load(std::nullopt);
    for (const Field32 field : cleared)
        EXPECT_EQ(state.*field, 0u);
    for (const Field32 field : kept)
        EXPECT_EQ(state.*field, 7u);
    for (const Flag flag : clearedFlags)
        EXPECT_FALSE(state.*flag);
    for (const Flag flag : keptFlags)
        EXPECT_TRUE(state.*flag);
    EXPECT_FALSE(state.entryBlinkOn);
    EXPECT_EQ(state.repeatMode, RepeatMode::Off);
    EXPECT_EQ(state.status, 0);
    EXPECT_EQ(state.seekSavedStatus, 2);
}

TEST_F(LoadSettingsTest, ReadConfigReadsTheFileAtEachCall)
{
    // Before LoadSettings there is no file to read.
    EXPECT_EQ(ReadConfigInt("Initiation", "Use ActiveMovie", 1), 1u);
    EXPECT_EQ(ReadConfigText("Initiation", "Help File", 128), "");

    load("[Initiation]\nUse ActiveMovie=0\nUse Default Video Window=1\nHelp File=help.html\n");
    EXPECT_EQ(ReadConfigInt("Initiation", "Use ActiveMovie", 1), 0u);
    EXPECT_EQ(ReadConfigInt("initiation", "use default video window", 0), 1u);
    EXPECT_EQ(ReadConfigText("Initiation", "Help File", 128), "help.html");

    dir_.write("bin/Quintara.CFG", "[Initiation]\nUse ActiveMovie=-1\nHelp File=" + std::string(200, 'h') + "\n");
    EXPECT_EQ(ReadConfigInt("Initiation", "Use ActiveMovie", 1), 4294967295u);
    EXPECT_EQ(ReadConfigInt("Initiation", "Use Default Video Window", 0), 0u);
    EXPECT_EQ(ReadConfigText("Initiation", "Help File", 128), std::string(127, 'h'));

    fs::remove(app().settings.cfgPath);
    EXPECT_EQ(ReadConfigInt("Initiation", "Use ActiveMovie", 1), 1u);
    EXPECT_EQ(ReadConfigText("Initiation", "Help File", 128), "");
}

}  // namespace
