#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

// Short clips made with ffmpeg into one temporary folder, once per test program, on first
// use. Each lasts about kSeconds; the picture is ffmpeg's test pattern, the sound a tone.
class TestClips {
public:
    static const TestClips& get();

    static constexpr int kSeconds = 2;

    std::string vcd;         // MPEG-1 program stream as on a Video CD: 352x240, MP2 sound
    std::string vcdSilent;   // the same picture, no sound
    std::string vcdDat;      // the VCD stream in a CD-XA sector file, as a disc's MpegAV/*.DAT
    std::string truncated;   // the first few kilobytes of the VCD stream: not one whole picture
    std::string randomBytes; // noise named .MPG
    std::string avi;         // MPEG-4 part 2 and PCM sound in AVI
    std::string mp4;         // H.264 and AAC in MP4
    std::string empty;       // a file of no bytes named .MPG

    // A folder for a test's own files, removed when the program ends.
    const TempDir& dir() const { return dir_; }

    // Extracts the first picture of a clip scaled to width x height as a PPM file and answers
    // its path ("" on failure).
    std::string firstPicture(const std::string& clip, int width, int height) const;

private:
    TestClips();
    TempDir dir_;
};

// Bytes of no meaning, the same for the same seed.
std::string Noise(size_t size, uint32_t seed);

// The packs of a Video CD stream as a copy of the disc's file comes: each in a whole Mode 2
// Form 2 sector, behind a RIFF "CDXA" header.
std::string CdxaOf(const std::string& packs);

// Runs a program with the arguments (no shell), in the folder when one is given; true when it
// ended by itself with status 0 within a minute.
bool RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder = {});
// Runs ffmpeg with the arguments, quietly; true when it succeeded.
bool RunFfmpeg(const std::vector<std::string>& arguments);
// Makes an MPEG program stream of the seconds given at path, small picture and a tone, for a
// track that must not end while a test runs; answers path, or "" when ffmpeg failed.
std::string MakeClip(const std::string& path, int seconds);
