// The command line: arguments (split at NUL bytes) parted into words and files, and the words
// handed to a window as the running player would.
#include <cstdint>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "core/window.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

class NoTimers final : public TimerHost {
public:
    void start(TimerId, uint32_t) override {}
    void stop(TimerId) override {}
    bool isRunning(TimerId) const override { return false; }
    uint32_t period(TimerId) const override { return 0; }
};

class CountingWindow final : public Window {
public:
    void post(const Message&) override { ++posted; }
    TimerHost& timers() override { return timers_; }
    size_t posted = 0;

private:
    NoTimers timers_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<std::string> words = {"quintara"};
    std::string_view rest = fuzz::Bytes(data, size);
    while (words.size() < 64) {
        const size_t end = rest.find('\0');
        words.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
    }
    std::vector<const char*> argv;
    for (const std::string& word : words)
        argv.push_back(word.c_str());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    (void)JoinCommandLine(argc, argv.data());
    const CommandLineRequest request = ParseCommandLine(argc, argv.data());
    for (const std::string& file : request.files)
        if (file.empty() || file.front() != '/')
            __builtin_trap();  // the running player has another working folder
    (void)IsCloseCommand(request.line);
    CountingWindow window;
    (void)HandleCommandLine(window, request.line);
    return 0;
}
