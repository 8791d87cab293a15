#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "components/discbay/vcd_control_reader.h"
#include "components/discbay/vcd_disc.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vcd_pbc_image.h"

// The control files of discs vcdimager's vcdxbuild made, read by the player and compared with
// what vcdimager's own vcd-info reads of the same image; and the same files damaged.

namespace {

using Kind = PbcImage::Kind;
using Facts = std::map<std::string, std::string>;

// ---- vcd-info's text ----

// Its sections by title: every line that does not start with a blank starts one.
std::map<std::string, std::string> sectionsOf(const std::string& text)
{
    std::map<std::string, std::string> sections;
    std::istringstream lines(text);
    std::string line, title;
    while (std::getline(lines, line)) {
        if (!line.empty() && line[0] != ' ')
            sections[title = line];
        else
            sections[title] += line + "\n";
    }
    return sections;
}

// Its "name: value" pieces (parted by " | "), keyed by the heading of their list if any.
Facts factsOf(const std::string& section)
{
    const std::regex heading(R"(PSD\[\s*\d+\] \((.*)\): (.*) descriptor)");
    Facts facts;
    std::istringstream lines(section);
    std::string line, list;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, match, heading)) {
            list = match[1];
            facts[list + " kind"] = match[2];
            continue;
        }
        for (size_t at = line.find_first_not_of(' '); at != std::string::npos && at < line.size();) {
            const size_t end = std::min(line.find(" | ", at), line.size());
            const std::string piece = line.substr(at, end - at);
            const size_t colon = piece.find(": ");
            if (colon != std::string::npos)
                facts[(list.empty() ? "" : list + " ") + piece.substr(0, colon)] = piece.substr(colon + 2);
            at = end + 3;
        }
    }
    return facts;
}

// The selection areas among a section's facts, by list id ("LID[7] area[0]").
Facts areasAmong(const Facts& facts)
{
    const std::regex area(R"((LID\[\d+\]) @0x[0-9a-f]{4} (.*area.*))");
    Facts areas;
    std::smatch match;
    for (const auto& [key, value] : facts)
        if (std::regex_match(key, match, area))
            areas[match.str(1) + " " + match.str(2)] = value;
    return areas;
}

std::vector<std::smatch> matchesIn(const std::string& text, const std::regex& pattern)
{
    return {std::sregex_iterator(text.begin(), text.end(), pattern), std::sregex_iterator()};
}

int number(const std::ssub_match& digits) { return std::stoi(digits.str()); }

// vcd-info's words for a segment's sound and picture, as the kind of disc has them. It runs
// "PAL motion" and the word after it together.
const std::map<std::string, int> kVideoWords = {
    {"no stream", 0}, {"NTSC still", 1}, {"NTSC still (lo+hires)", 2}, {"NTSC motion", 3}, {"reserved (0x4)", 4},
    {"PAL still", 5}, {"PAL still (lo+hires)", 6}, {"PAL motionINVALID ENTRY", 7}};
const std::map<std::string, int> kVideoCdAudioWords = {
    {"no audio", 0}, {"single channel", 1}, {"stereo", 2}, {"dual channel", 3}};
const std::map<std::string, int> kSuperVideoCdAudioWords = {
    {"no stream", 0}, {"1 stream", 1}, {"2 streams", 2}, {"1 multi-channel stream (surround sound)", 3}};

int wordValue(const std::map<std::string, int>& words, const std::string& word)
{
    const auto found = words.find(word);
    return found == words.end() ? -1 : found->second;
}

struct OracleSegment {
    int lsn, audio, video;
    bool continuation;
    bool operator==(const OracleSegment&) const = default;
};

// ---- the same words for what the player read ----

std::string yesNo(bool value) { return value ? "yes" : "no"; }

