#include "tests/support/test_clips.h"

#include <QProcess>
#include <QStringList>

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace {
const std::string kSeconds = std::to_string(TestClips::kSeconds);
const std::string kPattern = "testsrc=size=352x240:rate=30000/1001:duration=" + kSeconds;
const std::string kTone = "sine=frequency=440:sample_rate=44100:duration=" + kSeconds;

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put32(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

uint8_t bcd(unsigned value) { return static_cast<uint8_t>((value / 10) << 4 | (value % 10)); }

// A Video CD keeps its streams in Mode 2 Form 2 sectors: 2324 bytes of one MPEG pack each,
// framed by sync, address and sub-header; read from the disc's file system they come wrapped
// in a RIFF "CDXA" header.
std::string cdxaOf(const std::string& packs)
{
    constexpr size_t kPack = 2324;
    constexpr size_t kSector = 2352;
    const size_t sectors = (packs.size() + kPack - 1) / kPack;
    std::string data;
    data.reserve(sectors * kSector);
    for (size_t i = 0; i < sectors; ++i) {
        const unsigned lba = static_cast<unsigned>(i) + 150 + 225;  // two-second lead-in, after the first track
        data += std::string("\x00\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x00", 12);
        data.push_back(static_cast<char>(bcd(lba / 75 / 60)));
        data.push_back(static_cast<char>(bcd(lba / 75 % 60)));
        data.push_back(static_cast<char>(bcd(lba % 75)));
        data.push_back(2);  // mode 2
        const std::array<char, 4> subHeader{1, 1, 0x62, 0x0f};  // file 1, channel 1, real-time form 2 video
        data.append(subHeader.data(), 4);
        data.append(subHeader.data(), 4);
        std::string pack = packs.substr(i * kPack, kPack);
        pack.resize(kPack, '\0');
        data += pack;
        data.append(4, '\0');  // EDC, unused in form 2
    }
    std::string out = "RIFF";
    put32(out, static_cast<uint32_t>(4 + 8 + 16 + 8 + data.size()));
    out += "CDXAfmt ";
    put32(out, 16);
    out += std::string("\x00\x00\x00\x00\x15\x55" "XA\x01\x00\x00\x00\x00\x00\x00\x00", 16);
    out += "data";
    put32(out, static_cast<uint32_t>(data.size()));
    return out + data;
}

void make(const std::vector<std::string>& arguments, const std::string& what)
{
    if (!RunFfmpeg(arguments))
        throw std::runtime_error("ffmpeg could not make " + what);
}
}  // namespace

std::string Noise(size_t size, uint32_t seed)
{
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xff);
    return bytes;
}

std::string CdxaOf(const std::string& packs) { return cdxaOf(packs); }

bool RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& folder)
{
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    QProcess process;
    if (!folder.empty())
        process.setWorkingDirectory(QString::fromStdString(folder));
    process.start(QString::fromStdString(program), list);
    if (!process.waitForFinished(60000))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool RunFfmpeg(const std::vector<std::string>& arguments)
{
    std::vector<std::string> all{"-hide_banner", "-loglevel", "error", "-nostdin", "-y"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    return RunProgram("ffmpeg", all);
}

std::string MakeClip(const std::string& path, int seconds)
{
    const std::string duration = ":duration=" + std::to_string(seconds);
    if (!RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=160x120:rate=25" + duration, "-f", "lavfi", "-i",
                    "sine=frequency=440:sample_rate=44100" + duration, "-c:v", "mpeg1video", "-c:a", "mp2", "-f",
                    "mpeg", path}))
        return {};
    return path;
}

const TestClips& TestClips::get()
{
    static const TestClips clips;
    return clips;
}

TestClips::TestClips()
{
    vcd = dir_.file("vcd.mpg");
    make({"-f", "lavfi", "-i", kPattern, "-f", "lavfi", "-i", kTone, "-ac", "2", "-target", "ntsc-vcd", "-aspect",
          "4:3", vcd},
         "the VCD clip");
    vcdSilent = dir_.file("silent.mpg");
    make({"-f", "lavfi", "-i", kPattern, "-an", "-target", "ntsc-vcd", "-aspect", "4:3", vcdSilent},
         "the silent clip");
    avi = dir_.file("clip.avi");
    make({"-f", "lavfi", "-i", kPattern, "-f", "lavfi", "-i", kTone, "-c:v", "mpeg4", "-q:v", "4", "-c:a",
          "pcm_s16le", "-ac", "2", avi},
         "the AVI clip");
    mp4 = dir_.file("clip.mp4");
    make({"-f", "lavfi", "-i", kPattern, "-f", "lavfi", "-i", kTone, "-c:v", "libx264", "-preset", "ultrafast",
          "-pix_fmt", "yuv420p", "-c:a", "aac", "-ac", "2", mp4},
         "the MP4 clip");

    const std::string stream = readAll(vcd);
    vcdDat = dir_.write("MPEGAV/AVSEQ01.DAT", cdxaOf(stream));
    truncated = dir_.write("truncated.mpg", stream.substr(0, 4096));
    randomBytes = dir_.write("random.MPG", Noise(256 * 1024, 20261208));
    empty = dir_.write("empty.MPG", "");
}

std::string TestClips::firstPicture(const std::string& clip, int width, int height) const
{
    static int made = 0;
    const std::string out = dir_.file("picture" + std::to_string(++made) + ".ppm");
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    if (!RunFfmpeg({"-i", clip, "-frames:v", "1", "-s", size, "-pix_fmt", "rgb24", "-f", "image2", out}))
        return {};
    return out;
}
