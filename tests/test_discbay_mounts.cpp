// The mount table's own change notice reaching the component. Mounting needs a private mount
// namespace, which only a privileged test process can make; elsewhere the test is skipped.

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "components/discbay/disc_watchers.h"
#include "components/discbay/discbay_core.h"
#include "components/discbay/drive_table.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"
#include "tests/test_discbay_support.h"

namespace {

// The mount's source stands for the drive's device node, as a disc's mount names its device.
const std::string kDevice = "quintara-test-disc";

DriveTable machineWithTheTestDrive()
{
    std::ifstream in("/proc/self/mountinfo");
    std::stringstream text;
    text << in.rdbuf();
    return DriveTable::build("/home/me", "me", {kDevice}, ParseMountInfo(text.str()), IniFile::parse(""));
}

TEST(DiscWatchers, AMountOfTheDrivesDeviceIsToldWithoutWaitingForTheTimer)
{
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        GTEST_SKIP() << "no private mount namespace for this process";
    TempDir dir;
    ManualClock clock;
    RecordingWindow window{clock};
    // The timer would find the mount too, but not within the test.
    TableOf machine(machineWithTheTestDrive);
    DiscbayCore drives(std::make_unique<ScriptedDrives>(), machine, {.system = true, .slowLookMs = 3'600'000});
    ASSERT_TRUE(drives.init(&window, msg::DiscEvent));
    const auto turns = [&](size_t wanted) {
        for (int turn = 0; turn < 1000 && window.posted.size() < wanted; ++turn)
            QCoreApplication::processEvents();
    };

    ASSERT_EQ(::mount(kDevice.c_str(), dir.path().c_str(), "tmpfs", 0, nullptr), 0);
    turns(1);
    EXPECT_EQ(window.posted, (std::vector<Message>{{msg::DiscEvent, 'D' - 'A', 0}}));
    ASSERT_EQ(::umount(dir.path().c_str()), 0);
    turns(2);
    EXPECT_EQ(window.posted,
              (std::vector<Message>{{msg::DiscEvent, 'D' - 'A', 0}, {msg::DiscEvent, 'D' - 'A', 1}}));
    drives.deInit(&window);
}

}  // namespace
