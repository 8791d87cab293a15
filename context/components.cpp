// The components' calls, forwarded to whichever implementation is in use.
#include "context/components.h"

#include <utility>

#include "context/app_context.h"

namespace {
template <class Component, class Method, class... Args>
uint32_t forward(const std::unique_ptr<Component>& component, Method method, Args&&... args)
{
    return component ? ((*component).*method)(std::forward<Args>(args)...) : 0;
}

Components& parts()
{
    return app().components;
}
}  // namespace

uint32_t Reelkit_Init(uint32_t useActiveMovie) { return forward(parts().reelkit, &ReelkitEngine::init, useActiveMovie); }
uint32_t Reelkit_DeInit() { return forward(parts().reelkit, &ReelkitEngine::deInit); }
bool Reelkit_Open(Window* imageWindow, const std::string& path)
{
    if (!parts().reelkit)
        return false;
    parts().reelkit->open(imageWindow, path);
    return true;
}
uint32_t Reelkit_Close() { return forward(parts().reelkit, &ReelkitEngine::close); }
uint32_t Reelkit_GetLength(uint32_t* length) { return forward(parts().reelkit, &ReelkitEngine::getLength, length); }
uint32_t Reelkit_Play() { return forward(parts().reelkit, &ReelkitEngine::play); }
uint32_t Reelkit_Pause() { return forward(parts().reelkit, &ReelkitEngine::pause); }
uint32_t Reelkit_Stop() { return forward(parts().reelkit, &ReelkitEngine::stop); }
uint32_t Reelkit_StopAndSeekToStart() { return forward(parts().reelkit, &ReelkitEngine::stopAndSeekToStart); }
uint32_t Reelkit_GetStatus(uint16_t* status) { return forward(parts().reelkit, &ReelkitEngine::getStatus, status); }
uint32_t Reelkit_GetCurrentPosition(uint32_t* position)
{
    return forward(parts().reelkit, &ReelkitEngine::getCurrentPosition, position);
}
uint32_t Reelkit_Seek(uint32_t position) { return forward(parts().reelkit, &ReelkitEngine::seek, position); }
uint32_t Reelkit_GetRate(int32_t* rate) { return forward(parts().reelkit, &ReelkitEngine::getRate, rate); }
uint32_t Reelkit_SetRate(int32_t rate) { return forward(parts().reelkit, &ReelkitEngine::setRate, rate); }
uint32_t Reelkit_SetAudioProperties(Window* panel, const uint32_t* soundQuality, const uint32_t* audioChannel,
                                    const uint32_t* soundChannel)
{
    return forward(parts().reelkit, &ReelkitEngine::setAudioProperties, panel, soundQuality, audioChannel,
                   soundChannel);
}
uint32_t Reelkit_GetAudioProperties(Window* panel, uint32_t* soundQuality, uint32_t* audioChannel,
                                    uint32_t* soundChannel)
{
    return forward(parts().reelkit, &ReelkitEngine::getAudioProperties, panel, soundQuality, audioChannel,
                   soundChannel);
}
uint32_t Reelkit_MPEGAudioDecoderConfig(Window* owner)
{
    return forward(parts().reelkit, &ReelkitEngine::mpegAudioDecoderConfig, owner);
}
uint32_t Reelkit_ResetImageSize() { return forward(parts().reelkit, &ReelkitEngine::resetImageSize); }

