#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

// A Video CD image (.cue and .bin) as vcdimager makes it, from clips made by ffmpeg (PAL Video
// CD streams of ffmpeg's test pattern and a tone), or a Super Video CD's (MPEG-2 streams in its
// MPEG2 folder, no MPEGAV folder). Made on first use and kept in the build's
// test-media folder, so that the many processes of a test run (and of runs to come) share one;
// a folder named for what it was made from, so a changed recipe makes a new one. Read-only:
// a test writes its own files into scratch().
class VcdImage {
public:
    enum class Kind { VideoCd, SuperVideoCd };
    static const VcdImage& get();
    static const VcdImage& superVideoCd();

    static constexpr const char* kLabel = "QUINTARA_VCD";
    // The clips' lengths in track order: tracks of different lengths tell one from another.
    static constexpr double kClipSeconds[] = {2.0, 1.0, 1.5};
    static constexpr int kFramesPerSecond = 25;
    // A Form 1 file beside the streams, with bytes of our own.
    static constexpr const char* kNotesPath = "/EXTRA/NOTES.BIN";
    static constexpr size_t kNotesBytes = 5000;

    struct Clip {
        std::string mpg;   // the stream as ffmpeg made it
        uint64_t bytes;    // its size
        double seconds;    // the length it was made with
    };

    Kind kind;
    std::string cue;
    std::string bin;
    std::vector<Clip> clips;  // clips[i] is track i+1 on the disc
    std::string notes;        // the bytes of kNotesPath

    // "<cue>/MPEGAV/AVSEQnn.DAT" (a Super Video CD's "<cue>/MPEG2/AVSEQnn.MPG") for track
    // (1-based), the path the player opens it by.
    std::string trackPath(int track) const;
    // The name vcdimager gives a Video CD track's stream: AVSEQ01.DAT, AVSEQ02.DAT, ...
    static std::string trackName(int track);

    // A folder for this process's own files, removed when it ends.
    const TempDir& scratch() const { return scratch_; }

private:
    explicit VcdImage(Kind kind);
    TempDir scratch_;
};

// Makes a disc's folder by `make` in a fresh folder beside `target`, then moves it into place
// in one step; when another process got there first, its folder is used and this one dropped.
void MakeInPlace(const std::filesystem::path& target, const std::function<void(const std::filesystem::path&)>& make);

// Runs vcdimager with the arguments in a folder (no shell); true when it succeeded.
bool RunVcdImager(const std::vector<std::string>& arguments, const std::string& folder);
