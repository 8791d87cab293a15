#pragma once

#include <QObject>

#include <cstdint>
#include <optional>
#include <string>

#include "components/reelkit/audio_choice.h"

class Window;

// What an open is for. A still (a Video CD's picture item) ends as soon as its picture shows,
// however short its stream, and the picture stays; its sound, when it has any, plays to its
// end. A one-picture stream opened as a file is too short to count as anything to play.
enum class OpenAs { File, Still };

// The media engine. Times are milliseconds, rates thousandths of normal speed (negative
// backward). Status: 0 stopped (also at the end), 1 paused, 2 playing, 3 another forward
// rate, 4 backward. Audio properties: sound quality 0..3 (4 none), audio channel 0..2
// (3 none), sound channel 0..1 (2 none). A call answers false or nothing when refused.
//
// open() answers by openAnswered, once for each call: true when the file is open, stopped at
// its start; false when it was refused, with nothing open. The answer may come before open()
// returns. What the engine observes of the open file it tells as it changes.
class ReelkitEngine : public QObject {
    Q_OBJECT
public:
    ~ReelkitEngine() override = default;
    virtual bool init(bool useActiveMovie) = 0;
    virtual bool deInit() = 0;
    virtual void open(Window* imageWindow, const std::string& path, OpenAs as) = 0;
    virtual bool close() = 0;
    virtual std::optional<uint32_t> getLength() = 0;
    virtual bool play() = 0;
    virtual bool pause() = 0;
    virtual bool stop() = 0;
    virtual bool stopAndSeekToStart() = 0;
    virtual std::optional<uint16_t> getStatus() = 0;
    virtual std::optional<uint32_t> getCurrentPosition() = 0;
    virtual bool seek(uint32_t position) = 0;
    virtual std::optional<int32_t> getRate() = 0;
    virtual bool setRate(int32_t rate) = 0;
    // An empty field keeps the engine's value.
    virtual bool setAudioProperties(Window* panel, const AudioWish& wish) = 0;
    virtual std::optional<AudioChoice> getAudioProperties(Window* panel) = 0;
    // Runs the engine's audio dialog; true when the user changed something.
    virtual bool mpegAudioDecoderConfig(Window* owner) = 0;
    virtual bool resetImageSize() = 0;

signals:
    void openAnswered(bool opened);
    void statusChanged(quint16 status);
    void positionChanged(quint32 position);
    // The open file has played to its end, or libmpv gave it up.
    void endOfFile();
};

// No engine: every call is refused, and an open is refused at once.
class NoEngine : public ReelkitEngine {
public:
    bool init(bool) override { return false; }
    bool deInit() override { return false; }
    void open(Window*, const std::string&, OpenAs) override { emit openAnswered(false); }
    bool close() override { return false; }
    std::optional<uint32_t> getLength() override { return {}; }
    bool play() override { return false; }
    bool pause() override { return false; }
    bool stop() override { return false; }
    bool stopAndSeekToStart() override { return false; }
    std::optional<uint16_t> getStatus() override { return {}; }
    std::optional<uint32_t> getCurrentPosition() override { return {}; }
    bool seek(uint32_t) override { return false; }
    std::optional<int32_t> getRate() override { return {}; }
    bool setRate(int32_t) override { return false; }
    bool setAudioProperties(Window*, const AudioWish&) override { return false; }
    std::optional<AudioChoice> getAudioProperties(Window*) override { return {}; }
    bool mpegAudioDecoderConfig(Window*) override { return false; }
    bool resetImageSize() override { return false; }
};

// The object name of the picture widget the engine makes inside the image window; the video
// windows look for it to know whether a picture is shown.
constexpr const char* kReelkitPictureName = "ReelkitPicture";
