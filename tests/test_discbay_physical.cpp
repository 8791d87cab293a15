// Physical CD-ROM drives through a scripted drive layer, their discs' mounts fed to the drive
// table by the test; and the real drive layer where it can run without a drive.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/player_records.h"
#include "core/ini_file.h"
#include "components/discbay/cdrom_devices.h"
#include "components/discbay/disc_watchers.h"
#include "components/discbay/discbay_core.h"
#include "components/discbay/kernel_drive_hardware.h"
#include "components/discbay/udisks_client.h"
#include "components/discbay/drive_table.h"
#include "tests/support/recording_window.h"
#include "tests/support/temp_dir.h"
#include "tests/test_discbay_support.h"

namespace fs = std::filesystem;

namespace {

constexpr uint32_t drive(char letter)
{
    return static_cast<uint32_t>(letter - 'A');
}

const std::string kSr0 = "/dev/sr0";
const std::string kSr1 = "/dev/sr1";

// D: is sr0 and E: sr1, V: a folder bound as a CD-ROM drive.
class DiscbayPhysical : public testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    void SetUp() override
    {
        dir_.write("cdrom0/MPEGAV/AVSEQ01.DAT", "x");
        dir_.write("cdrom1/MPEGAV/AVSEQ01.DAT", "x");
        auto scripted = std::make_unique<ScriptedDrives>();
        hardware_ = scripted.get();
        drives_ = std::make_unique<DiscbayCore>(std::move(scripted), table_);
    }


    void mount(const std::string& device)
    {
        mounts_.push_back({dir_.file(device == kSr0 ? "cdrom0" : "cdrom1"), "iso9660", device});
    }
    void start() { ASSERT_TRUE(drives_->init(&window_, msg::DiscEvent)); }
    std::vector<Message> taken() { return std::exchange(window_.posted, {}); }
    std::vector<Message> look()
    {
        drives_->rescan();
        return taken();
    }

    TempDir dir_;
    std::vector<MountPoint> mounts_;
    ManualClock clock_;
    RecordingWindow window_{clock_};
    ScriptedDrives* hardware_ = nullptr;
    TableOf table_{[this] {
        return DriveTable::build("/home/me", "me", {kSr0, kSr1}, mounts_,
                                 IniFile::parse("[Drives]\nV: = " + dir_.file("v") + "\n"));
    }};
    std::unique_ptr<DiscbayCore> drives_;
};

TEST_F(DiscbayPhysical, TheDevicesComeFirstInDeviceOrder)
{
    EXPECT_EQ(drives_->getTotalCDRomDrives(), 3u);
    const uint32_t wanted[] = {drive('D'), drive('E'), drive('V')};
    for (uint32_t ordinal = 1; ordinal <= 3; ++ordinal)
        EXPECT_EQ(drives_->getCDRomDrive(ordinal), wanted[ordinal - 1]) << ordinal;
}

TEST_F(DiscbayPhysical, TheMachinesTableTakesTheDevicesTheSystemLists)
{
    records.drives.setDeviceList(std::make_unique<ListedDevices>(std::vector<std::string>{kSr0, kSr1}));
    records.settings.cfgPath = dir_.write("Quintara.CFG", "[Drives]\nD: = " + dir_.file("v") + "\n");
    DiscbayCore machine(std::make_unique<ScriptedDrives>(), records.drives);
    EXPECT_EQ(machine.getTotalCDRomDrives(), 3u);
    // The bound D: stays; the devices take the letters after it.
    const uint32_t wanted[] = {drive('D'), drive('E'), drive('F')};
    for (uint32_t ordinal = 1; ordinal <= 3; ++ordinal)
        EXPECT_EQ(machine.getCDRomDrive(ordinal), wanted[ordinal - 1]);
}

TEST_F(DiscbayPhysical, TheDoorIsWhatTheDriveTells)
{
    for (const std::optional<bool> door : {std::optional<bool>{true}, std::optional<bool>{false}, std::optional<bool>{}}) {
        hardware_->doors[kSr1] = door;
        EXPECT_EQ(drives_->isCDRomDoorOpen(drive('E')), door);
    }
    EXPECT_EQ(hardware_->log, std::vector<std::string>(3, "doorOpen(" + kSr1 + ")"));
}

