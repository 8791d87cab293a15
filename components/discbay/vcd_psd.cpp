#include "components/discbay/vcd_psd.h"

#include <algorithm>
#include <deque>
#include <map>
#include <variant>
#include <vector>

namespace {

using vcdbytes::Bytes;

constexpr size_t kOffsetUnit = 8;
constexpr uint16_t kDisabled = 0xFFFF;
constexpr uint16_t kMultiDefault = 0xFFFE;
constexpr uint16_t kMultiDefaultWithoutNumbers = 0xFFFD;
constexpr uint16_t kRejectedBit = 0x8000;
constexpr int kHighestSelection = 99;

// Play list: type, items, lid, links, play time, waits, then the items.
constexpr size_t kPlayListBytes = 14;
// Selection list: type, flags, count, first number, lid, five links, wait, loop, background,
// then the selections' links and, when it has them, the areas.
constexpr size_t kSelectionBytes = 20;
constexpr size_t kAreaBytes = 4;
constexpr size_t kFixedAreas = 4;  // previous, next, return, default
constexpr uint8_t kAreasFlag = 0x01;
constexpr uint8_t kLoopCountMask = 0x7F;
constexpr uint8_t kDelayedJumpBit = 0x80;
constexpr size_t kEndListBytes = 8;
constexpr size_t kCommandListBytes = 5;

using Outcome = std::variant<VcdList, std::string>;

VcdLink linkOf(uint16_t value) { return value == kDisabled ? VcdLink{} : VcdLink{value}; }

std::string where(size_t byte) { return " at byte " + std::to_string(byte) + " of the PSD"; }

Outcome playList(const Bytes& psd, size_t start)
{
    const size_t count = psd.u8(start + 1);
    if (!psd.has(start, kPlayListBytes + 2 * count))
        return "a play list runs past the end" + where(start);
    VcdPlayList list;
    list.lid = psd.u16(start + 2) & ~kRejectedBit;
    list.rejected = (psd.u16(start + 2) & kRejectedBit) != 0;
    list.previous = linkOf(psd.u16(start + 4));
    list.next = linkOf(psd.u16(start + 6));
    list.back = linkOf(psd.u16(start + 8));
    list.playTime = psd.u16(start + 10);
    list.waitCode = psd.u8(start + 12);
    list.autoPauseCode = psd.u8(start + 13);
    for (size_t i = 0; i < count; ++i)
        list.items.push_back(DecodeVcdPlayItem(psd.u16(start + kPlayListBytes + 2 * i)));
    return list;
}

VcdArea areaAt(const Bytes& psd, size_t at)
{
    return {psd.u8(at), psd.u8(at + 1), psd.u8(at + 2), psd.u8(at + 3)};
}

VcdSelectionAreas areasAt(const Bytes& psd, size_t at, size_t count)
{
    VcdSelectionAreas areas{areaAt(psd, at), areaAt(psd, at + kAreaBytes), areaAt(psd, at + 2 * kAreaBytes),
                            areaAt(psd, at + 3 * kAreaBytes), {}};
    for (size_t i = 0; i < count; ++i)
        areas.selections.push_back(areaAt(psd, at + (kFixedAreas + i) * kAreaBytes));
    return areas;
}

void readDefault(VcdSelectionList& list, uint16_t value)
{
    if (value == kMultiDefault)
        list.defaultKind = VcdSelectionList::Default::Multi;
    else if (value == kMultiDefaultWithoutNumbers)
        list.defaultKind = VcdSelectionList::Default::MultiWithoutNumbers;
    else
        list.defaultLink = linkOf(value);
}

Outcome selectionList(const Bytes& psd, size_t start)
{
    VcdSelectionList list;
    list.extended = psd.u8(start) == 0x1A;
    list.flags = psd.u8(start + 1);
    const size_t count = psd.u8(start + 2);
    const bool withAreas = list.extended || (list.flags & kAreasFlag) != 0;
    const size_t areasStart = start + kSelectionBytes + 2 * count;
    const size_t areaBytes = withAreas ? (kFixedAreas + count) * kAreaBytes : 0;
    if (!psd.has(start, kSelectionBytes + 2 * count + areaBytes))
        return "a selection list runs past the end" + where(start);
    list.bsn = psd.u8(start + 3);
    if (count > 0 && (list.bsn == 0 || list.bsn + count - 1 > kHighestSelection))
        return "a selection list numbers its selections outside 1 to 99" + where(start);
    list.lid = psd.u16(start + 4) & ~kRejectedBit;
    list.rejected = (psd.u16(start + 4) & kRejectedBit) != 0;
    list.previous = linkOf(psd.u16(start + 6));
    list.next = linkOf(psd.u16(start + 8));
    list.back = linkOf(psd.u16(start + 10));
    readDefault(list, psd.u16(start + 12));
    list.timeout = linkOf(psd.u16(start + 14));
    list.timeoutCode = psd.u8(start + 16);
    list.loopCount = psd.u8(start + 17) & kLoopCountMask;
    list.delayedJump = (psd.u8(start + 17) & kDelayedJumpBit) != 0;
    list.background = DecodeVcdPlayItem(psd.u16(start + 18));
    for (size_t i = 0; i < count; ++i)
        list.selections.push_back(linkOf(psd.u16(start + kSelectionBytes + 2 * i)));
    if (withAreas)
        list.areas = areasAt(psd, areasStart, count);
    return list;
}

Outcome endList(const Bytes& psd, size_t start)
{
    if (!psd.has(start, kEndListBytes))
        return "an end list runs past the end" + where(start);
    return VcdEndList{psd.u8(start + 1), DecodeVcdPlayItem(psd.u16(start + 2))};
}

Outcome commandList(const Bytes& psd, size_t start)
{
    const size_t count = psd.u16(start + 1);
    if (!psd.has(start, kCommandListBytes) || !psd.has(start, kCommandListBytes + 2 * count))
        return "a command list runs past the end" + where(start);
    VcdCommandList list;
    list.lid = psd.u16(start + 3) & ~kRejectedBit;
    list.rejected = (psd.u16(start + 3) & kRejectedBit) != 0;
    for (size_t i = 0; i < count; ++i)
        list.commands.push_back(psd.u16(start + kCommandListBytes + 2 * i));
    return list;
}

struct DescriptorType {
    uint8_t type;
    Outcome (*read)(const Bytes&, size_t);
};

constexpr DescriptorType kTypes[] = {
    {0x10, playList}, {0x18, selectionList}, {0x1A, selectionList}, {0x1F, endList}, {0x20, commandList},
};

Outcome descriptorAt(const Bytes& psd, size_t start)
{
    const uint8_t type = psd.u8(start);
    for (const DescriptorType& known : kTypes)
        if (known.type == type)
            return known.read(psd, start);
    return "no list of a known type" + where(start);
}

template <typename... Visitors>
struct Overloaded : Visitors... {
    using Visitors::operator()...;
};
// clang 14 deduces no aggregate's arguments by itself.
template <typename... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

std::vector<VcdLink> linksOf(const VcdList& list)
{
    return std::visit(
        Overloaded{
            [](const VcdPlayList& play) { return std::vector<VcdLink>{play.previous, play.next, play.back}; },
            [](const VcdSelectionList& selection) {
                std::vector<VcdLink> links{selection.previous, selection.next, selection.back, selection.defaultLink,
                                           selection.timeout};
                links.insert(links.end(), selection.selections.begin(), selection.selections.end());
                return links;
            },
            [](const VcdEndList&) { return std::vector<VcdLink>{}; },
            [](const VcdCommandList&) { return std::vector<VcdLink>{}; },
        },
        list);
}

std::map<uint16_t, uint16_t> readLot(std::string_view lot, uint16_t lidCount)
{
    const Bytes table(lot);
    std::map<uint16_t, uint16_t> offsets;
    for (uint32_t lid = 1; lid <= lidCount && table.has(2 * lid, 2); ++lid)
        if (const uint16_t offset = table.u16(2 * lid); offset != kDisabled)
            offsets.emplace(static_cast<uint16_t>(lid), offset);
    return offsets;
}

// Where a list that shows nothing passes on to at once, if it does.
VcdLink passesOnAtOnce(const VcdList& list, const VcdControl& control)
{
    const auto plays = [&control](const VcdPlayItem& item) { return control.plays(item); };
    if (const auto* play = std::get_if<VcdPlayList>(&list))
        return play->waitCode == 0 && std::none_of(play->items.begin(), play->items.end(), plays) ? play->next
                                                                                                : VcdLink{};
    if (const auto* selection = std::get_if<VcdSelectionList>(&list))
        return selection->timeoutCode == 0 && !plays(selection->background) ? selection->timeout : VcdLink{};
    return {};
}

}  // namespace

