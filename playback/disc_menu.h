#pragma once

#include <cstdint>
#include <string>

#include "playback/drive_menu.h"

// "<D:> LABEL", or "<D:>" without a label.
std::string DiscMenuItemText(uint32_t drive, const std::string& label);
