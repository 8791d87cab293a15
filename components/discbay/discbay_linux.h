#pragma once

#include <memory>

#include "components/discbay/discbay_core.h"

// The CD-ROM drive component of this desktop: the drive table of the machine, the kernel and
// the disk service for the physical drives, and the watchers that make it look again.
std::unique_ptr<DiscbayCore> MakeLinuxDiscbay();
