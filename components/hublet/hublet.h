#pragma once

#include <cstdint>
#include <string>

class Window;

// Common desktop functions.
class HubletDesktop {
public:
    virtual ~HubletDesktop() = default;
    // Opens a document with the desktop's default application.
    virtual bool executeCommand(const std::string& path) = 0;
    virtual bool setWindowToForeground(Window* window) = 0;
    // The id of the message other programs deliver through the single-instance channel.
    virtual uint32_t retrieveRegisterWindowMessage() = 0;
};

// No desktop: nothing opens or comes forward, and there is no registered message.
class NoDesktop : public HubletDesktop {
public:
    bool executeCommand(const std::string&) override { return false; }
    bool setWindowToForeground(Window*) override { return false; }
    uint32_t retrieveRegisterWindowMessage() override { return 0; }
};
