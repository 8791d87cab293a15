#pragma once

#include <memory>

#include "components/discbay/discbay_core.h"

// The CD-ROM drive component of this desktop: the drive table of the machine, the kernel and
// the disk service for the physical drives, and the watchers that make it look again. tables
// gives the drive table as the player sees it now.
std::unique_ptr<DiscbayCore> MakeLinuxDiscbay(DriveTableSource& tables);
