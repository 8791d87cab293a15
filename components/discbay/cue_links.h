#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// libcdio reads a cue's data from the .bin named like the cue, and takes only ".cue" or ".CUE"
// for a cue: a rip whose cue names another file ("Film (Track 1).bin") or is spelled
// "Film.Cue" would not open. Such a cue is opened through a private pair of links named as
// libcdio wants, which live as long as this object.
class CueLinks {
public:
    // What to hand libcdio for the cue; nullopt when the data file it names does not exist or
    // the links cannot be made.
    static std::optional<CueLinks> prepare(const std::string& cue);
    ~CueLinks();
    CueLinks(CueLinks&& other) noexcept;
    CueLinks& operator=(CueLinks&&) = delete;
    CueLinks(const CueLinks&) = delete;
    CueLinks& operator=(const CueLinks&) = delete;

    const std::string& cue() const { return cue_; }  // the cue libcdio opens
    const std::string& bin() const { return bin_; }  // the data file it will read

private:
    CueLinks(std::string cue, std::string bin, std::string folder);

    std::string cue_;
    std::string bin_;
    std::string folder_;  // the links' folder; empty when the cue is opened as it is
};

// The data file named by the first FILE line of a cue's text, as written (quoted or not);
// nullopt when there is none.
std::optional<std::string> CueDataFile(std::string_view text);

// Whether libcdio may be handed the cue's text. Its reader (libcdio 2.1) crashes on a sheet
// whose tracks do not run 1, 2, 3, … and leaks the name of a FILE line no TRACK follows; it
// reads a NUL as the end of a line and a long line as several. So only sheets whose
// every FILE line is followed by a TRACK line, whose tracks count up from 1, with no NUL and
// no line over kLongestCueLine bytes, go to it; a real Video CD cue is all of these.
inline constexpr size_t kLongestCueLine = 1000;
bool CueSheetIsSound(std::string_view text);
