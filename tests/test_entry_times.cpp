// The program stream timestamp reader and the entry times, against ffprobe's and vcd-info's
// reading of clips and a Super Video CD made here with ffmpeg and vcdxbuild.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "components/discbay/entry_times.h"
#include "components/discbay/mpeg_timestamps.h"
#include "components/discbay/vcd_disc.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_clips.h"
#include "tests/support/vcd_pbc_image.h"

namespace {

constexpr uint64_t kPack = 2324;  // one pack a sector, as ffmpeg's Video CD targets write them
constexpr double kTicks = 90000;
// Entry times must land on their key picture: well within one picture time (40 ms).
constexpr double kTolerance = 0.005;

struct Clip {
    std::string name;
    std::string target;
    std::string size;
    int seconds;
    std::vector<std::string> extra;
    std::vector<double> entries;  // asked of vcdxbuild, in seconds after the first picture
};

// The disc's tracks: a plain Super Video CD stream, and one with B pictures, whose groups show
// pictures before their key picture. Entries are asked away from the middle between two groups
// (0.6 s apart), as vcdimager moves each to the closest.
const std::vector<Clip> kTracks = {
    {"plain.mpg", "pal-svcd", "480x576", 4, {}, {1.9, 3.1}},
    {"pictures_b.mpg", "pal-svcd", "480x576", 3, {"-bf", "2"}, {1.3, 2.3}},
};
const Clip kVideoCdClip{"vcd.mpg", "pal-vcd", "352x288", 2, {}, {}};

std::string outputOf(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string output = OutputOf(program, arguments);
    if (output.empty())
        throw std::runtime_error(program + " failed");
    return output;
}

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string entriesXml(const std::vector<Clip>& tracks)
{
    std::string items;
    for (const Clip& clip : tracks) {
        items += "<sequence-item src=\"" + clip.name + "\" id=\"" + clip.name.substr(0, clip.name.find('.')) + "\">";
        for (const double seconds : clip.entries)
            items += "<entry>" + std::to_string(seconds) + "</entry>";
        items += "</sequence-item>\n";
    }
    return "<?xml version=\"1.0\"?>\n<!DOCTYPE videocd PUBLIC \"-//GNU//DTD VideoCD//EN\" "
           "\"http://www.gnu.org/software/vcdimager/videocd.dtd\">\n"
           "<videocd xmlns=\"http://www.gnu.org/software/vcdimager/1.0/\" class=\"svcd\" version=\"1.0\">\n"
           "<info><album-id>ENTRIES</album-id><volume-count>1</volume-count><volume-number>1</volume-number></info>\n"
           "<pvd><volume-id>ENTRIES</volume-id><system-id>CD-RTOS CD-BRIDGE</system-id></pvd>\n"
           "<sequence-items>\n" + items + "</sequence-items>\n</videocd>\n";
}

// The clips and the disc made of them, once per test program.
class Media {
public:
    static const Media& get()
    {
        static const Media media;
        return media;
    }
    std::string clip(const Clip& clip) const { return dir.file(clip.name); }
    std::string cue() const { return dir.file("disc.cue"); }
    TempDir dir;

private:
    Media()
    {
        std::vector<Clip> all = kTracks;
        all.push_back(kVideoCdClip);
        for (const Clip& clip : all) {
            const std::string length = std::to_string(clip.seconds);
            std::vector<std::string> arguments{
                "-f", "lavfi", "-i", "testsrc=size=" + clip.size + ":rate=25:duration=" + length, "-f", "lavfi",
                "-i", "sine=frequency=440:sample_rate=44100:duration=" + length, "-ac", "2", "-target", clip.target};
            arguments.insert(arguments.end(), clip.extra.begin(), clip.extra.end());
            arguments.push_back(this->clip(clip));
            if (!RunFfmpeg(arguments))
                throw std::runtime_error("ffmpeg could not make " + clip.name);
        }
        dir.write("disc.xml", entriesXml(kTracks));
        if (!RunProgram("vcdxbuild", {"--quiet", "-c", "disc.cue", "-b", "disc.bin", "disc.xml"}, dir.path()))
            throw std::runtime_error("vcdxbuild could not make the disc");
    }
};

// ffprobe's compact lines: the section, then key=value fields.
std::vector<std::map<std::string, std::string>> probe(const std::vector<std::string>& arguments)
{
    std::vector<std::string> all{"-v", "error", "-of", "compact"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::istringstream lines(outputOf("ffprobe", all));
    std::vector<std::map<std::string, std::string>> records;
    for (std::string line; std::getline(lines, line);) {
        std::map<std::string, std::string> record;
        std::istringstream fields(line);
        std::string field;
        std::getline(fields, record["section"], '|');
        while (std::getline(fields, field, '|'))
            if (const size_t equals = field.find('='); equals != std::string::npos)
                record[field.substr(0, equals)] = field.substr(equals + 1);
        records.push_back(std::move(record));
    }
    return records;
}

struct Packet {
    uint64_t pos;  // where its packet header starts
    uint64_t pts;
    bool video;
};

// The packets whose PTS a packet header carries: ffprobe gives those, and only those, a place.
std::vector<Packet> timedPackets(const std::string& clip)
{
    // ffprobe tells the streams after their packets.
    auto records = probe({"-show_entries", "stream=index,codec_type:packet=stream_index,pts,pos", clip});
    std::map<std::string, bool> video;
    for (auto& record : records)
        if (record["section"] == "stream")
            video[record["index"]] = record["codec_type"] == "video";
    std::vector<Packet> packets;
    for (auto& record : records)
        if (record["section"] == "packet" && record["pos"] != "N/A" && record["pts"] != "N/A")
            packets.push_back({std::stoull(record["pos"]), std::stoull(record["pts"]), video.at(record["stream_index"])});
    std::sort(packets.begin(), packets.end(), [](const Packet& a, const Packet& b) { return a.pos < b.pos; });
    return packets;
}

struct Window {
    const Clip* clip;
    uint64_t from;
    uint64_t to;
    // Cuts the window 20 bytes into the first timed packet at or after `to`: inside its data.
    bool cutPacket = false;
};

TEST(MpegTimestamps, AgreeWithFfprobeAtTheStartAndAtOffsetsOfBothStreamKinds)
{
    const Clip& vcd = kVideoCdClip;
    const Clip& svcd = kTracks[0];
    const Clip& pictures = kTracks[1];
    const std::vector<Window> windows = {
        {&vcd, 0, 16 * kPack},
        {&vcd, 1000, 20 * kPack},                  // from inside a packet
        {&vcd, 30 * kPack + 5, 33 * kPack},        // inside a pack header
        {&vcd, 40 * kPack, 60 * kPack, true},      // a packet cut off
        {&svcd, 0, 16 * kPack},
        {&svcd, 75 * kPack + 777, 90 * kPack},
        {&svcd, 120 * kPack, 121 * kPack},         // one sector
        {&svcd, 10 * kPack, 30 * kPack, true},
        {&pictures, 0, 8 * kPack},
        {&pictures, 44 * kPack, 52 * kPack},
        {&pictures, 99 * kPack + 2323, 140 * kPack},
    };
    std::map<const Clip*, std::pair<std::string, std::vector<Packet>>> clips;
    for (const Window& window : windows)
        if (!clips.count(window.clip)) {
            const std::string path = Media::get().clip(*window.clip);
            clips[window.clip] = {readAll(path), timedPackets(path)};
        }

    for (const Window& window : windows) {
        const auto& [bytes, packets] = clips.at(window.clip);
        uint64_t to = window.to;
        if (window.cutPacket) {
            const auto cut = std::find_if(packets.begin(), packets.end(), [&](const Packet& p) { return p.pos >= to; });
            ASSERT_NE(cut, packets.end());
            to = cut->pos + 20;
        }
        ASSERT_LE(to, bytes.size());
        // A packet is whole in the window when its pack, one sector, ends in it.
        MpegTimes wanted;
        for (const Packet& packet : packets) {
            if (packet.pos < window.from || (packet.pos / kPack + 1) * kPack > to)
                continue;
            if (packet.video && !wanted.firstVideo)
                wanted.firstVideo = packet.pts;
            auto& least = packet.video ? wanted.earliestVideo : wanted.earliestAudio;
            least = std::min(least.value_or(packet.pts), packet.pts);
        }
        const auto* start = reinterpret_cast<const uint8_t*>(bytes.data());
        const MpegTimes read = ReadMpegTimes(std::span<const uint8_t>(start + window.from, start + to));
        SCOPED_TRACE(window.clip->name + " bytes " + std::to_string(window.from) + "-" + std::to_string(to));
        ASSERT_TRUE(wanted.earliestVideo || wanted.earliestAudio);  // no window is empty
        EXPECT_EQ(read.firstVideo, wanted.firstVideo);
        EXPECT_EQ(read.earliestVideo, wanted.earliestVideo);
        EXPECT_EQ(read.earliestAudio, wanted.earliestAudio);
        EXPECT_EQ(read.earliest(), std::min(wanted.earliestVideo.value_or(UINT64_MAX),
                                            wanted.earliestAudio.value_or(UINT64_MAX)));
    }
}

// vcd-info's reading of the image: where each track's file starts, and each entry's sector.
struct DiscLayout {
    std::map<int, uint64_t> fileLsn;                  // by track
    std::map<int, std::vector<uint64_t>> entryLsns;  // by track, in order
};

DiscLayout layoutOf(const std::string& cue)
{
    const std::regex kFile(R"(\[LSN\s+(\d+)\].*AVSEQ(\d+)\.MPG)");
    const std::regex kEntry(R"(ENTRY\[\d+\]: track#\s+(\d+) .*LSN\s+(\d+))");
    std::istringstream lines(outputOf("vcd-info", {"-B", "-q", "--cue-file=" + cue, "-E", "-F"}));
    DiscLayout layout;
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, kFile))
            layout.fileLsn[std::stoi(match[2])] = std::stoull(match[1]);
        else if (std::regex_search(line, match, kEntry))
            layout.entryLsns[std::stoi(match[1])].push_back(std::stoull(match[2]));
    }
    return layout;
}

