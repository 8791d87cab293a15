#include "components/discbay/discbay_linux.h"

#include "components/discbay/disc_watchers.h"
#include "components/discbay/kernel_drive_hardware.h"

std::unique_ptr<DiscbayCore> MakeLinuxDiscbay(DiscbayCore::TableSource tables)
{
    return std::make_unique<DiscbayCore>(std::make_unique<KernelDriveHardware>(), std::move(tables),
                                         [](DiscbayCore& core) { return std::make_unique<DiscWatchers>(core); });
}
