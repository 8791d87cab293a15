#include "tests/support/recording_components.h"

#include "components/components.h"
#include "core/device_change.h"

bool RecordingReelkit::init(bool useActiveMovie)
{
    journal_.push_back("Reelkit_Init(" + std::to_string(useActiveMovie) + ")");
    return initResult;
}

std::optional<uint32_t> RecordingSonokit::getControlId(uint32_t, uint32_t line, uint32_t kind)
{
    if (kind > 1)
        return {};
    return kind == 0 ? muteId(line) : volumeId(line);
}

bool RecordingSonokit::hookDevice(Window*, uint32_t mixer)
{
    journal_.push_back("Sonokit_HookDevice(" + std::to_string(mixer) + ")");
    return true;
}

bool RecordingSonokit::unHookDevice(Window*, uint32_t mixer)
{
    journal_.push_back("Sonokit_UnHookDevice(" + std::to_string(mixer) + ")");
    return true;
}

bool RecordingDiscbay::init(Window*, uint32_t message)
{
    journal_.push_back("Discbay_Init(" + std::to_string(message) + ")");
    return true;
}

bool RecordingDiscbay::deInit(Window*)
{
    journal_.push_back("Discbay_DeInit");
    return true;
}

bool RecordingDiscbay::deviceChange(uint32_t event, const DeviceHeader* header)
{
    journal_.push_back("Discbay_DeviceChange(" + std::to_string(event) + "," +
                       std::to_string(header ? header->unitMask : 0) + ")");
    return true;
}

bool RecordingNestwell::setUserProfileInfo(const char* user, const std::string& applicationKey)
{
    journal_.push_back("Nestwell_SetUserProfileInfo(" + std::string(user ? user : "<none>") + "," + applicationKey +
                       ")");
    return true;
}

bool RecordingHublet::executeCommand(const std::string& path)
{
    journal_.push_back("Hublet_ExecuteCommand(" + path + ")");
    return true;
}

uint32_t RecordingHublet::retrieveRegisterWindowMessage()
{
    journal_.push_back("Hublet_RetrieveRegisterWindowMessage");
    return registeredMessage;
}

void InstallRecordingComponents(Components& components, Journal& journal)
{
    components.reelkit = std::make_unique<RecordingReelkit>(journal);
    components.sonokit = std::make_unique<RecordingSonokit>(journal);
    components.discbay = std::make_unique<RecordingDiscbay>(journal);
    components.nestwell = std::make_unique<RecordingNestwell>(journal);
    components.hublet = std::make_unique<RecordingHublet>(journal);
}
