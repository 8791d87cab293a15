#include "components/discbay/discbay_linux.h"

#include "components/discbay/kernel_drive_hardware.h"

std::unique_ptr<DiscbayCore> MakeLinuxDiscbay(DriveTableSource& tables)
{
    return std::make_unique<DiscbayCore>(std::make_unique<KernelDriveHardware>(), tables,
                                         DiscWatching{.system = true});
}
