#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class Window;

// At most this many characters of the command line are looked at.
constexpr size_t kCommandLineLimit = 255;

// The text after the program name: its arguments joined by single spaces.
std::string JoinCommandLine(int argc, const char* const* argv);

// "Close" or "Destroy" as the whole line, in any case: close the running player.
bool IsCloseCommand(std::string_view commandLine);

// Posts the line's requests to the target: a drive word's disc first, then "/Play".
// Answers 0 for an empty line, 1 otherwise.
uint32_t HandleCommandLine(Window& target, std::string_view commandLine);
