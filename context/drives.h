#pragma once

#include <cstdint>

#include "components/discbay/drive_table.h"

// The drive table as the player sees it now: the CD-ROM drives the system lists, the disc
// images opened as drives and the configuration's bindings.
DriveTable CurrentDrives();
// Whether the drive component in use reports the drive's door open.
bool DriveDoorOpen(uint32_t drive);
