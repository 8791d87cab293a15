#pragma once

#include <cstdint>
#include <string>

#include "components/hublet/hublet.h"

// The common desktop functions on Qt: files open with the desktop's default application,
// windows come forward through the window system.
class HubletQtDesktop : public HubletDesktop {
public:
    // False for an empty path or one that names nothing; otherwise whether the desktop
    // accepted the file.
    bool executeCommand(const std::string& path) override;
    // Restores a minimised window (keeping a maximised or full-screen state), raises and
    // activates it. False for no window, one that is not a widget, or a hidden one.
    bool setWindowToForeground(Window* window) override;
    // RegisteredMessageId().
    uint32_t retrieveRegisterWindowMessage() override;
};

// The registered message's id: in 0xC000..0xFFFF and the same in every process, so that
// another program can deliver it through the single-instance channel.
uint32_t RegisteredMessageId();