std::string hex4(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

std::string heading(const VcdPbc& pbc, uint16_t offset)
{
    const std::optional<uint16_t> lid = pbc.lidAt(offset);
    return (lid ? "LID[" + std::to_string(*lid) + "]" : "?") + " @0x" + hex4(offset);
}

std::string linkWords(const VcdPbc& pbc, VcdLink link) { return link ? heading(pbc, *link) : "disabled"; }

std::string itemWords(const VcdPlayItem& item)
{
    const std::string id = " (0x" + hex4(item.id) + ")";
    switch (item.kind) {
    case VcdPlayItem::Kind::Track:
        return "SEQUENCE[" + std::to_string(item.number - 2) + "]" + id;
    case VcdPlayItem::Kind::Entry:
        return "ENTRY[" + std::to_string(item.number) + "]" + id;
    case VcdPlayItem::Kind::Segment:
        return "SEGMENT[" + std::to_string(item.number) + "]" + id;
    case VcdPlayItem::Kind::Nothing:
        return "play nothing" + id;
    case VcdPlayItem::Kind::Reserved:
        break;
    }
    return "spare id" + id;
}

std::string areaWords(const VcdArea& area)
{
    if (!area.present())
        return "disabled";
    char text[32];
    std::snprintf(text, sizeof text, "[%3d,%3d] - [%3d,%3d]", area.x1, area.y1, area.x2, area.y2);
    return text;
}

// vcd-info shows for ever as -1.
int waitWords(uint8_t code) { return VcdWaitSeconds(code).value_or(-1); }

std::string lidWords(uint16_t lid, bool rejected)
{
    return std::to_string(lid) + " (rejected: " + yesNo(rejected) + ")";
}

void addAreas(Facts& facts, const std::string& at, const VcdSelectionAreas& areas)
{
    facts[at + "prev_area"] = areaWords(areas.previous);
    facts[at + "next_area"] = areaWords(areas.next);
    facts[at + "retn_area"] = areaWords(areas.back);
    facts[at + "default_area"] = areaWords(areas.defaultArea);
    for (size_t i = 0; i < areas.selections.size(); ++i)
        facts[at + "area[" + std::to_string(i) + "]"] = areaWords(areas.selections[i]);
}

void addPlayList(Facts& facts, const std::string& at, const VcdPbc& pbc, const VcdPlayList& list)
{
    facts[at + "kind"] = "play list";
    facts[at + "NOI"] = std::to_string(list.items.size());
    facts[at + "LID#"] = lidWords(list.lid, list.rejected);
    facts[at + "prev"] = linkWords(pbc, list.previous);
    facts[at + "next"] = linkWords(pbc, list.next);
    facts[at + "return"] = linkWords(pbc, list.back);
    facts[at + "playtime"] = std::to_string(list.playTime) + "/15s";
    facts[at + "wait"] = std::to_string(waitWords(list.waitCode)) + "s";
    facts[at + "autowait"] = std::to_string(waitWords(list.autoPauseCode)) + "s";
    for (size_t i = 0; i < list.items.size(); ++i)
        facts[at + "play-item[" + std::to_string(i) + "]"] = itemWords(list.items[i]);
}

std::string defaultWords(const VcdPbc& pbc, const VcdSelectionList& list)
{
    switch (list.defaultKind) {
    case VcdSelectionList::Default::Multi:
        return "multi-default";
    case VcdSelectionList::Default::MultiWithoutNumbers:
        return "multi_def_no_num";
    case VcdSelectionList::Default::Link:
        break;
    }
    return linkWords(pbc, list.defaultLink);
}

void addSelection(Facts& facts, const std::string& at, const VcdPbc& pbc, const VcdSelectionList& list)
{
    facts[at + "kind"] = list.extended ? "extended selection list" : "selection list";
    facts[at + "Flags"] = "0x" + hex4(list.flags).substr(2);
    facts[at + "NOS"] = std::to_string(list.selections.size());
    facts[at + "BSN"] = std::to_string(list.bsn);
    facts[at + "LID"] = lidWords(list.lid, list.rejected);
    facts[at + "prev"] = linkWords(pbc, list.previous);
    facts[at + "next"] = linkWords(pbc, list.next);
    facts[at + "return"] = linkWords(pbc, list.back);
    facts[at + "default"] = defaultWords(pbc, list);
    facts[at + "timeout"] = linkWords(pbc, list.timeout);
    facts[at + "wait"] = std::to_string(waitWords(list.timeoutCode)) + " secs";
    facts[at + "loop"] = std::to_string(list.loopCount) + " (delayed: " + yesNo(list.delayedJump) + ")";
    facts[at + "play-item"] = itemWords(list.background);
    for (size_t i = 0; i < list.selections.size(); ++i)
        facts[at + "ofs[" + std::to_string(i) + "]"] = linkWords(pbc, list.selections[i]);
    // The standard PSD of a Video CD has no areas: they came from PSD_X.
    if (list.areas && (list.extended || (list.flags & 1) != 0))
        addAreas(facts, at, *list.areas);
}

Facts ourListFacts(const VcdPbc& pbc, Kind kind)
{
    Facts facts;
    for (const auto& [offset, list] : pbc.lists) {
        const std::string at = heading(pbc, offset) + " ";
        if (const auto* play = std::get_if<VcdPlayList>(&list))
            addPlayList(facts, at, pbc, *play);
        else if (const auto* selection = std::get_if<VcdSelectionList>(&list))
            addSelection(facts, at, pbc, *selection);
        else if (const auto* end = std::get_if<VcdEndList>(&list)) {
            facts[at + "kind"] = "end list";
            if (kind == Kind::SuperVideoCd) {
                facts[at + "next disc number"] = std::to_string(end->nextVolume) + " (if 0 stop PBC handling)";
                facts[at + "change picture item"] = itemWords(end->changeDiscPicture);
            }
        }
    }
    return facts;
}

Facts ourAreas(const VcdPbc& pbc)
{
    Facts facts;
    for (const auto& [offset, list] : pbc.lists)
        if (const auto* selection = std::get_if<VcdSelectionList>(&list); selection && selection->areas)
            addAreas(facts, "LID[" + std::to_string(selection->lid) + "] ", *selection->areas);
    return facts;
}

std::string msfOf(int32_t lsn)
{
    const int frames = lsn + 150;
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", frames / 75 / 60, frames / 75 % 60, frames % 75);
    return text;
}

// ---- the discs, read both ways ----

struct Naming {
    const char* format;  // what vcd-info -f tells
    VcdDiscKind kind;
    const char* folder;  // of the control files
    const char* extension;
    const std::map<std::string, int>* audioWords;
};

Naming namingOf(Kind kind)
{
    if (kind == Kind::VideoCd)
        return {"VCD 2.0 detected", VcdDiscKind::VideoCd2, "VCD", "VCD", &kVideoCdAudioWords};
    return {"SVCD detected", VcdDiscKind::SuperVideoCd, "SVCD", "SVD", &kSuperVideoCdAudioWords};
}

class PbcDisc : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override
    {
        reading = ReadVcdDisc({VcdDiscSource::Kind::Sectors, image.cue});
        ASSERT_TRUE(reading.control.has_value()) << reading.problem;
        ASSERT_TRUE(reading.control->pbc.has_value()) << reading.control->pbcProblem;
        const std::string text = OutputOf("vcd-info", {"-B", "-D", "-f", "-I", "-E", "-L", "-p", "-F", "-T",
                                                      "--cue-file=" + image.cue});
        ASSERT_FALSE(text.empty());
        sections = sectionsOf(text);
    }

    // The section of a control file ("INFO") by the disc's names.
    const std::string& section(const std::string& folder, const std::string& base)
    {
        return sections[folder + "/" + base + "." + (folder == "EXT" ? "VCD" : naming.extension)];
    }

    std::vector<OracleSegment> oracleSegments()
    {
        const std::regex segment(
            R"(SEGMENT\[\d+\]: track# 0, LSN\s+(\d+) .*\n\s+audio: (.*), video: (.*), continuation (yes|no))");
        std::vector<OracleSegment> segments;
        for (const std::smatch& m : matchesIn(section(naming.folder, "INFO"), segment))
            segments.push_back({number(m[1]), wordValue(*naming.audioWords, m[2]), wordValue(kVideoWords, m[3]),
                                m[4] == "yes"});
        return segments;
    }

    const PbcImage image{GetParam()};
    const Naming naming = namingOf(GetParam());
    VcdDiscReading reading;
    std::map<std::string, std::string> sections;
};

