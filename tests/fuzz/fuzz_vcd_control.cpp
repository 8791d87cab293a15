// The Video CD control file parser over the fuzzer's bytes: INFO, ENTRIES, LOT, PSD, LOT_X and
// PSD_X in that order, each behind its length (two bytes, big-endian); a part the bytes do not
// reach is empty. Whatever it reads must hang together: every enabled link of every list leads
// to a list, and playback control comes with no problem or a problem with no playback control.
#include <cstdint>
#include <string_view>
#include <variant>
#include <vector>

#include "components/discbay/vcd_control.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::string_view nextPart(std::string_view& bytes)
{
    if (bytes.size() < 2)
        return bytes = {};
    const size_t length = static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]);
    const std::string_view part = bytes.substr(2, length);
    bytes.remove_prefix(2 + part.size());
    return part;
}

std::vector<VcdLink> linksOf(const VcdList& list)
{
    if (const auto* play = std::get_if<VcdPlayList>(&list))
        return {play->previous, play->next, play->back};
    if (const auto* selection = std::get_if<VcdSelectionList>(&list)) {
        std::vector<VcdLink> links{selection->previous, selection->next, selection->back, selection->defaultLink,
                                   selection->timeout};
        links.insert(links.end(), selection->selections.begin(), selection->selections.end());
        if (selection->areas && selection->areas->selections.size() != selection->selections.size())
            __builtin_trap();
        return links;
    }
    return {};
}

void check(const VcdControl& control)
{
    if (control.pbc.has_value() == !control.pbcProblem.empty())
        __builtin_trap();
    for (const VcdEntryPoint& entry : control.entries)
        if (entry.track < 2 || entry.track > 99 || entry.sector < 0)
            __builtin_trap();
    if (!control.pbc)
        return;
    const VcdPbc& pbc = *control.pbc;
    if (!pbc.at(pbc.firstOffset))
        __builtin_trap();
    for (const auto& [lid, offset] : pbc.lidOffsets)
        if (pbc.ofLid(lid) != pbc.at(offset) || !pbc.lidAt(offset))
            __builtin_trap();
    for (const auto& [offset, list] : pbc.lists)
        for (const VcdLink& link : linksOf(list))
            if (link && !pbc.at(link))
                __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes = fuzz::Bytes(data, size);
    VcdControlFiles files;
    for (std::string_view* part : {&files.info, &files.entries, &files.lot, &files.psd, &files.lotX, &files.psdX})
        *part = nextPart(bytes);
    if (const std::optional<VcdControl> control = ParseVcdControl(files))
        check(*control);
    return 0;
}
