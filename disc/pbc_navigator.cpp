#include "disc/pbc_navigator.h"

#include <algorithm>
#include <variant>
#include <vector>

namespace {
constexpr uint32_t kPlayTimeUnitsPerSecond = 15;

const VcdPlayList* AsPlayList(const VcdList* list)
{
    return list ? std::get_if<VcdPlayList>(list) : nullptr;
}

const VcdSelectionList* AsSelection(const VcdList* list)
{
    return list ? std::get_if<VcdSelectionList>(list) : nullptr;
}

bool PlaysSomething(const VcdPlayItem& item)
{
    return item.kind == VcdPlayItem::Kind::Track || item.kind == VcdPlayItem::Kind::Entry ||
           item.kind == VcdPlayItem::Kind::Segment;
}
}  // namespace

std::optional<VcdPlayItem> FirstItemOf(const VcdList& list)
{
    if (const VcdPlayList* play = AsPlayList(&list)) {
        const auto first = std::ranges::find_if(play->items, PlaysSomething);
        return first == play->items.end() ? std::nullopt : std::optional(*first);
    }
    if (const VcdSelectionList* selection = AsSelection(&list); selection && PlaysSomething(selection->background))
        return selection->background;
    return std::nullopt;
}

bool PbcNavigator::parkAt(uint16_t offset)
{
    if (!pbc_.at(offset))
        return false;
    player_.stopWait();
    pending_.reset();
    offset_ = offset;
    phase_ = PbcPhase::Parked;
    return true;
}

bool PbcNavigator::start(uint16_t offset)
{
    if (!pbc_.at(offset))
        return false;
    enter(offset);
    return true;
}

PbcNavigator::Links PbcNavigator::current() const
{
    if (const VcdPlayList* play = AsPlayList(list()))
        return {play->previous, play->next, play->back};
    if (const VcdSelectionList* selection = AsSelection(list()))
        return {selection->previous, selection->next, selection->back};
    return {};
}

bool PbcNavigator::follow(VcdLink link)
{
    if (!active() || !pbc_.at(link))
        return false;
    jump(link);
    return true;
}

void PbcNavigator::enter(uint16_t offset)
{
    player_.stopWait();
    offset_ = offset;
    index_ = 0;
    passes_ = 0;
    pending_.reset();
    player_.listEntered();
    if (AsPlayList(list()))
        playFrom(0);
    else if (AsSelection(list()))
        playBackground();
    else
        end();
}

void PbcNavigator::playFrom(size_t index)
{
    const VcdPlayList& play = *AsPlayList(list());
    while (index < play.items.size() && !PlaysSomething(play.items[index]))
        ++index;
    index_ = index;
    if (index >= play.items.size()) {
        wait(play.waitCode);
        return;
    }
    phase_ = PbcPhase::Playing;
    player_.playItem(play.items[index], play.playTime * 1000u / kPlayTimeUnitsPerSecond);
}

void PbcNavigator::playBackground()
{
    const VcdSelectionList& selection = *AsSelection(list());
    if (!PlaysSomething(selection.background)) {
        wait(selection.timeoutCode);
        return;
    }
    phase_ = PbcPhase::Playing;
    player_.playItem(selection.background, 0);
}

void PbcNavigator::itemEnded()
{
    if (phase_ != PbcPhase::Playing)
        return;
    if (AsPlayList(list())) {
        playFrom(index_ + 1);
        return;
    }
    const VcdSelectionList& selection = *AsSelection(list());
    if (pending_) {
        jump(*pending_);
        return;
    }
    ++passes_;
    if (selection.loopCount != 0 && passes_ >= selection.loopCount)
        wait(selection.timeoutCode);
    else if (selection.loopCount == 0 && control_.silentStill(selection.background))
        phase_ = PbcPhase::Holding;  // its passes for ever would only open it again and again
    else
        player_.playItem(selection.background, 0);
}

void PbcNavigator::wait(uint8_t code)
{
    const std::optional<int> seconds = VcdWaitSeconds(code);
    if (!seconds) {
        phase_ = PbcPhase::Holding;
        return;
    }
    if (*seconds == 0) {
        afterWait();
        return;
    }
    phase_ = PbcPhase::Waiting;
    player_.startWait(static_cast<uint32_t>(*seconds) * 1000u);
}