TEST_P(PbcDisc, InfoAndEntriesReadAsVcdInfoReadsThem)
{
    const VcdInfo& info = reading.control->info;
    EXPECT_TRUE(sections.count(naming.format));
    EXPECT_EQ(info.kind, naming.kind);
    Facts ours = {{"album id", "`" + info.albumId + "'"},
                  {"volume count", std::to_string(info.volumeCount)},
                  {"volume number", std::to_string(info.volumeNumber)},
                  {"restriction", std::to_string(info.restriction)},
                  {"start lid #2", yesNo(info.nextVolumeAtLid2)},
                  {"start track #2", yesNo(info.nextVolumeAtTrack3)},
                  {"psd size", std::to_string(info.psdSize)},
                  {"first segment addr", msfOf(info.firstSegmentSector.value_or(-150))},
                  {"offset multiplier", "0x" + hex4(info.offsetMultiplier).substr(2)},
                  {"maximum lid", std::to_string(info.lidCount)},
                  {"number of segments", std::to_string(info.segments.size())}};
    if (GetParam() == Kind::VideoCd)
        ours["extended pbc"] = yesNo(info.extendedPbc);
    Facts theirs = factsOf(section(naming.folder, "INFO"));
    std::erase_if(theirs, [&](const auto& field) { return !ours.count(field.first); });
    EXPECT_EQ(ours, theirs);

    std::vector<OracleSegment> segments;
    for (size_t i = 0; i < info.segments.size(); ++i)
        segments.push_back({*info.firstSegmentSector + static_cast<int>(i) * 150, info.segments[i].audio,
                            static_cast<int>(info.segments[i].video), info.segments[i].continuation});
    EXPECT_EQ(segments, oracleSegments());

    const std::regex entry(R"(ENTRY\[\d+\]: track#\s+(\d+) \(SEQUENCE\[\d+\]\), LSN\s+(\d+))");
    std::vector<VcdEntryPoint> entries;
    for (const std::smatch& m : matchesIn(section(naming.folder, "ENTRIES"), entry))
        entries.push_back({static_cast<uint8_t>(number(m[1]) + 1), number(m[2])});  // it counts MPEG tracks
    EXPECT_FALSE(entries.empty());
    EXPECT_EQ(reading.control->entries, entries);
}

