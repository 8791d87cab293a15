#pragma once

#include <cstdint>
#include <string>

#include "playback/drive_menu.h"

// Picks a drive: with one CD-ROM drive its item goes to the panel at once, with several a
// popup at the pointer offers them (the load form's items are 41000 + drive, the eject
// form's 42000 + drive). Without a panel or a drive nothing happens.
bool ShowDiscMenu(DiscMenuForm form);
// Stops what plays or is paused; with nothing loaded or stopped, offers the eject.
bool StopOrEject();
// Moves a drive's door; before it opens, the drive's entries leave the play list. False when
// the door's state cannot be read.
bool SetDoorState(uint32_t drive, DoorState door);

// "<D:> LABEL", or "<D:>" without a label.
std::string DiscMenuItemText(uint32_t drive, const std::string& label);