TEST_F(DiscbayPhysical, EjectingAMountedDiscAsksTheDiskServiceAndTheKernelOnlyWithoutOne)
{
    struct Case {
        UdisksResult udisks;
        bool kernel;
        std::vector<std::string> log;
    };
    const std::string unmount = "unmountAndEject(" + kSr0 + ")";
    const Case cases[] = {
        {UdisksResult::Done, true, {unmount}},
        {UdisksResult::Failed, true, {unmount}},
        {UdisksResult::Unavailable, true, {unmount, "eject(" + kSr0 + ")"}},
        {UdisksResult::Unavailable, false, {unmount, "eject(" + kSr0 + ")"}},
    };
    mount(kSr0);
    for (const Case& c : cases) {
        hardware_->log.clear();
        hardware_->udisks = c.udisks;
        hardware_->kernelAnswers = c.kernel;
        // The door call does not wait for the service; a second press meanwhile asks nothing more.
        EXPECT_TRUE(drives_->openCDRomDoor(drive('D'), 1));
        EXPECT_TRUE(drives_->openCDRomDoor(drive('D'), 1));
        EXPECT_EQ(hardware_->log, std::vector<std::string>{unmount});
        hardware_->answer();
        EXPECT_EQ(hardware_->log, c.log);
    }
}

TEST_F(DiscbayPhysical, EjectingAnEmptyDriveAndClosingAskTheKernel)
{
    struct Case {
        bool open;
        bool kernel;
        bool answer;
        std::string request;
    };
    const Case cases[] = {
        {true, true, true, "eject(" + kSr1 + ")"},
        {true, false, false, "eject(" + kSr1 + ")"},
        {false, true, true, "closeTray(" + kSr1 + ")"},
        {false, false, false, "closeTray(" + kSr1 + ")"},
    };
    mount(kSr0);  // the other drive's disc changes nothing
    for (const Case& c : cases) {
        hardware_->log.clear();
        hardware_->kernelAnswers = c.kernel;
        EXPECT_EQ(drives_->openCDRomDoor(drive('E'), c.open), c.answer);
        EXPECT_EQ(hardware_->log, std::vector<std::string>{c.request});
    }
}

TEST_F(DiscbayPhysical, AMountArrivesAndItsEndIsGone)
{
    mount(kSr0);
    start();
    EXPECT_TRUE(taken().empty()) << "a disc mounted at the start is no event";
    mount(kSr1);
    EXPECT_EQ(look(), (std::vector<Message>{{msg::DiscEvent, drive('E'), 0}}));
    EXPECT_TRUE(look().empty());
    mounts_.clear();
    EXPECT_EQ(look(), (std::vector<Message>{{msg::DiscEvent, drive('D'), 1}, {msg::DiscEvent, drive('E'), 1}}));
}

TEST_F(DiscbayPhysical, AnEjectThatUnmountsTellsTheDiscGoneWhenTheServiceAnswers)
{
    mount(kSr0);
    start();
    hardware_->whenUnmounted = [this] { mounts_.clear(); };
    ASSERT_TRUE(drives_->openCDRomDoor(drive('D'), 1));
    EXPECT_TRUE(taken().empty()) << "still mounted";
    hardware_->answer();
    EXPECT_EQ(taken(), (std::vector<Message>{{msg::DiscEvent, drive('D'), 1}}));
    EXPECT_EQ(drives_->takeGoneRoots(drive('D')), std::vector<std::string>{dir_.file("cdrom0")});
}

TEST_F(DiscbayPhysical, ADataDiscThatNothingMountsIsMounted)
{
    struct Case {
        const char* what;
        MediumNotice notice;
        bool mounted;
        bool asks;
    };
    const Case cases[] = {
        {"a data disc", {kSr1, true, "iso9660", "filesystem"}, false, true},
        {"a disc without a usage", {kSr1, true, "udf", ""}, false, true},
        {"an audio disc", {kSr1, true, "", ""}, false, false},
        {"something else than data", {kSr1, true, "crypto_LUKS", "crypto"}, false, false},
        {"no disc", {kSr1, false, "", ""}, false, false},
        {"a disc mounted already", {kSr1, true, "iso9660", "filesystem"}, true, false},
        {"a device that is no drive here", {"/dev/sr7", true, "iso9660", "filesystem"}, false, false},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mounts_.clear();
        if (c.mounted)
            mount(kSr1);
        drives_->rescan();
        taken();
        hardware_->log.clear();
        drives_->mediumChanged(c.notice);
        EXPECT_EQ(hardware_->log, c.asks ? std::vector<std::string>{"requestMount(" + kSr1 + ")"}
                                         : std::vector<std::string>{});
    }
}

TEST_F(DiscbayPhysical, AMediumNoticeLooksAgainAndNothingHappensWithoutInit)
{
    const MediumNotice data{kSr1, true, "iso9660", "filesystem"};
    drives_->mediumChanged(data);
    EXPECT_TRUE(hardware_->log.empty()) << "not started";
    start();
    mount(kSr1);  // someone else mounted it first
    drives_->mediumChanged(data);
    EXPECT_TRUE(hardware_->log.empty());
    EXPECT_EQ(taken(), (std::vector<Message>{{msg::DiscEvent, drive('E'), 0}}));
}

