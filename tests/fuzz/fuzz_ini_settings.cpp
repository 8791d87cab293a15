// The configuration file: the INI reader itself, every start-up setting read from it, and the
// drive table's "Drives" section on top of it.
#include <cstdint>
#include <string>

#include "components/discbay/drive_table.h"
#include "core/settings.h"
#include "core/ini_file.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

void probeReader(const IniFile& file)
{
    for (const char* section : {"Initiation", "Drives", "PlayList Settings", "Volume Settings", "Panel"}) {
        for (const char* key : {"RC Path", "D:", "Play File Extentsion List", "Max Volume Level", ""}) {
            (void)file.value(section, key);
            (void)file.intValue(section, key, 7);
            for (size_t buffer : {0, 1, 2, 5, 256})
                (void)file.text(section, key, buffer);
        }
    }
}

void probeDrives(const IniFile& file)
{
    const std::string home = fuzz::Scratch() + "/home";
    const std::vector<MountPoint> mounts = {{"/media/me/DISC", "iso9660", "/dev/sr1"}, {"/mnt/share", "nfs", "srv:/x"}};
    const DriveTable table = DriveTable::build(home, "me", {"/dev/sr0", "/dev/sr1"}, mounts, file,
                                               {fuzz::Scratch() + "/none.cue"});
    for (uint32_t drive = 0; drive < kDriveCount; ++drive) {
        const DriveSlot& slot = table.slot(drive);
        (void)table.isCdRomDrive(drive);
        (void)table.presentRoot(drive, [](uint32_t) { return false; });
        if (!slot.root.empty())
            (void)table.driveOf(slot.root + "/MPEGAV/AVSEQ01.DAT");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes = fuzz::Bytes(data, size);
    probeReader(IniFile::parse(bytes));

    fuzz::WriteFile("bin/Quintara.CFG", bytes);
    PlayerSettings settings = Settings_Defaults();
    LoadSettings(settings, fuzz::Scratch() + "/bin/quintara");
    const IniFile loaded = IniFile::load(settings.cfgPath);
    probeDrives(loaded);
    return 0;
}
