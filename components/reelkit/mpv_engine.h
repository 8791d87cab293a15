#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <atomic>
#include <memory>
#include <string>
#include <utility>

#include "components/reelkit/mpv_picture.h"
#include "components/reelkit/reelkit.h"
#include "components/reelkit/audio_choice.h"
#include "components/reelkit/backward_stepper.h"

struct mpv_handle;
struct mpv_event;
class MpvPicture;

// Choices made where the engine is created.
struct MpvEngineOptions {
    // libmpv's audio outputs, tried in order; without a working one the sound is decoded and
    // dropped, and playback keeps its pace.
    std::string audioOutput = "pulse,alsa";
    enum class Picture { ByInit, Software, OpenGl };
    // ByInit follows init's "Use ActiveMovie"; the others force one kind (tests, benchmarks).
    Picture picture = Picture::ByInit;
    // The longest an open waits for libmpv to load a file before it is refused.
    int openTimeoutMs = 5000;
};

// The media engine on libmpv.
//
// init's "Use ActiveMovie" chooses how the picture is drawn: 0 always with libmpv's software
// renderer into a QImage; nonzero with libmpv's OpenGL renderer in a QOpenGLWidget where the
// OpenGL driver is a hardware one, and with the software renderer where it is not (no GPU
// device, Mesa's CPU renderers, the offscreen platform, no context), which there costs a
// fifth of the CPU.
//
// open() loads the file paused and answers once libmpv has decoded its start, or refuses it
// within MpvEngineOptions::openTimeoutMs, leaving nothing open; the answer always comes from
// the event loop, never inside open(), and an open asked while another awaits its answer
// refuses the earlier one first. Neither open nor close waits for libmpv. A file holding less than
// kShortestFile of media counts as nothing to play, unless it is opened as a still. Files with
// no window play with no video output. Stop holds the position; play after the end starts again from the start. At the
// end of a file the engine reports stopped with the position at the length. A rate set while
// paused or stopped is answered by getRate but does not run: play returns to normal speed. Backward rates are emulated with exact seeks paced by a timer; reaching the start
// goes on forward at normal speed. Forward rates slower than libmpv goes play at its slowest,
// while getRate answers the rate asked for. With nothing open, the status is 0 and every transport
// call is refused. The audio properties are described in audio_choice.h.
//
// Everything runs on the GUI thread; libmpv's threads only queue calls onto it.
class MpvEngine : public ReelkitEngine, private PictureListener {
    Q_OBJECT
public:
    explicit MpvEngine(MpvEngineOptions options = {});
    ~MpvEngine() override;

    bool init(bool useActiveMovie) override;
    bool deInit() override;
    void open(Window* imageWindow, const std::string& path, OpenAs as) override;
    bool close() override;
    std::optional<uint32_t> getLength() override;
    bool play() override;
    bool pause() override;
    bool stop() override;
    bool stopAndSeekToStart() override;
    std::optional<uint16_t> getStatus() override;
    std::optional<uint32_t> getCurrentPosition() override;
    bool seek(uint32_t position) override;
    std::optional<int32_t> getRate() override;
    bool setRate(int32_t rate) override;
    bool setAudioProperties(Window* panel, const AudioWish& wish) override;
    std::optional<AudioChoice> getAudioProperties(Window* panel) override;
    bool mpegAudioDecoderConfig(Window* owner) override;
    bool resetImageSize() override;
    // The sound server came back after it was lost: the sound of the open file goes to it again.
    void soundServerBack();

