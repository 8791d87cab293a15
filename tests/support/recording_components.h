#pragma once

#include <string>
#include <vector>

#include "context/components.h"

// Every call the recorders below receive, in order, as "Name(args)".
using Journal = std::vector<std::string>;

class RecordingReelkit : public ReelkitEngine {
public:
    explicit RecordingReelkit(Journal& journal) : journal_(journal) {}
    uint32_t initResult = 1;

    uint32_t init(uint32_t useActiveMovie) override;
    uint32_t deInit() override { return note("Reelkit_DeInit"); }
    void open(Window*, const std::string& path) override { emit openAnswered(note("Reelkit_Open(" + path + ")") != 0); }
    uint32_t close() override { return note("Reelkit_Close"); }
    uint32_t getLength(uint32_t*) override { return 0; }
    uint32_t play() override { return note("Reelkit_Play"); }
    uint32_t pause() override { return note("Reelkit_Pause"); }
    uint32_t stop() override { return note("Reelkit_Stop"); }
    uint32_t stopAndSeekToStart() override { return note("Reelkit_StopAndSeekToStart"); }
    uint32_t getStatus(uint16_t*) override { return 0; }
    uint32_t getCurrentPosition(uint32_t*) override { return 0; }
    uint32_t seek(uint32_t) override { return 0; }
    uint32_t getRate(int32_t*) override { return 0; }
    uint32_t setRate(int32_t) override { return 0; }
    uint32_t setAudioProperties(Window*, const uint32_t*, const uint32_t*, const uint32_t*) override { return 0; }
    uint32_t getAudioProperties(Window*, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
    uint32_t mpegAudioDecoderConfig(Window*) override { return 0; }
    uint32_t resetImageSize() override { return 0; }

private:
    uint32_t note(const std::string& call)
    {
        journal_.push_back(call);
        return 1;
    }
    Journal& journal_;
};

class RecordingSonokit : public SonokitMixer {
public:
    explicit RecordingSonokit(Journal& journal) : journal_(journal) {}
    // The ids the mixer gives the mute and volume controls of each line.
    uint32_t muteId(uint32_t line) const { return 100 + line; }
    uint32_t volumeId(uint32_t line) const { return 200 + line; }

    uint32_t getValue(uint32_t, uint32_t, uint32_t, std::vector<uint32_t>*) override { return 0; }
    uint32_t setValue(uint32_t, uint32_t, uint32_t, const std::vector<uint32_t>&) override { return 0; }
    uint32_t getMaxMinValue(uint32_t, uint32_t, uint32_t, uint32_t*, uint32_t*) override { return 0; }
    uint32_t getControlId(uint32_t mixer, uint32_t line, uint32_t kind, uint32_t* controlId) override;
    uint32_t hookDevice(Window*, uint32_t mixer) override;
    uint32_t unHookDevice(Window*, uint32_t mixer) override;

private:
    Journal& journal_;
};

class RecordingDiscbay : public DiscbayDrives {
public:
    explicit RecordingDiscbay(Journal& journal) : journal_(journal) {}
    uint32_t init(Window*, uint32_t message) override;
    uint32_t deInit(Window*) override;
    uint32_t deviceChange(uint32_t event, const DeviceHeader* header) override;
    uint32_t getTotalCDRomDrives(uint32_t*) override { return 0; }
    uint32_t getCDRomDrive(uint32_t, uint32_t*) override { return 0; }
    uint32_t isCDRomDoorOpen(uint32_t, uint32_t*) override { return 0; }
    uint32_t openCDRomDoor(uint32_t, uint32_t) override { return 0; }

private:
    Journal& journal_;
};

class RecordingNestwell : public NestwellStore {
public:
    explicit RecordingNestwell(Journal& journal) : journal_(journal) {}
    uint32_t setUserProfileInfo(const char* user, const std::string& applicationKey) override;
    uint32_t getProfileString(const std::string&, const std::string&, std::string*, size_t) override { return 0; }
    uint32_t setProfileString(const std::string&, const std::string&, const std::string&) override { return 0; }

private:
    Journal& journal_;
};

class RecordingHublet : public HubletDesktop {
public:
    explicit RecordingHublet(Journal& journal) : journal_(journal) {}
    uint32_t registeredMessage = 0xC123;
    uint32_t executeCommand(uint32_t, const std::string& path, uint32_t, uint32_t) override;
    uint32_t setWindowToForeground(Window*) override { return 0; }
    uint32_t retrieveRegisterWindowMessage(uint32_t) override;

private:
    Journal& journal_;
};

// Installs a recorder for every component, all writing to the journal.
void InstallRecordingComponents(Journal& journal);
