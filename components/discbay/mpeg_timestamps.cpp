#include "components/discbay/mpeg_timestamps.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace {

using Bytes = std::span<const uint8_t>;

// Program stream start codes.
constexpr uint8_t kPackId = 0xBA;
constexpr uint8_t kEndId = 0xB9;
constexpr uint8_t kFirstPacketId = 0xBB;  // the system header; from it on a length follows
constexpr uint8_t kPrivateStream1 = 0xBD;
// Video elementary stream start codes.
constexpr uint8_t kPicture = 0x00;
constexpr uint8_t kSequenceHeader = 0xB3;
constexpr uint8_t kGroup = 0xB8;

constexpr size_t kStartCodeBytes = 4;
constexpr size_t kPacketHeaderBytes = 6;  // start code and length
constexpr uint64_t kPtsMask = (uint64_t{1} << 33) - 1;
constexpr uint64_t kTicksPerSecond = 90000;

struct FrameRate {
    uint64_t pictures;
    uint64_t seconds;
};
// By the sequence header's frame_rate_code; code 0 and 9–15 are forbidden.
constexpr std::array<FrameRate, 9> kFrameRates = {
    {{0, 1}, {24000, 1001}, {24, 1}, {25, 1}, {30000, 1001}, {30, 1}, {50, 1}, {60000, 1001}, {60, 1}}};

enum class Stream { Video, Audio, Other };

Stream streamOf(uint8_t id)
{
    if (id >= 0xE0 && id <= 0xEF)
        return Stream::Video;
    if ((id >= 0xC0 && id <= 0xDF) || id == kPrivateStream1)
        return Stream::Audio;
    return Stream::Other;
}

// Where the next start code begins, from `at`; bytes.size() when none does.
size_t nextStartCode(Bytes bytes, size_t at)
{
    for (; at + kStartCodeBytes <= bytes.size(); ++at)
        if (bytes[at] == 0 && bytes[at + 1] == 0 && bytes[at + 2] == 1)
            return at;
    return bytes.size();
}

uint64_t ptsAt(Bytes five)
{
    return uint64_t(five[0] >> 1 & 0x07) << 30 | uint64_t(five[1]) << 22 | uint64_t(five[2] >> 1) << 15 |
           uint64_t(five[3]) << 7 | uint64_t(five[4] >> 1);
}

// The pack header at `at`, MPEG-1 (12 bytes) or MPEG-2 (14 and its stuffing); 0 when it is none.
size_t packHeaderLength(Bytes bytes, size_t at)
{
    constexpr size_t kMpeg1 = 12;
    constexpr size_t kMpeg2 = 14;
    if (at + kMpeg1 > bytes.size())
        return 0;
    if ((bytes[at + 4] & 0xF0) == 0x20)
        return kMpeg1;
    if ((bytes[at + 4] & 0xC0) != 0x40 || at + kMpeg2 > bytes.size())
        return 0;
    const size_t length = kMpeg2 + (bytes[at + 13] & 0x07);
    return at + length <= bytes.size() ? length : 0;
}

struct PesHeader {
    std::optional<uint64_t> pts;
    size_t data = 0;  // where the stream's own bytes start in the payload
};

std::optional<PesHeader> mpeg2Header(Bytes payload)
{
    constexpr size_t kFixed = 3;
    constexpr size_t kPtsBytes = 5;
    if (payload.size() < kFixed)
        return std::nullopt;
    const size_t data = kFixed + payload[2];
    if (data > payload.size())
        return std::nullopt;
    PesHeader header{std::nullopt, data};
    if ((payload[1] & 0x80) != 0 && payload[2] >= kPtsBytes)
        header.pts = ptsAt(payload.subspan(kFixed, kPtsBytes));
    return header;
}

std::optional<PesHeader> mpeg1Header(Bytes payload)
{
    constexpr size_t kMostStuffing = 16;
    size_t at = 0;
    while (at < payload.size() && at < kMostStuffing && payload[at] == 0xFF)
        ++at;
    if (at < payload.size() && (payload[at] & 0xC0) == 0x40)
        at += 2;  // the decoder's buffer size
    if (at >= payload.size())
        return std::nullopt;
    if (payload[at] == 0x0F)
        return PesHeader{std::nullopt, at + 1};
    const uint8_t flags = payload[at] & 0xF0;
    const size_t length = flags == 0x20 ? 5 : flags == 0x30 ? 10 : 0;  // PTS; PTS and DTS
    if (length == 0 || at + length > payload.size())
        return std::nullopt;
    return PesHeader{ptsAt(payload.subspan(at, 5)), at + length};
}

std::optional<PesHeader> pesHeader(Bytes payload)
{
    return !payload.empty() && (payload[0] & 0xC0) == 0x80 ? mpeg2Header(payload) : mpeg1Header(payload);
}

void lower(std::optional<uint64_t>& least, uint64_t pts) { least = least ? std::min(*least, pts) : pts; }

// A video packet's share of the joined elementary stream, and the PTS it carries: that of the
// first picture whose start code begins inside it.
struct VideoPiece {
    size_t begin = 0;
    size_t end = 0;
    std::optional<uint64_t> pts;
};

// The PTS of the picture whose start code is at `at`, when it is the first to begin in a packet.
std::optional<uint64_t> ptsOfPicture(const std::vector<VideoPiece>& pieces, size_t at, std::optional<size_t> before)
{
    const auto after = std::upper_bound(pieces.begin(), pieces.end(), at,
                                        [](size_t where, const VideoPiece& piece) { return where < piece.begin; });
    if (after == pieces.begin())
        return std::nullopt;
    const VideoPiece& piece = *std::prev(after);
    if (at >= piece.end || (before && *before >= piece.begin))
        return std::nullopt;
    return piece.pts;
}