// The key picture closest to `seconds` after the first picture, and the demuxer's start, by ffprobe.
struct Probed {
    double start = 0;
    std::vector<uint64_t> keys;
    double keyNear(double seconds) const
    {
        const double at = static_cast<double>(keys.front()) + seconds * kTicks;
        const auto distance = [at](uint64_t key) { return std::abs(static_cast<double>(key) - at); };
        return static_cast<double>(*std::min_element(keys.begin(), keys.end(), [&](uint64_t a, uint64_t b) {
                   return distance(a) < distance(b);
               })) / kTicks;
    }
};

Probed probeTrack(const std::string& stream)
{
    Probed probed;
    for (auto& record : probe({"-select_streams", "v", "-show_entries",
                               "frame=key_frame,best_effort_timestamp:format=start_time", stream})) {
        if (record["section"] == "format")
            probed.start = std::stod(record["start_time"]);
        else if (record["section"] == "frame" && record["key_frame"] == "1")
            probed.keys.push_back(std::stoull(record["best_effort_timestamp"]));
    }
    return probed;
}

TEST(EntryTimes, LandOnTheKeyPictureOfEachEntryOfASuperVideoCdWhereSectorCountsAreFarOff)
{
    const Media& media = Media::get();
    const DiscLayout layout = layoutOf(media.cue());
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(media.cue());
    ASSERT_NE(disc, nullptr);
    ASSERT_EQ(layout.entryLsns.size(), kTracks.size());
    double worstSectorTime = 0;
    for (size_t index = 0; index < kTracks.size(); ++index) {
        const int track = static_cast<int>(index) + 1;
        char name[32];
        std::snprintf(name, sizeof name, "AVSEQ%02d.MPG", track);
        const std::unique_ptr<VcdFile> file = disc->openFile(std::string("/MPEG2/") + name);
        ASSERT_NE(file, nullptr);
        // The track's stream as the disc holds it: ffprobe's input, and a folder's copy.
        std::string stream(file->size(), '\0');
        ASSERT_EQ(file->read(0, stream.data(), stream.size()), static_cast<int64_t>(stream.size()));
        const std::string plain = media.dir.write(std::string("folder/") + name, stream);
        const std::string cdxa = media.dir.write(std::string("cdxa/") + name, CdxaOf(stream));
        const Probed probed = probeTrack(plain);
        ASSERT_FALSE(probed.keys.empty());

        std::vector<uint32_t> sectors;
        for (const uint64_t lsn : layout.entryLsns.at(track))
            sectors.push_back(static_cast<uint32_t>(lsn - layout.fileLsn.at(track)));
        std::vector<double> asked{0.0};
        asked.insert(asked.end(), kTracks[index].entries.begin(), kTracks[index].entries.end());
        ASSERT_EQ(sectors.size(), asked.size());

        const std::vector<std::optional<double>> times = ReadEntryTimes(*file, sectors);
        EXPECT_EQ(ReadEntryTimes(plain, sectors), times);
        EXPECT_EQ(ReadEntryTimes(cdxa, sectors), times);
        for (size_t entry = 0; entry < sectors.size(); ++entry) {
            SCOPED_TRACE(std::string(name) + " entry " + std::to_string(entry) + " at sector " +
                         std::to_string(sectors[entry]));
            const double wanted = probed.keyNear(asked[entry]) - probed.start;
            ASSERT_TRUE(times[entry].has_value());
            EXPECT_NEAR(*times[entry], wanted, kTolerance);
            EXPECT_EQ(ReadEntryTime(*file, sectors[entry]), times[entry]);
            worstSectorTime = std::max(worstSectorTime, std::abs(sectors[entry] / 75.0 - wanted));
        }
    }
    // What the disc is for: a sector's place would put some entry far from its picture.
    EXPECT_GT(worstSectorTime, 0.3);
}

}  // namespace
