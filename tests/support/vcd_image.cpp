#include "tests/support/vcd_image.h"


#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <stdexcept>

#include <stdlib.h>

#include "tests/support/test_clips.h"

namespace fs = std::filesystem;

namespace {
std::string clipName(size_t index) { return "clip" + std::to_string(index + 1) + ".mpg"; }

using Kind = VcdImage::Kind;

// What each kind of disc is made with: ffmpeg's target and picture, vcdimager's disc type.
struct Recipe {
    const char* name;
    const char* size;
    const char* target;
    const char* discType;
    const char* streamFolder;
    const char* streamExtension;
};

const Recipe& recipeOf(Kind kind)
{
    static const Recipe videoCd{"vcd", "352x288", "pal-vcd", "vcd2", "MPEGAV", "DAT"};
    static const Recipe superVideoCd{"svcd", "480x576", "pal-svcd", "svcd", "MPEG2", "MPG"};
    return kind == Kind::VideoCd ? videoCd : superVideoCd;
}

std::vector<std::string> clipArguments(Kind kind, double seconds, const std::string& out)
{
    const Recipe& recipe = recipeOf(kind);
    const std::string length = std::to_string(seconds);
    const std::string rate = std::to_string(VcdImage::kFramesPerSecond);
    return {"-f", "lavfi", "-i", std::string("testsrc=size=") + recipe.size + ":rate=" + rate + ":duration=" + length,
            "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=" + length, "-ac", "2", "-target",
            recipe.target, out};
}

std::vector<std::string> imageArguments(Kind kind)
{
    std::vector<std::string> arguments{"-t", recipeOf(kind).discType, "-l", VcdImage::kLabel, "-c", "disc.cue", "-b",
                                       "disc.bin", "--add-dir=EXTRA", "--add-file=notes.bin,EXTRA/NOTES.BIN"};
    for (size_t i = 0; i < std::size(VcdImage::kClipSeconds); ++i)
        arguments.push_back(clipName(i));
    return arguments;
}

// Names the image by everything it is made from.
std::string recipeName(Kind kind)
{
    std::string recipe = std::to_string(VcdImage::kNotesBytes);
    for (double seconds : VcdImage::kClipSeconds)
        for (const std::string& argument : clipArguments(kind, seconds, ""))
            recipe += "\n" + argument;
    for (const std::string& argument : imageArguments(kind))
        recipe += "\n" + argument;
    char name[40];
    std::snprintf(name, sizeof name, "%s-%016zx", recipeOf(kind).name, std::hash<std::string>{}(recipe));
    return name;
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || std::fclose(out) != 0)
        throw std::runtime_error("cannot write " + path.string());
}

void makeImage(Kind kind, const fs::path& folder)
{
    for (size_t i = 0; i < std::size(VcdImage::kClipSeconds); ++i)
        if (!RunFfmpeg(clipArguments(kind, VcdImage::kClipSeconds[i], (folder / clipName(i)).string())))
            throw std::runtime_error("ffmpeg could not make " + clipName(i));
    writeFile(folder / "notes.bin", Noise(VcdImage::kNotesBytes, 5000));
    if (!RunVcdImager(imageArguments(kind), folder.string()))
        throw std::runtime_error("vcdimager could not make the disc image");
}

std::string readAll(const fs::path& path)
{
    std::string bytes(fs::file_size(path), '\0');
    std::FILE* in = std::fopen(path.c_str(), "rb");
    const size_t got = in ? std::fread(bytes.data(), 1, bytes.size(), in) : 0;
    if (in)
        std::fclose(in);
    bytes.resize(got);
    return bytes;
}
}  // namespace

bool RunVcdImager(const std::vector<std::string>& arguments, const std::string& folder)
{
    std::vector<std::string> all{"--quiet"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return RunProgram("vcdimager", all, folder);
}

const VcdImage& VcdImage::get()
{
    static const VcdImage image(Kind::VideoCd);
    return image;
}

const VcdImage& VcdImage::superVideoCd()
{
    static const VcdImage image(Kind::SuperVideoCd);
    return image;
}

std::string VcdImage::trackName(int track)
{
    char name[16];
    std::snprintf(name, sizeof name, "AVSEQ%02d.DAT", track);
    return name;
}

std::string VcdImage::trackPath(int track) const
{
    const Recipe& recipe = recipeOf(kind);
    char name[16];
    std::snprintf(name, sizeof name, "AVSEQ%02d.%s", track, recipe.streamExtension);
    return cue + "/" + recipe.streamFolder + "/" + name;
}

VcdImage::VcdImage(Kind kind) : kind(kind)
{
    const fs::path folder = fs::path(QUINTARA_TEST_MEDIA) / recipeName(kind);
    if (!fs::exists(folder / "disc.cue"))
        MakeInPlace(folder, [kind](const fs::path& making) { makeImage(kind, making); });
    cue = (folder / "disc.cue").string();
    bin = (folder / "disc.bin").string();
    for (size_t i = 0; i < std::size(kClipSeconds); ++i) {
        const fs::path mpg = folder / clipName(i);
        clips.push_back({mpg.string(), fs::file_size(mpg), kClipSeconds[i]});
    }
    notes = readAll(folder / "notes.bin");
}

void MakeInPlace(const std::filesystem::path& target, const std::function<void(const std::filesystem::path&)>& make)
{
    fs::create_directories(target.parent_path());
    std::string pattern = (target.parent_path() / "making-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a folder beside " + target.string());
    const fs::path folder = pattern;
    try {
        make(folder);
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        throw;
    }
    std::error_code lost;
    fs::rename(folder, target, lost);
    if (lost)
        fs::remove_all(folder, lost);
}