uint32_t Sonokit_GetValue(uint32_t mixer, uint32_t line, uint32_t kind, std::vector<uint32_t>* values)
{
    return forward(parts().sonokit, &SonokitMixer::getValue, mixer, line, kind, values);
}
uint32_t Sonokit_SetValue(uint32_t mixer, uint32_t line, uint32_t kind, const std::vector<uint32_t>& values)
{
    return forward(parts().sonokit, &SonokitMixer::setValue, mixer, line, kind, values);
}
uint32_t Sonokit_GetMaxMinValue(uint32_t mixer, uint32_t line, uint32_t kind, uint32_t* maximum, uint32_t* minimum,
                                uint32_t /*reserved*/)
{
    return forward(parts().sonokit, &SonokitMixer::getMaxMinValue, mixer, line, kind, maximum, minimum);
}
void Sonokit_FreeValueItems(std::vector<uint32_t>* values)
{
    if (values)
        std::vector<uint32_t>().swap(*values);
}
uint32_t Sonokit_GetControlID(uint32_t mixer, uint32_t line, uint32_t kind, uint32_t* controlId)
{
    return forward(parts().sonokit, &SonokitMixer::getControlId, mixer, line, kind, controlId);
}
uint32_t Sonokit_HookDevice(Window* window, uint32_t mixer)
{
    return forward(parts().sonokit, &SonokitMixer::hookDevice, window, mixer);
}
uint32_t Sonokit_UnHookDevice(Window* window, uint32_t mixer)
{
    return forward(parts().sonokit, &SonokitMixer::unHookDevice, window, mixer);
}

uint32_t Discbay_Init(Window* mainWindow, uint32_t message)
{
    return forward(parts().discbay, &DiscbayDrives::init, mainWindow, message);
}
uint32_t Discbay_DeInit(Window* mainWindow) { return forward(parts().discbay, &DiscbayDrives::deInit, mainWindow); }
uint32_t Discbay_DeviceChange(uint32_t event, const DeviceHeader* header)
{
    return forward(parts().discbay, &DiscbayDrives::deviceChange, event, header);
}
uint32_t Discbay_GetTotalCDRomDrives(uint32_t* count)
{
    return forward(parts().discbay, &DiscbayDrives::getTotalCDRomDrives, count);
}
uint32_t Discbay_GetCDRomDrive(uint32_t ordinal, uint32_t* drive)
{
    return forward(parts().discbay, &DiscbayDrives::getCDRomDrive, ordinal, drive);
}
uint32_t Discbay_IsCDRomDoorOpen(uint32_t drive, uint32_t* open)
{
    return forward(parts().discbay, &DiscbayDrives::isCDRomDoorOpen, drive, open);
}
uint32_t Discbay_OpenCDRomDoor(uint32_t drive, uint32_t open)
{
    return forward(parts().discbay, &DiscbayDrives::openCDRomDoor, drive, open);
}
std::vector<std::string> Discbay_TakeGoneRoots(uint32_t drive)
{
    return parts().discbay ? parts().discbay->takeGoneRoots(drive) : std::vector<std::string>{};
}

uint32_t Nestwell_SetUserProfileInfo(const char* user, const std::string& applicationKey)
{
    return forward(parts().nestwell, &NestwellStore::setUserProfileInfo, user, applicationKey);
}
uint32_t Nestwell_GetProfileString(const std::string& section, const std::string& key, std::string* text,
                                   size_t bufferSize)
{
    return forward(parts().nestwell, &NestwellStore::getProfileString, section, key, text, bufferSize);
}
uint32_t Nestwell_SetProfileString(const std::string& section, const std::string& key, const std::string& text)
{
    return forward(parts().nestwell, &NestwellStore::setProfileString, section, key, text);
}

std::optional<Region> Maskcut_CreateRegionByBitmap(const Bitmap& picture, uint32_t reserved, uint32_t keyColour,
                                                   uint32_t outside, uint32_t flags)
{
    if (!parts().maskcut)
        return std::nullopt;
    return parts().maskcut->createRegionByBitmap(picture, reserved, keyColour, outside, flags);
}

uint32_t Hublet_ExecuteCommand(uint32_t owner, const std::string& path, uint32_t parameters, uint32_t show)
{
    return forward(parts().hublet, &HubletDesktop::executeCommand, owner, path, parameters, show);
}
uint32_t Hublet_SetWindowToForeground(Window* window)
{
    return forward(parts().hublet, &HubletDesktop::setWindowToForeground, window);
}
uint32_t Hublet_RetrieveRegisterWindowMessage(uint32_t reserved)
{
    return forward(parts().hublet, &HubletDesktop::retrieveRegisterWindowMessage, reserved);
}
