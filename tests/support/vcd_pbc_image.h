#pragma once

#include <string>
#include <string_view>
#include <vector>

// A Video CD 2.0 or a Super Video CD with playback control, made by vcdimager's vcdxbuild from
// the XML under tests/fixtures/ and clips made by ffmpeg: short tracks, one-picture stills
// and, on the Video CD, a short motion segment. Made once into the build's test-media folder,
// in a folder named for what it was made from; read-only.
class PbcImage {
public:
    enum class Kind { VideoCd, SuperVideoCd };
    explicit PbcImage(Kind kind);

    Kind kind;
    std::string cue;
    std::string bin;
};

// A one-picture MPEG program stream turned into a still for vcdimager: its video stream 0xE0
// renamed 0xE1 in the packets and the system header.
std::string AsStillStream(std::string mpeg);

// Runs a program (no shell) and answers what it wrote to its standard output; empty when it
// did not end well within a minute.
std::string OutputOf(const std::string& program, const std::vector<std::string>& arguments);
