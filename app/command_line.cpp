#include "app/command_line.h"

#include <filesystem>
#include <optional>

#include "core/message.h"
#include "core/text.h"
#include "core/window.h"

std::string JoinCommandLine(int argc, const char* const* argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1)
            line += ' ';
        line += argv[i];
    }
    return line;
}

bool IsCloseCommand(std::string_view commandLine)
{
    return EqualsIgnoringCase(commandLine, "Close") || EqualsIgnoringCase(commandLine, "Destroy");
}

namespace {
std::optional<intptr_t> driveIndex(std::string_view word)
{
    if (word.size() != 2 || word[1] != ':')
        return std::nullopt;
    if (word[0] >= 'a' && word[0] <= 'z')
        return word[0] - 'a';
    if (word[0] >= 'A' && word[0] <= 'Z')
        return word[0] - 'A';
    return std::nullopt;
}
}  // namespace

bool HandleCommandLine(Window& target, std::string_view commandLine, const std::function<void()>& handFiles)
{
    if (commandLine.empty()) {
        if (handFiles)
            handFiles();
        return false;
    }
    const std::string line = CutToCharacters(commandLine, kCommandLineLimit);

    bool play = false;
    std::optional<intptr_t> drive;
    size_t at = 0;
    while (at < line.size()) {
        const size_t start = line.find_first_not_of(' ', at);
        if (start == std::string::npos)
            break;
        const size_t end = std::min(line.find(' ', start), line.size());
        const std::string_view word = std::string_view(line).substr(start, end - start);
        if (EqualsIgnoringCase(word, "/Play"))
            play = true;
        else if (const auto index = driveIndex(word))
            drive = index;
        at = end;
    }

    if (drive)
        target.post({msg::SecondStart, second_start::LoadDrive, *drive});
    if (handFiles)
        handFiles();
    if (play)
        target.post({msg::SecondStart, second_start::Play, 0});
    return true;
}

CommandLineRequest ParseCommandLine(int argc, const char* const* argv)
{
    CommandLineRequest request;
    const std::string whole = JoinCommandLine(argc, argv);
    if (IsCloseCommand(whole)) {
        request.line = whole;
        request.close = true;
        return request;
    }
    std::vector<const char*> words = {argc > 0 ? argv[0] : ""};
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        std::error_code error;
        const bool lineWord = EqualsIgnoringCase(word, "/Play") || driveIndex(word);
        if (!lineWord && !word.empty() && std::filesystem::exists(argv[i], error)) {
            const std::filesystem::path path = std::filesystem::absolute(argv[i], error);
            if (!error) {
                request.files.push_back(path.lexically_normal().string());
                continue;
            }
        }
        words.push_back(argv[i]);
    }
    request.line = JoinCommandLine(static_cast<int>(words.size()), words.data());
    return request;
}
