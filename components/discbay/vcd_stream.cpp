#include "components/discbay/vcd_stream.h"

#include <mpv/client.h>
#include <mpv/stream_cb.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>

namespace {
constexpr const char* kProtocol = "quintaravcd";
constexpr std::string_view kPrefix = "quintaravcd://";
constexpr char kDigits[] = "0123456789abcdef";

std::string hexOf(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out.push_back(kDigits[byte >> 4]);
        out.push_back(kDigits[byte & 15]);
    }
    return out;
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::optional<std::string> bytesOf(std::string_view hex)
{
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string out;
    out.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = digitValue(hex[i]);
        const int low = digitValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        out.push_back(static_cast<char>(high << 4 | low));
    }
    return out;
}

// One stream as libmpv holds it; everything but `cancelled` is used on libmpv's reading thread.
struct VcdStream {
    std::unique_ptr<VcdDisc> disc;
    std::unique_ptr<VcdFile> file;
    uint64_t position = 0;
    std::atomic<bool> cancelled{false};
};

int64_t readStream(void* cookie, char* buffer, uint64_t bytes)
{
    auto* stream = static_cast<VcdStream*>(cookie);
    if (stream->cancelled)
        return -1;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(bytes, std::numeric_limits<size_t>::max()));
    const int64_t got = stream->file->read(stream->position, buffer, wanted);
    if (got > 0)
        stream->position += static_cast<uint64_t>(got);
    return got;
}

int64_t seekStream(void* cookie, int64_t offset)
{
    auto* stream = static_cast<VcdStream*>(cookie);
    if (stream->cancelled || offset < 0)
        return MPV_ERROR_GENERIC;
    stream->position = static_cast<uint64_t>(offset);
    return offset;
}

int64_t sizeOfStream(void* cookie)
{
    return static_cast<int64_t>(static_cast<VcdStream*>(cookie)->file->size());
}

void closeStream(void* cookie)
{
    std::unique_ptr<VcdStream> owned(static_cast<VcdStream*>(cookie));
}

// A drive's read may take long (a disc spinning up); once libmpv gives up on the stream,
// the reads still to come fail at once.
void cancelStream(void* cookie)
{
    static_cast<VcdStream*>(cookie)->cancelled = true;
}

int openStream(void*, char* uri, mpv_stream_cb_info* info)
{
    const std::optional<RawVcdSource> source = ParseVcdStreamUrl(uri);
    if (!source)
        return MPV_ERROR_LOADING_FAILED;
    auto stream = std::make_unique<VcdStream>();
    stream->disc = VcdDisc::open(source->source);
    if (stream->disc)
        stream->file = stream->disc->openFile(source->inside);
    if (!stream->file)
        return MPV_ERROR_LOADING_FAILED;
    info->cookie = stream.release();
    info->read_fn = readStream;
    info->seek_fn = seekStream;
    info->size_fn = sizeOfStream;
    info->close_fn = closeStream;
    info->cancel_fn = cancelStream;
    return 0;
}
}  // namespace

void RegisterVcdStreams(mpv_handle* handle)
{
    // A refusal (the name taken, no memory) leaves only the Video CD streams unopenable.
    mpv_stream_cb_add_ro(handle, kProtocol, nullptr, openStream);
}

std::string VcdStreamUrl(const RawVcdSource& source)
{
    return std::string(kPrefix) + hexOf(source.source) + "/" + hexOf(source.inside);
}

std::optional<RawVcdSource> ParseVcdStreamUrl(std::string_view url)
{
    if (url.substr(0, kPrefix.size()) != kPrefix)
        return std::nullopt;
    url.remove_prefix(kPrefix.size());
    const size_t slash = url.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    std::optional<std::string> source = bytesOf(url.substr(0, slash));
    std::optional<std::string> inside = bytesOf(url.substr(slash + 1));
    if (!source || !inside || source->empty() || inside->empty())
        return std::nullopt;
    return RawVcdSource{std::move(*source), std::move(*inside)};
}

bool VcdStreamHasData(const RawVcdSource& source)
{
    const std::unique_ptr<VcdDisc> disc = VcdDisc::open(source.source);
    const std::unique_ptr<VcdFile> file = disc ? disc->openFile(source.inside) : nullptr;
    return file && file->size() > 0;
}
