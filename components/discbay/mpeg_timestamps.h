#pragma once

#include <cstdint>
#include <optional>
#include <span>

// The timestamps of an MPEG-1 or MPEG-2 program stream, read from any piece of it: a few
// sectors of a Video CD track, cut anywhere. Bytes that are no packet are skipped up to the next
// start code, and a packet cut off by the end of the bytes is left out. Times are the streams'
// own 90 kHz ticks (33 bits).
struct MpegTimes {
    std::optional<uint64_t> firstVideo;     // of the first video packet carrying a PTS
    std::optional<uint64_t> earliestVideo;  // the smallest video PTS
    std::optional<uint64_t> earliestAudio;  // the smallest PTS of an audio or private stream
    // When the key picture of the first group of pictures that starts in the bytes is shown:
    // where decoding can start, and so where a player lands that jumps there. Worked out from
    // the first picture of the group whose packet carries a PTS; nullopt when none does.
    std::optional<uint64_t> keyPicture;

    // The smallest PTS of any stream: where a player's clock for the stream starts.
    std::optional<uint64_t> earliest() const;
};

MpegTimes ReadMpegTimes(std::span<const uint8_t> bytes);

// b − a in seconds, across the 33-bit wrap: negative when b lies before a.
double MpegSecondsBetween(uint64_t a, uint64_t b);