void PbcNavigator::waitElapsed()
{
    if (phase_ == PbcPhase::Waiting)
        afterWait();
}

void PbcNavigator::afterWait()
{
    if (const VcdPlayList* play = AsPlayList(list())) {
        jump(play->next);
        return;
    }
    const VcdSelectionList& selection = *AsSelection(list());
    if (selection.timeout) {
        jump(selection.timeout);
        return;
    }
    // No list to time out to: one of the selections, by chance.
    std::vector<VcdLink> open;
    for (const VcdLink& link : selection.selections)
        if (pbc_.at(link))
            open.push_back(link);
    if (open.empty()) {
        phase_ = PbcPhase::Holding;
        return;
    }
    jump(open[player_.randomBelow(static_cast<unsigned>(open.size())) % open.size()]);
}

void PbcNavigator::jump(VcdLink link)
{
    if (!pbc_.at(link)) {
        end();
        return;
    }
    const VcdSelectionList* selection = AsSelection(list());
    if (selection && selection->delayedJump && phase_ == PbcPhase::Playing && !pending_) {
        // Delayed jump timing: the background's pass ends first.
        pending_ = link;
        return;
    }
    enter(*link);
}

void PbcNavigator::end()
{
    player_.stopWait();
    pending_.reset();
    phase_ = PbcPhase::Ended;
    player_.stopPlaying();
}

bool PbcNavigator::choose()
{
    const VcdSelectionList* selection = active() ? AsSelection(list()) : nullptr;
    if (!selection)
        return false;
    if (selection->defaultKind == VcdSelectionList::Default::Link)
        return follow(selection->defaultLink);
    // Multi-default: the selection of the background's entry that plays now.
    const std::optional<unsigned> entry = player_.playingEntry();
    if (!entry || *entry >= selection->selections.size())
        return false;
    return follow(selection->selections[*entry]);
}

std::optional<unsigned> PbcNavigator::highestNumber() const
{
    const VcdSelectionList* selection = active() ? AsSelection(list()) : nullptr;
    if (!selection || selection->selections.empty() ||
        selection->defaultKind == VcdSelectionList::Default::MultiWithoutNumbers)
        return std::nullopt;
    return selection->bsn + static_cast<unsigned>(selection->selections.size()) - 1;
}

bool PbcNavigator::choose(unsigned number)
{
    const std::optional<unsigned> highest = highestNumber();
    if (!highest || number > *highest)
        return false;
    const VcdSelectionList& selection = *AsSelection(list());
    if (number < selection.bsn)
        return false;
    return follow(selection.selections[number - selection.bsn]);
}

std::optional<VcdLink> PbcNavigator::linkAt(uint8_t x, uint8_t y) const
{
    const VcdSelectionList* selection = active() ? AsSelection(list()) : nullptr;
    if (!selection || !selection->areas)
        return std::nullopt;
    const VcdSelectionAreas& areas = *selection->areas;
    const auto holds = [x, y](const VcdArea& area) {
        return area.present() && x >= area.x1 && x <= area.x2 && y >= area.y1 && y <= area.y2;
    };
    for (size_t i = 0; i < areas.selections.size() && i < selection->selections.size(); ++i)
        if (holds(areas.selections[i]) && pbc_.at(selection->selections[i]))
            return selection->selections[i];
    const std::pair<const VcdArea&, VcdLink> keys[] = {
        {areas.previous, selection->previous},
        {areas.next, selection->next},
        {areas.back, selection->back},
        {areas.defaultArea, selection->defaultKind == VcdSelectionList::Default::Link ? selection->defaultLink : VcdLink{}},
    };
    for (const auto& [area, link] : keys)
        if (holds(area) && pbc_.at(link))
            return link;
    return std::nullopt;
}

bool PbcNavigator::chooseAt(uint8_t x, uint8_t y)
{
    const std::optional<VcdLink> link = linkAt(x, y);
    return link && follow(*link);
}

void PbcNavigator::park()
{
    if (!active())
        return;
    player_.stopWait();
    pending_.reset();
    phase_ = PbcPhase::Parked;
    player_.stopPlaying();
}

bool PbcNavigator::resume()
{
    if (phase_ == PbcPhase::Parked)
        return start(offset_);
    if (phase_ == PbcPhase::Ended)
        return startAtFirst();
    return false;
}