VcdPbcReading ParseVcdPbc(std::string_view lot, std::string_view psd, size_t psdSize, uint16_t lidCount)
{
    if (psdSize > psd.size())
        return {std::nullopt, "the PSD holds " + std::to_string(psd.size()) + " bytes of the " +
                                  std::to_string(psdSize) + " INFO tells"};
    const Bytes bytes(psd.substr(0, psdSize));
    VcdPbc pbc;
    pbc.lidOffsets = readLot(lot, lidCount);
    const auto first = pbc.lidOffsets.find(1);
    pbc.firstOffset = first == pbc.lidOffsets.end() ? 0 : first->second;

    // Each offset waits once at most, however many links lead to it.
    std::vector<bool> seen(size_t{kDisabled} + 1);
    std::deque<uint16_t> waiting;
    const auto await = [&](uint16_t offset) {
        if (!seen[offset])
            waiting.push_back(offset);
        seen[offset] = true;
    };
    await(pbc.firstOffset);
    for (const auto& [lid, offset] : pbc.lidOffsets)
        await(offset);
    while (!waiting.empty()) {
        const uint16_t offset = waiting.front();
        waiting.pop_front();
        const size_t start = size_t{offset} * kOffsetUnit;
        if (!bytes.has(start, 1))
            return {std::nullopt, "offset " + std::to_string(offset) + " lies past the PSD's end"};
        Outcome outcome = descriptorAt(bytes, start);
        if (const auto* problem = std::get_if<std::string>(&outcome))
            return {std::nullopt, *problem};
        const VcdList& list = pbc.lists.emplace(offset, std::move(std::get<VcdList>(outcome))).first->second;
        for (const VcdLink& link : linksOf(list))
            if (link)
                await(*link);
    }
    return {std::move(pbc), {}};
}

std::optional<uint16_t> FindSilentVcdLoop(const VcdPbc& pbc, const VcdControl& control)
{
    // Each list passes on to one list at most: a walk that meets itself has found a cycle, one
    // that meets an earlier walk has not.
    std::map<uint16_t, size_t> walkOf;
    size_t walk = 0;
    for (const auto& [start, ignored] : pbc.lists) {
        ++walk;
        std::optional<uint16_t> here = start;
        while (here && !walkOf.count(*here)) {
            walkOf[*here] = walk;
            const VcdList* list = pbc.at(*here);
            here = list ? passesOnAtOnce(*list, control) : VcdLink{};
        }
        if (here && walkOf[*here] == walk)
            return here;
    }
    return std::nullopt;
}
