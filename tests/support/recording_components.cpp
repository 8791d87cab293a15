#include "tests/support/recording_components.h"

#include "playback/tracks.h"

#include "context/app_context.h"
#include "core/device_change.h"

uint32_t RecordingReelkit::init(uint32_t useActiveMovie)
{
    journal_.push_back("Reelkit_Init(" + std::to_string(useActiveMovie) + ")");
    return initResult;
}

uint32_t RecordingSonokit::getControlId(uint32_t, uint32_t line, uint32_t kind, uint32_t* controlId)
{
    if (kind > 1)
        return 0;
    *controlId = kind == 0 ? muteId(line) : volumeId(line);
    return 1;
}

uint32_t RecordingSonokit::hookDevice(Window*, uint32_t mixer)
{
    journal_.push_back("Sonokit_HookDevice(" + std::to_string(mixer) + ")");
    return 1;
}

uint32_t RecordingSonokit::unHookDevice(Window*, uint32_t mixer)
{
    journal_.push_back("Sonokit_UnHookDevice(" + std::to_string(mixer) + ")");
    return 1;
}

uint32_t RecordingDiscbay::init(Window*, uint32_t message)
{
    journal_.push_back("Discbay_Init(" + std::to_string(message) + ")");
    return 1;
}

uint32_t RecordingDiscbay::deInit(Window*)
{
    journal_.push_back("Discbay_DeInit");
    return 1;
}

uint32_t RecordingDiscbay::deviceChange(uint32_t event, const DeviceHeader* header)
{
    journal_.push_back("Discbay_DeviceChange(" + std::to_string(event) + "," +
                       std::to_string(header ? header->unitMask : 0) + ")");
    return 1;
}

uint32_t RecordingNestwell::setUserProfileInfo(const char* user, const std::string& applicationKey)
{
    journal_.push_back("Nestwell_SetUserProfileInfo(" + std::string(user ? user : "<none>") + "," + applicationKey +
                       ")");
    return 1;
}

uint32_t RecordingHublet::executeCommand(uint32_t, const std::string& path, uint32_t, uint32_t)
{
    journal_.push_back("Hublet_ExecuteCommand(" + path + ")");
    return 1;
}

uint32_t RecordingHublet::retrieveRegisterWindowMessage(uint32_t)
{
    journal_.push_back("Hublet_RetrieveRegisterWindowMessage");
    return registeredMessage;
}

void InstallRecordingComponents(Journal& journal)
{
    Components& components = app().components;
    auto engine = std::make_unique<RecordingReelkit>(journal);
    HearEngine(*engine);
    components.reelkit = std::move(engine);
    components.sonokit = std::make_unique<RecordingSonokit>(journal);
    components.discbay = std::make_unique<RecordingDiscbay>(journal);
    components.nestwell = std::make_unique<RecordingNestwell>(journal);
    components.hublet = std::make_unique<RecordingHublet>(journal);
}