    // The picture widget while a file is open in a window; null otherwise.
    QWidget* pictureWidget() const { return picture_ && picture_->parentWidget() ? picture_.data() : nullptr; }
    bool pictureIsOpenGl() const;
    // libmpv's audio filter chain as it stands, to see that the audio properties took effect.
    std::string audioFilterInForce() const;
    // The sample rate the sound goes out with (0 while none does).
    int audioOutputRate() const;
    // libmpv's playing speed as it stands (1 for normal; 0 without a handle).
    double speedInForce() const;
    // How long libmpv shows a one-picture stream, as it stands for the open file ("1.000000"
    // by default; empty without a handle).
    std::string imageDurationInForce() const;
    // The video output libmpv runs ("libmpv" into the picture, "null" without a window).
    std::string videoOutput() const;
    // Pictures libmpv dropped, in the decoder or at the output, since the file was opened.
    uint64_t droppedFrames() const;

    static constexpr uint32_t kShortestFile = 100;  // ms
    static constexpr int kBackwardTickMs = 20;

private:
    struct HandleDeleter {
        void operator()(mpv_handle* handle) const;
    };
    // Loading until libmpv has the file, Loaded until its first picture is decoded, Ready from
    // then on (open once libmpv has told what the file holds).
    enum class Load { None, Loading, Loaded, Ready };

    static void wakeup(void* self);
    void queueDrain();
    void drainEvents();
    void handleEvent(const mpv_event& event);
    void propertyChanged(const mpv_event& event);
    void commandReplied(const mpv_event& event);
    void fileEnded();
    void loadFinished();

    bool showPicture(QWidget* parent);
    bool makePicture(QWidget* parent);
    void rendererLost() override;
    void rendererReady() override;
    void hidePicture();
    void useVideoOutput(bool rendered);
    void removePicture();
    void askFileFacts();
    void tookReply(const mpv_event& event);
    bool useFileFacts();
    void seekLanded(double at);
    void unload();
    void resetFileState();
    void lostFile();
    void reachedEnd(bool atEnd);
    // The open awaiting its answer gets it, once.
    void answer(bool opened);
    // Refused from the event loop, as every answer comes.
    void refuseLater();
    void tellStatus();
    bool applyAudio(const AudioChoice& wanted);
    std::string propertyText(const char* name) const;

    bool playing() const { return open_ && !stopped_ && !paused_ && !eof_; }
    uint32_t positionMs() const;
    void issueSeek(uint32_t position);
    void setPaused(bool paused);
    void setSpeed(int32_t rate);
    void startBackward();
    void stopBackward();
    void backwardTick();

    MpvEngineOptions options_;
    std::unique_ptr<mpv_handle, HandleDeleter> handle_;
    std::atomic<bool> drainQueued_{false};
    bool useOpenGl_ = false;
    QPointer<QWidget> picture_;  // kept between files; shown while it is the image window's child
    bool outputRendered_ = false;

    // The open awaiting its answer.
    bool answerPending_ = false;
    uint64_t openSerial_ = 0;
    int64_t loadEntry_ = 0;     // the open's entry in libmpv's list, once libmpv has taken it
    int64_t currentEntry_ = 0;  // the entry libmpv started last
    QTimer openTimer_;
    uint16_t toldStatus_ = 0;
    // What libmpv tells of the file being opened once its start is decoded.
    struct FileFacts {
        int awaited = 0;
        std::pair<bool, bool> kinds;  // has video, has audio
        double length = 0;
        double fps = 0;
    };
    FileFacts facts_;

    // libmpv's side of the file.
    Load load_ = Load::None;
    double timePos_ = 0;
    uint32_t durationMs_ = 0;
    bool eof_ = false;
    bool seekPending_ = false;
    uint32_t seekTarget_ = 0;

    // The file as the player sees it.
    OpenAs openAs_ = OpenAs::File;
    bool open_ = false;
    uint32_t lengthMs_ = 0;
    uint32_t frameMs_ = 40;
    bool hasAudio_ = false;
    bool stopped_ = true;
    bool paused_ = true;
    bool atStart_ = false;  // opened and neither played nor moved since
    int32_t rate_ = 1000;

    AudioChoice audio_;
    BackwardStepper stepper_;
    QTimer backwardTimer_;
    QElapsedTimer clock_;
};
