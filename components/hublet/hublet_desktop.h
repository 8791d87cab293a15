#pragma once

#include <cstdint>
#include <string>

#include "components/hublet/hublet.h"

// The common desktop functions on Qt: files open with the desktop's default application,
// windows come forward through the window system.
class HubletQtDesktop : public HubletDesktop {
public:
    // Answers 0 for an empty path or one that names nothing; otherwise whether the desktop
    // accepted the file. owner, parameters and show are not used.
    uint32_t executeCommand(uint32_t owner, const std::string& path, uint32_t parameters, uint32_t show) override;
    // Restores a minimised window (keeping a maximised or full-screen state), raises and
    // activates it. Answers 0 for no window, one that is not a widget, or a hidden one.
    uint32_t setWindowToForeground(Window* window) override;
    // RegisteredMessageId(); reserved is not used.
    uint32_t retrieveRegisterWindowMessage(uint32_t reserved) override;
};

// The registered message's id: in 0xC000..0xFFFF and the same in every process, so that
// another program can deliver it through the single-instance channel.
uint32_t RegisteredMessageId();
