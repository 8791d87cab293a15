#include "components/discbay/discbay_core.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "components/discbay/disc_watchers.h"
#include "core/window.h"

namespace {
// Only the low 16 bits of a drive index or an ordinal count.
constexpr uint32_t kIndexMask = 0xFFFF;

std::vector<uint32_t> cdRomDrives(const DriveTable& table)
{
    std::vector<uint32_t> drives;
    for (uint32_t drive = 0; drive < kDriveCount; ++drive) {
        if (table.isCdRomDrive(drive))
            drives.push_back(drive);
    }
    return drives;
}
}  // namespace

std::string DriveIdentity(const DriveSlot& slot)
{
    if (!slot.device.empty())
        return "device " + slot.device;
    return (slot.image ? "image " : "folder ") + slot.root;
}

bool HoldsDataFileSystem(const MediumNotice& notice)
{
    return notice.medium && !notice.fileSystem.empty() && (notice.usage.empty() || notice.usage == "filesystem");
}

DiscbayCore::DiscbayCore(std::unique_ptr<DriveHardware> hardware, DriveTableSource& tables, DiscWatching watching)
    : hardware_(std::move(hardware)), tables_(tables), watching_(watching)
{
}

DiscbayCore::~DiscbayCore()
{
    // The watchers call back into this object; they go first.
    watch_.reset();
}

bool DiscbayCore::init(Window* mainWindow, uint32_t message)
{
    if (!mainWindow)
        return false;
    watch_.reset();
    window_ = mainWindow;
    message_ = message;
    seen_ = {};
    // Every drive takes what it holds now without an event.
    rescan();
    if (watching_.system)
        watch_ = std::make_unique<DiscWatchers>(*this, watching_.slowLookMs);
    return true;
}

bool DiscbayCore::deInit(Window* /*mainWindow*/)
{
    watch_.reset();
    window_ = nullptr;
    seen_ = {};
    goneRoots_ = {};
    return true;
}

bool DiscbayCore::deviceChange(uint32_t /*event*/, const DeviceHeader* /*header*/)
{
    rescan();
    return true;
}

std::optional<uint32_t> DiscbayCore::getTotalCDRomDrives()
{
    return static_cast<uint32_t>(cdRomDrives(tables_.current()).size());
}

std::optional<uint32_t> DiscbayCore::getCDRomDrive(uint32_t ordinal)
{
    ordinal &= kIndexMask;
    const std::vector<uint32_t> drives = cdRomDrives(tables_.current());
    if (ordinal == 0 || ordinal > drives.size())
        return {};
    return drives[ordinal - 1];
}

std::optional<bool> DiscbayCore::isCDRomDoorOpen(uint32_t drive)
{
    drive &= kIndexMask;
    if (drive >= kDriveCount)
        return {};
    const DriveTable table = currentTable();
    if (!table.isCdRomDrive(drive))
        return {};
    const DriveSlot& slot = table.slot(drive);
    if (slot.device.empty())
        return keptDoorOpen(drive, DriveIdentity(slot));
    return hardware_ ? hardware_->doorOpen(slot.device) : std::nullopt;
}

bool DiscbayCore::openCDRomDoor(uint32_t drive, bool open)
{
    drive &= kIndexMask;
    if (drive >= kDriveCount)
        return false;
    const DriveTable table = tables_.current();
    if (!table.isCdRomDrive(drive))
        return false;
    const DriveSlot& slot = table.slot(drive);
    bool done = true;
    if (slot.device.empty()) {
        doors_[drive] = {DriveIdentity(slot), open};
    } else if (!hardware_) {
        done = false;
    } else if (!open) {
        done = hardware_->closeTray(slot.device);
    } else if (!slot.root.empty()) {
        // Under way: the disc's "gone" notice tells when it is out.
        ejectMounted(drive, slot.device);
    } else {
        done = hardware_->eject(slot.device);
    }
    // What the move took out or put back is told at once.
    rescan();
    return done;
}

void DiscbayCore::ejectMounted(uint32_t drive, const std::string& device)
{
    // A second press while the service is busy with the first asks nothing more.
    if (ejecting_[drive])
        return;
    ejecting_[drive] = true;
    // A mounted disc is let go by the disk service, which unmounts it cleanly; the kernel
    // refuses to eject what is mounted. The hardware layer is ours, so its answers end with it.
    hardware_->unmountAndEject(device, [this, drive, device](UdisksResult result) {
        ejecting_[drive] = false;
        if (result == UdisksResult::Unavailable)
            hardware_->eject(device);
        rescan();
    });
}

void DiscbayCore::rescan()
{
    if (!window_)
        return;
    const DriveTable table = tables_.current();
    // The table asks this component for the doors while it is looked at; it answers from the
    // same table instead of building another one for each drive.
    scanning_ = &table;
    for (uint32_t drive = 0; drive < kDriveCount; ++drive) {
        std::optional<Seen> now;
        if (table.isCdRomDrive(drive))
            now = Seen{DriveIdentity(table.slot(drive)), holds(table, drive), table.slot(drive).root,
                       table.slot(drive).device.empty()};
        const std::optional<Seen>& before = seen_[drive];
        // A drive seen for the first time takes its state silently; one that went away or
        // became another drive takes its disc with it.
        const bool same = before && now && before->identity == now->identity;
        if (before && before->present && !(same && now->present)) {
            keepGoneRoot(drive, *before);
            post(drive, true);
        } else if (same && !before->present && now->present) {
            post(drive, false);
        }
        seen_[drive] = std::move(now);
    }
    scanning_ = nullptr;
    if (watch_)
        watch_->looked();
}

std::vector<std::string> DiscbayCore::boundRoots() const
{
    std::vector<std::string> roots;
    for (const std::optional<Seen>& seen : seen_) {
        if (seen && seen->bound)
            roots.push_back(seen->root);
    }
    return roots;
}

void DiscbayCore::mediumChanged(const MediumNotice& notice)
{
    if (!window_)
        return;
    const DriveTable table = tables_.current();
    for (uint32_t drive = 0; drive < kDriveCount; ++drive) {
        const DriveSlot& slot = table.slot(drive);
        if (hardware_ && slot.device == notice.device && !notice.device.empty() && slot.root.empty() &&
            HoldsDataFileSystem(notice))
            hardware_->requestMount(notice.device);
    }
    rescan();
}

DriveTable DiscbayCore::currentTable() const
{
    return scanning_ ? *scanning_ : tables_.current();
}

bool DiscbayCore::keptDoorOpen(uint32_t drive, const std::string& identity) const
{
    return doors_[drive].open && doors_[drive].identity == identity;
}

bool DiscbayCore::holds(const DriveTable& table, uint32_t drive) const
{
    const DriveSlot& slot = table.slot(drive);
    return table.presentRoot(drive).has_value() &&
           !(slot.device.empty() && keptDoorOpen(drive, DriveIdentity(slot)));
}

std::vector<std::string> DiscbayCore::takeGoneRoots(uint32_t drive)
{
    drive &= kIndexMask;
    return drive < kDriveCount ? std::exchange(goneRoots_[drive], {}) : std::vector<std::string>{};
}

void DiscbayCore::keepGoneRoot(uint32_t drive, const Seen& before)
{
    std::vector<std::string>& roots = goneRoots_[drive];
    if (!before.root.empty() && std::find(roots.begin(), roots.end(), before.root) == roots.end())
        roots.push_back(before.root);
}

void DiscbayCore::post(uint32_t drive, bool gone)
{
    window_->post({message_, drive, gone ? 1 : 0});
}
