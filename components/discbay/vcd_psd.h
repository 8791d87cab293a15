#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "components/discbay/vcd_control.h"

// Inside the control file parser: its bounds-checked bytes and the PSD reader.
namespace vcdbytes {

// Big-endian fields of a byte string; a field that does not lie whole inside reads as zero, so
// callers check has() before they trust one.
class Bytes {
public:
    explicit Bytes(std::string_view data) : data_(data) {}
    size_t size() const { return data_.size(); }
    bool has(size_t at, size_t count) const { return at <= data_.size() && count <= data_.size() - at; }
    uint8_t u8(size_t at) const { return has(at, 1) ? static_cast<uint8_t>(data_[at]) : 0; }
    uint16_t u16(size_t at) const { return has(at, 2) ? static_cast<uint16_t>(u8(at) << 8 | u8(at + 1)) : 0; }
    uint32_t u32(size_t at) const { return has(at, 4) ? uint32_t{u16(at)} << 16 | u16(at + 2) : 0; }
    std::string_view text(size_t at, size_t count) const { return has(at, count) ? data_.substr(at, count) : ""; }

private:
    std::string_view data_;
};

}  // namespace vcdbytes

struct VcdPbcReading {
    std::optional<VcdPbc> pbc;
    std::string problem;  // why there is none
};

// The lists reachable from the LOT (list ids 1 to lidCount) and through every link; the first
// `psdSize` bytes of `psd` count.
VcdPbcReading ParseVcdPbc(std::string_view lot, std::string_view psd, size_t psdSize, uint16_t lidCount);

// The first list of a cycle of lists that each pass on at once without showing anything;
// what shows something is what the control says its disc plays.
std::optional<uint16_t> FindSilentVcdLoop(const VcdPbc& pbc, const VcdControl& control);
