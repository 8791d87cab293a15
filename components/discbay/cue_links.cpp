#include "components/discbay/cue_links.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "core/text.h"

namespace fs = std::filesystem;

namespace {
// A cue sheet is a few lines a track; a larger file is no cue of ours.
constexpr std::streamsize kLongestCue = 64 * 1024;

// The .bin libcdio pairs with a cue, or nothing for a name it does not take for a cue.
std::optional<std::string> libcdioBinOf(const std::string& cue)
{
    if (cue.size() < 4)
        return std::nullopt;
    const std::string_view extension = std::string_view(cue).substr(cue.size() - 4);
    if (extension == ".cue")
        return cue.substr(0, cue.size() - 4) + ".bin";
    if (extension == ".CUE")
        return cue.substr(0, cue.size() - 4) + ".BIN";
    return std::nullopt;
}
}  // namespace

std::optional<std::string> CueDataFile(std::string_view text)
{
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = TrimmedBlanks(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.substr(0, 5) != "FILE " && line.substr(0, 5) != "FILE\t")
            continue;
        line = TrimmedBlanks(line.substr(5));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() == '"') {
            const size_t close = line.find('"', 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            return std::string(line.substr(1, close - 1));
        }
        // Unquoted: the name runs to the next blank, the file type follows.
        return std::string(line.substr(0, line.find_first_of(" \t")));
    }
    return std::nullopt;
}

namespace {

// The line's first word as libcdio parts it, and the second.
std::pair<std::string_view, std::string_view> firstWords(std::string_view line)
{
    constexpr std::string_view kSeparators = " \t\r";
    std::pair<std::string_view, std::string_view> words;
    for (std::string_view* word : {&words.first, &words.second}) {
        const size_t begin = std::min(line.find_first_not_of(kSeparators), line.size());
        line.remove_prefix(begin);
        *word = line.substr(0, line.find_first_of(kSeparators));
        line.remove_prefix(word->size());
    }
    return words;
}

}  // namespace

bool CueSheetIsSound(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return false;
    bool fileWaits = false;  // a FILE line no TRACK line has followed yet
    bool anyFile = false;
    int lastTrack = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        if (end > kLongestCueLine)
            return false;
        const auto [keyword, argument] = firstWords(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (EqualsIgnoringCase(keyword, "FILE")) {
            if (fileWaits)
                return false;
            fileWaits = anyFile = true;
        } else if (EqualsIgnoringCase(keyword, "TRACK")) {
            const bool digits = !argument.empty() && argument.size() <= 2
                && argument.find_first_not_of("0123456789") == std::string_view::npos;
            if (!anyFile || !digits || std::stoi(std::string(argument)) != lastTrack + 1)
                return false;
            ++lastTrack;
            fileWaits = false;
        }
    }
    return !fileWaits;
}

std::optional<CueLinks> CueLinks::prepare(const std::string& cue)
{
    std::ifstream in(cue, std::ios::binary);
    if (!in)
        return std::nullopt;
    // One byte more than a cue may hold: libcdio would read what lies beyond the check.
    std::string text(static_cast<size_t>(kLongestCue) + 1, '\0');
    in.read(text.data(), kLongestCue + 1);
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > static_cast<size_t>(kLongestCue) || !CueSheetIsSound(text))
        return std::nullopt;

    // The file the cue names comes first; a pair renamed without its cue's text being
    // changed still has its data beside it, named like the cue.
    const std::optional<std::string> named = CueDataFile(text);
    const std::optional<std::string> paired = libcdioBinOf(cue);
    std::error_code error;
    fs::path bin;
    if (named && fs::is_regular_file(fs::path(cue).parent_path() / *named, error))
        bin = fs::path(cue).parent_path() / *named;
    else if (paired && fs::is_regular_file(*paired, error))
        bin = *paired;
    else
        return std::nullopt;
    bin = fs::absolute(bin, error);
    if (paired && fs::equivalent(bin, *paired, error))
        return CueLinks(cue, *paired, {});

    std::string folder = (fs::temp_directory_path(error) / "quintara-cue-XXXXXX").string();
    if (error || !mkdtemp(folder.data()))
        return std::nullopt;
    const std::string linkedCue = folder + "/disc.cue";
    const std::string linkedBin = folder + "/disc.bin";
    fs::create_symlink(fs::absolute(cue, error), linkedCue, error);
    if (!error)
        fs::create_symlink(bin, linkedBin, error);
    CueLinks links(linkedCue, linkedBin, folder);
    if (error)
        return std::nullopt;  // the links' folder goes with `links`
    return links;
}

CueLinks::CueLinks(std::string cue, std::string bin, std::string folder)
    : cue_(std::move(cue)), bin_(std::move(bin)), folder_(std::move(folder))
{
}

CueLinks::CueLinks(CueLinks&& other) noexcept
    : cue_(std::move(other.cue_)), bin_(std::move(other.bin_)), folder_(std::exchange(other.folder_, {}))
{
}

CueLinks::~CueLinks()
{
    if (folder_.empty())
        return;
    std::error_code error;
    fs::remove_all(folder_, error);
}