TEST_F(DiscbayPhysical, WithoutAHardwareLayerTheDoorsRefuseButMountsAreStillTold)
{
    TableOf table([this] { return DriveTable::build("/home/me", "me", {kSr0}, mounts_, IniFile::parse("")); });
    DiscbayCore bare(nullptr, table);
    ASSERT_TRUE(bare.init(&window_, msg::DiscEvent));
    EXPECT_FALSE(bare.isCDRomDoorOpen(drive('D')));
    EXPECT_FALSE(bare.openCDRomDoor(drive('D'), true));
    EXPECT_FALSE(bare.openCDRomDoor(drive('D'), false));
    bare.mediumChanged({kSr0, true, "iso9660", "filesystem"});
    mount(kSr0);
    bare.rescan();
    EXPECT_EQ(taken(), (std::vector<Message>{{msg::DiscEvent, drive('D'), 0}}));
}

TEST(DeviceOrder, NumbersCountByTheirValue)
{
    std::vector<std::string> nodes = {"/dev/sr10", "/dev/sr2", "/dev/sr0", "/dev/sr9", "/dev/sr1", "/dev/sr11"};
    std::sort(nodes.begin(), nodes.end(), DeviceNodeLess);
    EXPECT_EQ(nodes, (std::vector<std::string>{"/dev/sr0", "/dev/sr1", "/dev/sr2", "/dev/sr9", "/dev/sr10", "/dev/sr11"}));
    EXPECT_FALSE(DeviceNodeLess("/dev/sr1", "/dev/sr1"));
    EXPECT_TRUE(DeviceNodeLess("/dev/scd9", "/dev/sr0"));
}

TEST(KernelDriveHardware, WhatIsNoDriveAnswersNothing)
{
    TempDir dir;
    const QDBusConnection noBus = QDBusConnection::connectToBus(QStringLiteral("unix:path=") + QString::fromStdString(dir.file("no-bus")),
                                                               QStringLiteral("quintara-no-bus"));
    ASSERT_FALSE(noBus.isConnected());
    KernelDriveHardware hardware{UdisksClient(noBus, 100)};
    for (const std::string& device : {dir.write("plain", "x"), dir.file("missing"), dir.path()}) {
        SCOPED_TRACE(device);
        EXPECT_EQ(hardware.doorOpen(device), std::nullopt);
        EXPECT_FALSE(hardware.eject(device));
        EXPECT_FALSE(hardware.closeTray(device));
        std::optional<UdisksResult> ejected;
        hardware.unmountAndEject(device, [&](UdisksResult result) { ejected = result; });
        EXPECT_FALSE(ejected) << "the answer comes on the event loop";
        hardware.requestMount(device);
        for (int turn = 0; turn < 1000 && !ejected; ++turn)
            QCoreApplication::processEvents();
        EXPECT_EQ(ejected, UdisksResult::Unavailable) << "no service to ask";
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("quintara-no-bus"));
}

// The file system's notices alone: the slow look is an hour away.
TEST(DiscWatchers, ABoundFolderIsHeardFillingEmptyingGoingAndComingBack)
{
    PlayerRecords records;
    TempDir dir;
    fs::create_directories(dir.file("v"));
    records.settings.cfgPath = dir.write("Quintara.CFG", "[Drives]\nV: = " + dir.file("v") + "\nW: = " +
                                                           dir.file("w/deeper/disc") + "\n");
    ManualClock clock;
    RecordingWindow window{clock};
    DiscbayCore drives(std::make_unique<ScriptedDrives>(), records.drives, {.system = true, .slowLookMs = 3'600'000});
    ASSERT_TRUE(drives.init(&window, msg::DiscEvent));
    const auto heard = [&](std::vector<Message> wanted) {
        for (QDeadlineTimer deadline(10000); window.posted.size() < wanted.size() && !deadline.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        return std::exchange(window.posted, {}) == wanted;
    };
    const Message vIn{msg::DiscEvent, drive('V'), 0};
    const Message vOut{msg::DiscEvent, drive('V'), 1};
    const Message wIn{msg::DiscEvent, drive('W'), 0};
    dir.write("v/a.dat", "x");
    EXPECT_TRUE(heard({vIn})) << "filled";
    fs::remove(dir.file("v/a.dat"));
    EXPECT_TRUE(heard({vOut})) << "emptied";
    dir.write("v/a.dat", "x");
    EXPECT_TRUE(heard({vIn}));
    fs::remove_all(dir.file("v"));
    EXPECT_TRUE(heard({vOut})) << "the folder went";
    dir.write("v/MPEGAV/a.dat", "x");
    EXPECT_TRUE(heard({vIn})) << "and came back";
    dir.write("w/deeper/disc/MPEGAV/a.dat", "x");
    EXPECT_TRUE(heard({wIn})) << "a folder whose parents were missing too";
    drives.deInit(&window);
    fs::remove_all(dir.file("v"));
    for (int turn = 0; turn < 20; ++turn)
        QCoreApplication::processEvents();
    EXPECT_TRUE(window.posted.empty()) << "stopped watching";
}

}  // namespace
