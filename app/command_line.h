#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class Window;

// At most this many characters of the command line are looked at.
constexpr size_t kCommandLineLimit = 255;

// The text after the program name: its arguments joined by single spaces.
std::string JoinCommandLine(int argc, const char* const* argv);

// The command line parted into the words for HandleCommandLine and the files to play.
struct CommandLineRequest {
    std::string line;                // the other arguments joined by single spaces
    std::vector<std::string> files;  // absolute paths, in the order given
    bool close = false;              // the whole line as given closes the player
};
// An argument that names an existing file or folder is a file to play, unless it is one of
// the line's own words ("/Play", a drive word) or the whole line closes the player. Paths are
// made absolute here: the running player has another working folder. Close is decided on the
// line as given: "clip.mpg close" plays the clip and closes nothing.
CommandLineRequest ParseCommandLine(int argc, const char* const* argv);

// "Close" or "Destroy" as the whole line, in any case: close the running player.
bool IsCloseCommand(std::string_view commandLine);

// Posts the line's requests to the target: a drive word's disc first, then handFiles (when
// given: the files named beside the words go over), then "/Play", so that Play finds the disc's
// or the files' list rather than an empty one. Answers false for an empty line, true otherwise.
bool HandleCommandLine(Window& target, std::string_view commandLine, const std::function<void()>& handFiles = {});
