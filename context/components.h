#pragma once

#include <memory>

#include "components/discbay/discbay.h"
#include "components/hublet/hublet.h"
#include "components/maskcut/maskcut.h"
#include "components/nestwell/nestwell.h"
#include "components/reelkit/reelkit.h"
#include "components/sonokit/sonokit.h"

// The outside components in use. One that is absent refuses every call (answers 0).
struct Components {
    std::unique_ptr<ReelkitEngine> reelkit;
    std::unique_ptr<SonokitMixer> sonokit;
    std::unique_ptr<DiscbayDrives> discbay;
    std::unique_ptr<NestwellStore> nestwell;
    std::unique_ptr<MaskcutRegions> maskcut;
    std::unique_ptr<HubletDesktop> hublet;
};

// The components' operations, forwarded to the implementation in use.

uint32_t Reelkit_Init(uint32_t useActiveMovie);
uint32_t Reelkit_DeInit();
// Asks the engine to open the file; false without an engine. The answer comes by the engine's
// openAnswered.
bool Reelkit_Open(Window* imageWindow, const std::string& path);
uint32_t Reelkit_Close();
uint32_t Reelkit_GetLength(uint32_t* length);
uint32_t Reelkit_Play();
uint32_t Reelkit_Pause();
uint32_t Reelkit_Stop();
uint32_t Reelkit_StopAndSeekToStart();
uint32_t Reelkit_GetStatus(uint16_t* status);
uint32_t Reelkit_GetCurrentPosition(uint32_t* position);
uint32_t Reelkit_Seek(uint32_t position);
uint32_t Reelkit_GetRate(int32_t* rate);
uint32_t Reelkit_SetRate(int32_t rate);
uint32_t Reelkit_SetAudioProperties(Window* panel, const uint32_t* soundQuality, const uint32_t* audioChannel,
                                    const uint32_t* soundChannel);
uint32_t Reelkit_GetAudioProperties(Window* panel, uint32_t* soundQuality, uint32_t* audioChannel,
                                    uint32_t* soundChannel);
uint32_t Reelkit_MPEGAudioDecoderConfig(Window* owner);
uint32_t Reelkit_ResetImageSize();

uint32_t Sonokit_GetValue(uint32_t mixer, uint32_t line, uint32_t kind, std::vector<uint32_t>* values);
uint32_t Sonokit_SetValue(uint32_t mixer, uint32_t line, uint32_t kind, const std::vector<uint32_t>& values);
uint32_t Sonokit_GetMaxMinValue(uint32_t mixer, uint32_t line, uint32_t kind, uint32_t* maximum, uint32_t* minimum,
                                uint32_t reserved);
void Sonokit_FreeValueItems(std::vector<uint32_t>* values);
uint32_t Sonokit_GetControlID(uint32_t mixer, uint32_t line, uint32_t kind, uint32_t* controlId);
uint32_t Sonokit_HookDevice(Window* window, uint32_t mixer);
uint32_t Sonokit_UnHookDevice(Window* window, uint32_t mixer);

uint32_t Discbay_Init(Window* mainWindow, uint32_t message);
uint32_t Discbay_DeInit(Window* mainWindow);
uint32_t Discbay_DeviceChange(uint32_t event, const DeviceHeader* header);
uint32_t Discbay_GetTotalCDRomDrives(uint32_t* count);
uint32_t Discbay_GetCDRomDrive(uint32_t ordinal, uint32_t* drive);
uint32_t Discbay_IsCDRomDoorOpen(uint32_t drive, uint32_t* open);
uint32_t Discbay_OpenCDRomDoor(uint32_t drive, uint32_t open);
// The folders the drive held when it last posted "gone", let go by the call.
std::vector<std::string> Discbay_TakeGoneRoots(uint32_t drive);

uint32_t Nestwell_SetUserProfileInfo(const char* user, const std::string& applicationKey);
// Answers nonzero when the entry exists; the text is cut to bufferSize - 1 bytes.
uint32_t Nestwell_GetProfileString(const std::string& section, const std::string& key, std::string* text,
                                   size_t bufferSize = 256);
uint32_t Nestwell_SetProfileString(const std::string& section, const std::string& key, const std::string& text);

std::optional<Region> Maskcut_CreateRegionByBitmap(const Bitmap& picture, uint32_t reserved, uint32_t keyColour,
                                                   uint32_t outside, uint32_t flags);

uint32_t Hublet_ExecuteCommand(uint32_t owner, const std::string& path, uint32_t parameters, uint32_t show);
uint32_t Hublet_SetWindowToForeground(Window* window);
uint32_t Hublet_RetrieveRegisterWindowMessage(uint32_t reserved);