// `pts` moved by `pictures` picture times, back when negative.
std::optional<uint64_t> movedBy(uint64_t pts, int64_t pictures, FrameRate rate)
{
    if (pictures == 0)
        return pts;
    if (rate.pictures == 0)
        return std::nullopt;
    const uint64_t count = static_cast<uint64_t>(pictures < 0 ? -pictures : pictures);
    const uint64_t ticks = (count * kTicksPerSecond * rate.seconds + rate.pictures / 2) / rate.pictures;
    return (pictures < 0 ? pts - ticks : pts + ticks) & kPtsMask;
}

// The picture rate of the first sequence header; {0, 1} when there is none.
FrameRate frameRateOf(Bytes video)
{
    for (size_t at = nextStartCode(video, 0); at < video.size(); at = nextStartCode(video, at + 3))
        if (video[at + 3] == kSequenceHeader && at + 8 <= video.size()) {
            const size_t code = video[at + 7] & 0x0F;
            return code < kFrameRates.size() ? kFrameRates[code] : kFrameRates[0];
        }
    return kFrameRates[0];
}

// When the first group's key picture (the first it decodes) is shown: taken from the first
// picture of the group whose packet gives its PTS, moved by the difference of their temporal
// references (their places in showing order).
std::optional<uint64_t> keyPictureOf(Bytes video, const std::vector<VideoPiece>& pieces)
{
    bool inGroup = false;
    std::optional<size_t> lastPicture;
    std::optional<int64_t> keyPlace;
    for (size_t at = nextStartCode(video, 0); at < video.size(); at = nextStartCode(video, at + 3)) {
        const uint8_t code = video[at + 3];
        if (code == kGroup) {
            if (inGroup)
                return std::nullopt;  // the next group: none of the first one's pictures had a timestamp
            inGroup = true;
        } else if (code == kPicture) {
            if (inGroup && at + 6 <= video.size()) {
                const int64_t place = int64_t{video[at + 4]} << 2 | video[at + 5] >> 6;
                if (!keyPlace)
                    keyPlace = place;
                if (const std::optional<uint64_t> pts = ptsOfPicture(pieces, at, lastPicture))
                    return movedBy(*pts, *keyPlace - place, frameRateOf(video));
            }
            lastPicture = at;
        }
    }
    return std::nullopt;
}

class Reader {
public:
    // The bytes the packet, pack header or end code at `at` takes; 0 when it is none.
    size_t take(Bytes bytes, size_t at)
    {
        const uint8_t id = bytes[at + 3];
        if (id == kPackId)
            return packHeaderLength(bytes, at);
        if (id == kEndId)
            return kStartCodeBytes;
        if (id < kFirstPacketId || at + kPacketHeaderBytes > bytes.size())
            return 0;
        const size_t length = size_t{bytes[at + 4]} << 8 | bytes[at + 5];
        if (length == 0 || at + kPacketHeaderBytes + length > bytes.size())
            return 0;
        return packet(id, bytes.subspan(at + kPacketHeaderBytes, length)) ? kPacketHeaderBytes + length : 0;
    }

    MpegTimes finish()
    {
        times_.keyPicture = keyPictureOf(video_, pieces_);
        return times_;
    }

private:
    bool packet(uint8_t id, Bytes payload)
    {
        const Stream stream = streamOf(id);
        if (stream == Stream::Other)
            return true;
        const std::optional<PesHeader> header = pesHeader(payload);
        if (!header)
            return false;
        if (header->pts && stream == Stream::Video) {
            if (!times_.firstVideo)
                times_.firstVideo = header->pts;
            lower(times_.earliestVideo, *header->pts);
        } else if (header->pts) {
            lower(times_.earliestAudio, *header->pts);
        }
        // Only the first video stream is joined: two would cut each other's pictures.
        if (stream == Stream::Video && (!videoId_ || *videoId_ == id)) {
            videoId_ = id;
            const Bytes data = payload.subspan(header->data);
            pieces_.push_back({video_.size(), video_.size() + data.size(), header->pts});
            video_.insert(video_.end(), data.begin(), data.end());
        }
        return true;
    }

    MpegTimes times_;
    std::optional<uint8_t> videoId_;
    std::vector<uint8_t> video_;
    std::vector<VideoPiece> pieces_;
};

}  // namespace

std::optional<uint64_t> MpegTimes::earliest() const
{
    if (earliestVideo && earliestAudio)
        return std::min(*earliestVideo, *earliestAudio);
    return earliestVideo ? earliestVideo : earliestAudio;
}

MpegTimes ReadMpegTimes(std::span<const uint8_t> bytes)
{
    Reader reader;
    for (size_t at = nextStartCode(bytes, 0); at < bytes.size();)
        at = nextStartCode(bytes, at + std::max<size_t>(reader.take(bytes, at), 1));
    return reader.finish();
}

double MpegSecondsBetween(uint64_t a, uint64_t b)
{
    const uint64_t forward = (b - a) & kPtsMask;
    const int64_t wrap = int64_t{1} << 33;
    const int64_t signedTicks = static_cast<int64_t>(forward) >= wrap / 2 ? static_cast<int64_t>(forward) - wrap
                                                                          : static_cast<int64_t>(forward);
    return static_cast<double>(signedTicks) / static_cast<double>(kTicksPerSecond);
}
