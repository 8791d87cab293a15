#pragma once

#include <cstdint>
#include <string>

class Window;

// Common desktop functions.
class HubletDesktop {
public:
    virtual ~HubletDesktop() = default;
    // Opens a document with the desktop's default application.
    virtual uint32_t executeCommand(uint32_t owner, const std::string& path, uint32_t parameters,
                                    uint32_t show) = 0;
    virtual uint32_t setWindowToForeground(Window* window) = 0;
    // The id of the message other programs deliver through the single-instance channel.
    virtual uint32_t retrieveRegisterWindowMessage(uint32_t reserved) = 0;
};
