#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "components/components.h"

// A media engine whose answers a test sets: what it plays, where it stands, which paths it
// cannot open and which calls it refuses. It keeps a log of every call that acts (queries
// are not logged), as "name" or "name(argument)".
class ScriptedEngine : public ReelkitEngine {
public:
    // What the engine reports. A status or rate written here stands until a call changes it.
    uint16_t status = 0;
    uint32_t position = 0;
    int32_t rate = 1000;
    bool isOpen = false;
    std::string openPath;
    // Lengths by path; any other opened path gets defaultLength.
    std::map<std::string, uint32_t> lengths;
    uint32_t defaultLength = 60'000;
    uint32_t length = 0;
    // Paths that Open refuses, and calls that answer 0 by name ("getStatus", "play", …).
    std::set<std::string> failingPaths;
    std::set<std::string> failingCalls;
    // The audio properties a file reports; files without audio report the not-available values.
    bool hasAudio = true;
    uint32_t soundQuality = 0, audioChannel = 0, soundChannel = 0;

    // With answerLater, an open waits for answerOpen(), as libmpv's do.
    bool answerLater = false;
    void answerOpen();
    bool openAwaited() const { return awaited_.has_value(); }

    std::vector<std::string> log;
    // Paths opened with success, in order.
    std::vector<std::string> openedPaths;

    // The open file has played to its end: the engine reports stopped there.
    void reachEnd();
    // How many logged calls are exactly this entry.
    int count(const std::string& entry) const;

    bool init(bool) override { return true; }
    bool deInit() override { return true; }
    void open(Window* imageWindow, const std::string& path, OpenAs as) override;
    bool close() override;
    std::optional<uint32_t> getLength() override;
    bool play() override;
    bool pause() override;
    bool stop() override;
    bool stopAndSeekToStart() override;
    std::optional<uint16_t> getStatus() override;
    std::optional<uint32_t> getCurrentPosition() override;
    bool seek(uint32_t to) override;
    std::optional<int32_t> getRate() override;
    bool setRate(int32_t to) override;
    bool setAudioProperties(Window* panel, const AudioWish& wish) override;
    std::optional<AudioChoice> getAudioProperties(Window* panel) override;
    bool mpegAudioDecoderConfig(Window*) override { return act("mpegAudioDecoderConfig"); }
    bool resetImageSize() override { return act("resetImageSize"); }

private:
    // Logs an acting call; answers whether it goes through.
    bool act(const std::string& name, const std::string& argument = {});
    bool refuses(const std::string& name) const { return failingCalls.contains(name); }
    uint16_t runningStatus() const;
    bool take(const std::string& path);

    std::optional<std::string> awaited_;
};
