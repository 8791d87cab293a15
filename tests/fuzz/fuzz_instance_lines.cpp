// The single-instance channel's wire format: a peer's bytes, cut where the fuzzer's first byte
// says, into lines, and each line into a message or a file.
#include <algorithm>
#include <cstdint>

#include "app/instance_channel.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const size_t chunk = size_t{data[0]} + 1;  // arrivals of various sizes cut lines anywhere
    std::string_view rest = fuzz::Bytes(data + 1, size - 1);
    InstanceLines reader;
    while (!rest.empty()) {
        bool overCap = false;
        for (const std::string& line : reader.take(rest.substr(0, chunk), overCap)) {
            if (const std::optional<std::string> file = ParseInstanceFileLine(line)) {
                if (file->empty() || file->front() != '/' || file->find('\0') != std::string::npos)
                    __builtin_trap();  // a file line must only ever give an absolute path
                continue;
            }
            (void)ParseInstancePostLine(line);
        }
        if (overCap)
            break;
        rest.remove_prefix(std::min(chunk, rest.size()));
    }
    return 0;
}
