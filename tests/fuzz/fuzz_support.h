#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the fuzz entry points share: a scratch folder of the process and files written into it.
namespace fuzz {

// A private folder made on first use and removed when the process ends; no trailing "/".
const std::string& Scratch();

// Writes the bytes to the path below Scratch(), making its folders; answers the full path.
std::string WriteFile(std::string_view relativePath, std::string_view bytes);

inline std::string_view Bytes(const uint8_t* data, size_t size)
{
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

}  // namespace fuzz
