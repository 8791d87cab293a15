#include "tests/support/vcd_pbc_image.h"
#include "tests/support/vcd_image.h"

#include <QProcess>
#include <QStringList>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

#include <stdlib.h>

#include "tests/support/test_clips.h"

namespace fs = std::filesystem;

namespace {

// One clip the XML names: a moving picture with a tone, or a one-picture still, with a tone
// of a second when it has one.
struct Clip {
    const char* file;
    const char* picture;  // an ffmpeg test source
    const char* seconds;  // empty for a still
    const char* tone;
};

struct Recipe {
    const char* name;
    const char* xml;
    const char* target;
    const char* size;
    const char* stillSize;
    std::vector<Clip> clips;
};

Recipe recipeOf(PbcImage::Kind kind)
{
    if (kind == PbcImage::Kind::VideoCd)
        return {"pbc-vcd", "vcd-pbc.xml", "pal-vcd", "352x288", "352x288",
                {{"track1.mpg", "testsrc", "3", "440"}, {"track2.mpg", "smptebars", "2", "660"},
                 {"track3.mpg", "testsrc2", "1", "880"}, {"motion.mpg", "rgbtestsrc", "0.5", "550"},
                 {"still1.mpg", "smptehdbars", "", ""}, {"still2.mpg", "mandelbrot", "", ""},
                 {"voiced.mpg", "yuvtestsrc", "", "330"}}};
    return {"pbc-svcd", "svcd-pbc.xml", "pal-svcd", "480x576", "704x576",
            {{"track1.mpg", "testsrc", "3", "440"}, {"track2.mpg", "smptebars", "2", "660"},
             {"still1.mpg", "smptehdbars", "", ""}}};
}

std::vector<std::string> clipArguments(const Recipe& recipe, const Clip& clip, const std::string& out)
{
    const bool still = *clip.seconds == '\0';
    const std::string picture = std::string(clip.picture) + "=size=" + (still ? recipe.stillSize : recipe.size) +
                                ":rate=25" + (still ? "" : std::string(":duration=") + clip.seconds);
    if (still && *clip.tone == '\0')
        return {"-f", "lavfi", "-i", picture, "-frames:v", "1", "-an", "-target", recipe.target, out};
    // One picture's time rather than a frame count, which would end the sound with it.
    if (still)
        return {"-f", "lavfi", "-i", picture + ":duration=0.04", "-f", "lavfi", "-i",
                std::string("sine=frequency=") + clip.tone + ":sample_rate=44100:duration=1", "-ac", "2",
                "-target", recipe.target, out};
    return {"-f", "lavfi", "-i", picture, "-f", "lavfi", "-i",
            std::string("sine=frequency=") + clip.tone + ":sample_rate=44100:duration=" + clip.seconds,
            "-ac", "2", "-target", recipe.target, out};
}

std::string readAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const fs::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

fs::path xmlOf(const Recipe& recipe) { return fs::path(QUINTARA_TEST_FIXTURES) / recipe.xml; }

// Names the image by everything it is made from.
std::string folderName(const Recipe& recipe)
{
    std::string made = readAll(xmlOf(recipe));
    for (const Clip& clip : recipe.clips)
        for (const std::string& argument : clipArguments(recipe, clip, clip.file))
            made += "\n" + argument;
    char name[48];
    std::snprintf(name, sizeof name, "%s-%016zx", recipe.name, std::hash<std::string>{}(made));
    return name;
}

void makeClips(const Recipe& recipe, const fs::path& folder)
{
    for (const Clip& clip : recipe.clips) {
        const fs::path out = folder / clip.file;
        if (!RunFfmpeg(clipArguments(recipe, clip, out.string())))
            throw std::runtime_error(std::string("ffmpeg could not make ") + clip.file);
        if (*clip.seconds == '\0')
            writeAll(out, AsStillStream(readAll(out)));
    }
}

void makeImage(const Recipe& recipe, const fs::path& folder)
{
    makeClips(recipe, folder);
    if (!RunProgram("vcdxbuild", {"--quiet", "-c", "disc.cue", "-b", "disc.bin", xmlOf(recipe).string()},
                    folder.string()))
        throw std::runtime_error("vcdxbuild could not make the disc image");
}

constexpr unsigned char kVideoStream = 0xE0;
constexpr unsigned char kStillStream = 0xE1;
constexpr unsigned char kSystemHeader = 0xBB;
// A system header: start code, length, six bytes of bounds, then three bytes a stream.
constexpr size_t kSystemHeaderStreams = 12;
constexpr size_t kStreamEntryBytes = 3;

}  // namespace

std::string AsStillStream(std::string mpeg)
{
    for (size_t at = mpeg.find(std::string("\0\0\1", 3)); at != std::string::npos && at + 6 <= mpeg.size();
         at = mpeg.find(std::string("\0\0\1", 3), at + 3)) {
        auto& id = reinterpret_cast<unsigned char&>(mpeg[at + 3]);
        if (id == kVideoStream)
            id = kStillStream;
        if (id != kSystemHeader)
            continue;
        const size_t length = static_cast<unsigned char>(mpeg[at + 4]) << 8 | static_cast<unsigned char>(mpeg[at + 5]);
        const size_t end = at + 6 + length;
        for (size_t entry = at + kSystemHeaderStreams; entry < end && entry < mpeg.size(); entry += kStreamEntryBytes)
            if (static_cast<unsigned char>(mpeg[entry]) == kVideoStream)
                mpeg[entry] = static_cast<char>(kStillStream);
    }
    return mpeg;
}

std::string OutputOf(const std::string& program, const std::vector<std::string>& arguments)
{
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    process.start(QString::fromStdString(program), list);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput().toStdString();
}

PbcImage::PbcImage(Kind kind) : kind(kind)
{
    const Recipe recipe = recipeOf(kind);
    const fs::path folder = fs::path(QUINTARA_TEST_MEDIA) / folderName(recipe);
    if (!fs::exists(folder / "disc.cue"))
        MakeInPlace(folder, [&recipe](const fs::path& making) { makeImage(recipe, making); });
    cue = (folder / "disc.cue").string();
    bin = (folder / "disc.bin").string();
}
