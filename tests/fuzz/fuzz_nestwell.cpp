// The profile store's reader: a profile file of the fuzzer's bytes, read, queried and written
// back.
#include <cstdint>
#include <optional>
#include <string>

#include "components/nestwell/nestwell_file.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::WriteFile("profiles/Halvex/VideoPlayer/profile.ini", fuzz::Bytes(data, size));
    NestwellFile store(fuzz::Scratch() + "/profiles");
    if (!store.setUserProfileInfo("me", "Halvex\\VideoPlayer"))
        __builtin_trap();  // the key is acceptable whatever the file holds
    for (const char* section : {"Panel", "Video", "User"}) {
        for (const char* key : {"Position", "Size", "Name"}) {
            const std::optional<std::string> text = store.getProfileString(section, key);
            if (text && text->size() > kLongestProfileText)
                __builtin_trap();  // a value never overruns the callers' room
        }
    }
    (void)store.setProfileString("Panel", "Position", "10,20");
    if (store.getProfileString("Panel", "Position") != "10,20")
        __builtin_trap();  // what was written reads back
    return 0;
}