TEST_P(PbcDisc, ListsReadAsVcdInfoReadsThem)
{
    const VcdPbc& pbc = *reading.control->pbc;
    const std::regex lot(R"(LID\[(\d+)\]: offset = \d+ \(0x([0-9a-f]{4})\))");
    std::map<uint16_t, uint16_t> offsets;
    for (const std::smatch& m : matchesIn(section(naming.folder, "LOT"), lot))
        offsets[static_cast<uint16_t>(number(m[1]))] = static_cast<uint16_t>(std::stoi(m.str(2), nullptr, 16));
    EXPECT_EQ(pbc.lidOffsets, offsets);

    const Facts theirs = factsOf(section(naming.folder, "PSD"));
    EXPECT_EQ(ourListFacts(pbc, GetParam()), theirs);

    // A Video CD's areas come from its extended PSD; a Super Video CD's stand in its PSD.
    const Facts theirAreas = areasAmong(GetParam() == Kind::VideoCd ? factsOf(section("EXT", "PSD_X")) : theirs);
    EXPECT_FALSE(theirAreas.empty());
    EXPECT_EQ(ourAreas(pbc), theirAreas);
    EXPECT_EQ(reading.control->areasProblem, "");
}

TEST_P(PbcDisc, StreamsFollowTheTableOfContents)
{
    // The files vcd-info lists, by folder, with their first sectors; the tracks it lists.
    std::map<std::string, std::map<int, std::string>> files;
    std::istringstream lines(sections["ISO9660 filesystem dump"]);
    const std::regex folderLine(R"(^ (/.*):$)");
    const std::regex fileLine(R"(^\s+- .*\[LSN\s+(\d+)\]\s+\d+(?:\s+\(\s*\d+\))?\s+(\S+);1$)");
    std::string line, folder;
    std::smatch m;
    while (std::getline(lines, line))
        if (std::regex_match(line, m, folderLine))
            folder = m[1];
        else if (std::regex_match(line, m, fileLine))
            files[folder][number(m[1])] = folder + m.str(2);
    const std::regex trackLine(R"(^\s+(\d+): \d\d:\d\d:\d\d\s+(\d+)\s+XA$)");
    const std::string streamFolder = GetParam() == Kind::VideoCd ? "/MPEGAV/" : "/MPEG2/";
    std::map<uint8_t, std::string> tracks;
    const auto contents = std::find_if(sections.begin(), sections.end(),
                                       [](const auto& s) { return s.first.starts_with("CD-ROM TRACKS"); });
    ASSERT_NE(contents, sections.end());
    std::istringstream toc(contents->second);
    while (std::getline(toc, line))
        if (std::regex_match(line, m, trackLine) && number(m[1]) >= 2)
            tracks[static_cast<uint8_t>(number(m[1]))] = files[streamFolder].at(number(m[2]));
    EXPECT_FALSE(tracks.empty());
    EXPECT_EQ(reading.trackFiles, tracks);

    std::map<uint16_t, std::string> segments;
    const std::vector<OracleSegment> oracle = oracleSegments();
    for (size_t i = 0; i < oracle.size(); ++i)
        if (!oracle[i].continuation)
            segments[static_cast<uint16_t>(i)] = files["/SEGMENT/"].at(oracle[i].lsn);
    EXPECT_EQ(reading.segmentFiles, segments);
}

