#pragma once

#include <string>
#include <vector>

#include "components/components.h"

// Every call the recorders below receive, in order, as "Name(args)".
using Journal = std::vector<std::string>;

class RecordingReelkit : public ReelkitEngine {
public:
    explicit RecordingReelkit(Journal& journal) : journal_(journal) {}
    bool initResult = true;

    bool init(bool useActiveMovie) override;
    bool deInit() override { return note("Reelkit_DeInit"); }
    void open(Window*, const std::string& path, OpenAs) override { emit openAnswered(note("Reelkit_Open(" + path + ")")); }
    bool close() override { return note("Reelkit_Close"); }
    std::optional<uint32_t> getLength() override { return {}; }
    bool play() override { return note("Reelkit_Play"); }
    bool pause() override { return note("Reelkit_Pause"); }
    bool stop() override { return note("Reelkit_Stop"); }
    bool stopAndSeekToStart() override { return note("Reelkit_StopAndSeekToStart"); }
    std::optional<uint16_t> getStatus() override { return {}; }
    std::optional<uint32_t> getCurrentPosition() override { return {}; }
    bool seek(uint32_t) override { return false; }
    std::optional<int32_t> getRate() override { return {}; }
    bool setRate(int32_t) override { return false; }
    bool setAudioProperties(Window*, const AudioWish&) override { return false; }
    std::optional<AudioChoice> getAudioProperties(Window*) override { return {}; }
    bool mpegAudioDecoderConfig(Window*) override { return false; }
    bool resetImageSize() override { return false; }

private:
    bool note(const std::string& call)
    {
        journal_.push_back(call);
        return true;
    }
    Journal& journal_;
};

class RecordingSonokit : public NoMixer {
public:
    explicit RecordingSonokit(Journal& journal) : journal_(journal) {}
    // The ids the mixer gives the mute and volume controls of each line.
    uint32_t muteId(uint32_t line) const { return 100 + line; }
    uint32_t volumeId(uint32_t line) const { return 200 + line; }

    std::optional<uint32_t> getControlId(uint32_t mixer, uint32_t line, uint32_t kind) override;
    bool hookDevice(Window*, uint32_t mixer) override;
    bool unHookDevice(Window*, uint32_t mixer) override;

private:
    Journal& journal_;
};

class RecordingDiscbay : public NoDrives {
public:
    explicit RecordingDiscbay(Journal& journal) : journal_(journal) {}
    bool init(Window*, uint32_t message) override;
    bool deInit(Window*) override;
    bool deviceChange(uint32_t event, const DeviceHeader* header) override;

private:
    Journal& journal_;
};

class RecordingNestwell : public NoStore {
public:
    explicit RecordingNestwell(Journal& journal) : journal_(journal) {}
    bool setUserProfileInfo(const char* user, const std::string& applicationKey) override;

private:
    Journal& journal_;
};

class RecordingHublet : public NoDesktop {
public:
    explicit RecordingHublet(Journal& journal) : journal_(journal) {}
    uint32_t registeredMessage = 0xC123;
    bool executeCommand(const std::string& path) override;
    uint32_t retrieveRegisterWindowMessage() override;

private:
    Journal& journal_;
};

// Installs a recorder for every component, all writing to the journal.
void InstallRecordingComponents(Components& components, Journal& journal);
