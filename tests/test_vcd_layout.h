#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

// Where things lie in a Video CD image's .bin (raw 2,352-byte sectors), to look at or damage
// what the reader reads.
namespace vcdlayout {

constexpr size_t kRawSector = 2352;
constexpr size_t kForm1DataAt = 24;  // a Form 1 sector's data after sync, header and sub-header
constexpr size_t kForm1Data = 2048;
constexpr size_t kForm2Data = 2324;
constexpr size_t kPvdSector = 16;
constexpr size_t kRootRecordAt = 156;  // in the primary volume descriptor
// Fields of a directory record.
constexpr size_t kExtent = 2;
constexpr size_t kDataLength = 10;
constexpr size_t kNameLength = 32;
constexpr size_t kName = 33;

inline std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline size_t dataOf(size_t sector) { return sector * kRawSector + kForm1DataAt; }

inline uint32_t read32(const std::string& bin, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bin[at + i]);
    return value;
}

// An ISO 9660 number recorded both ways: little-endian, then big-endian.
inline void writeBoth32(std::string& bin, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bin[at + i] = static_cast<char>(value >> (8 * i));
        bin[at + 7 - i] = static_cast<char>(value >> (8 * i));
    }
}

inline size_t rootRecord() { return dataOf(kPvdSector) + kRootRecordAt; }

// Where the record named `name` starts in the directory whose own record starts at `directory`.
inline size_t recordIn(const std::string& bin, size_t directory, const std::string& name)
{
    const size_t start = dataOf(read32(bin, directory + kExtent));
    const size_t found = bin.find(name, start);
    if (found == std::string::npos || found > start + kForm1Data)
        throw std::runtime_error("no record of " + name);
    return found - kName;
}

inline size_t mpegavRecord(const std::string& bin) { return recordIn(bin, rootRecord(), "MPEGAV"); }
inline size_t trackRecord(const std::string& bin, const std::string& name)
{
    return recordIn(bin, mpegavRecord(bin), name + ";1");
}

}  // namespace vcdlayout