// A bound folder holds the disc's files as the file system shows them, here in small letters;
// with no table of contents, the streams go by name.
TEST(VcdControlFolder, ReadsAsTheImageItCameFrom)
{
    const PbcImage image(Kind::VideoCd);
    const VcdDiscReading fromImage = ReadVcdDisc({VcdDiscSource::Kind::Sectors, image.cue});
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(image.cue);
    ASSERT_TRUE(disc && fromImage.control);
    const TempDir folder;
    const auto lower = [](std::string path) {
        std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) { return std::tolower(c); });
        return path;
    };
    for (const char* path : {"/VCD/INFO.VCD", "/VCD/ENTRIES.VCD", "/VCD/LOT.VCD", "/VCD/PSD.VCD", "/EXT/LOT_X.VCD",
                             "/EXT/PSD_X.VCD"}) {
        const std::unique_ptr<VcdFile> file = disc->openFile(path);
        ASSERT_NE(file, nullptr) << path;
        std::string bytes(file->size(), '\0');
        ASSERT_EQ(file->read(0, bytes.data(), bytes.size()), static_cast<int64_t>(bytes.size()));
        folder.write(lower(path).substr(1), bytes);
    }
    std::map<uint8_t, std::string> tracks;
    std::map<uint16_t, std::string> segments;
    for (const auto& [track, path] : fromImage.trackFiles)
        folder.write((tracks[track] = lower(path)).substr(1), "stream");
    for (const auto& [segment, path] : fromImage.segmentFiles)
        folder.write((segments[segment] = lower(path)).substr(1), "item");
    folder.write("mpegav/readme.txt", "not a stream");

    const VcdDiscReading fromFolder = ReadVcdDisc({VcdDiscSource::Kind::Folder, folder.path()});
    EXPECT_EQ(fromFolder.control, fromImage.control);
    EXPECT_EQ(fromFolder.trackFiles, tracks);
    EXPECT_EQ(fromFolder.segmentFiles, segments);
}

// The ranges' edges, which the discs above do not reach.
TEST(VcdPlayItems, DecodeByTheirRanges)
{
    using K = VcdPlayItem::Kind;
    const std::vector<VcdPlayItem> items = {
        {0, K::Nothing, 0},    {1, K::Nothing, 0},    {2, K::Track, 2},         {99, K::Track, 99},
        {100, K::Entry, 0},    {599, K::Entry, 499},  {600, K::Reserved, 0},    {999, K::Reserved, 0},
        {1000, K::Segment, 0}, {2979, K::Segment, 1979}, {2980, K::Reserved, 0}, {0xFFFF, K::Reserved, 0}};
    for (const VcdPlayItem& item : items)
        EXPECT_EQ(DecodeVcdPlayItem(item.id), item) << item.id;
}

INSTANTIATE_TEST_SUITE_P(VcdControl, PbcDisc, ::testing::Values(Kind::VideoCd, Kind::SuperVideoCd),
                         [](const auto& info) { return info.param == Kind::VideoCd ? "VideoCd" : "SuperVideoCd"; });

}  // namespace
