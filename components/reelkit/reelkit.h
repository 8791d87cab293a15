#pragma once

#include <QObject>

#include <cstdint>
#include <string>

class Window;

// The media engine. Times are milliseconds, rates thousandths of normal speed (negative
// backward). Status: 0 stopped (also at the end), 1 paused, 2 playing, 3 another forward
// rate, 4 backward. Audio properties: sound quality 0..3 (4 none), audio channel 0..2
// (3 none), sound channel 0..1 (2 none). Every call answers nonzero when done, 0 when refused.
//
// open() answers by openAnswered, once for each call: true when the file is open, stopped at
// its start; false when it was refused, with nothing open. The answer may come before open()
// returns. What the engine observes of the open file it tells as it changes.
class ReelkitEngine : public QObject {
    Q_OBJECT
public:
    ~ReelkitEngine() override = default;
    virtual uint32_t init(uint32_t useActiveMovie) = 0;
    virtual uint32_t deInit() = 0;
    virtual void open(Window* imageWindow, const std::string& path) = 0;
    virtual uint32_t close() = 0;
    virtual uint32_t getLength(uint32_t* length) = 0;
    virtual uint32_t play() = 0;
    virtual uint32_t pause() = 0;
    virtual uint32_t stop() = 0;
    virtual uint32_t stopAndSeekToStart() = 0;
    virtual uint32_t getStatus(uint16_t* status) = 0;
    virtual uint32_t getCurrentPosition(uint32_t* position) = 0;
    virtual uint32_t seek(uint32_t position) = 0;
    virtual uint32_t getRate(int32_t* rate) = 0;
    virtual uint32_t setRate(int32_t rate) = 0;
    virtual uint32_t setAudioProperties(Window* panel, const uint32_t* soundQuality,
                                        const uint32_t* audioChannel, const uint32_t* soundChannel) = 0;
    virtual uint32_t getAudioProperties(Window* panel, uint32_t* soundQuality, uint32_t* audioChannel,
                                        uint32_t* soundChannel) = 0;
    virtual uint32_t mpegAudioDecoderConfig(Window* owner) = 0;
    virtual uint32_t resetImageSize() = 0;
    // The sound server came back after it was lost: the sound of the open file goes to it again.
    virtual void soundServerBack() {}

signals:
    void openAnswered(bool opened);
    void statusChanged(quint16 status);
    void positionChanged(quint32 position);
    // The open file has played to its end, or libmpv gave it up.
    void endOfFile();
};

// The object name of the picture widget the engine makes inside the image window; the video
// windows look for it to know whether a picture is shown.
constexpr const char* kReelkitPictureName = "ReelkitPicture";
