#pragma once

#include <cstdint>
#include <optional>

#include "components/discbay/vcd_control.h"

// What the navigator has the player do. One item plays at a time and one wait runs at a time;
// starting either replaces what ran before.
class PbcPlayer {
public:
    virtual ~PbcPlayer() = default;
    // Opens the item and plays it; limitMs, when not 0, ends it after that much of its time.
    // The player answers with itemEnded() once it has played.
    virtual void playItem(const VcdPlayItem& item, uint32_t limitMs) = 0;
    // Holds the picture that shows, for ever or until the wait the navigator starts ends.
    virtual void startWait(uint32_t ms) = 0;
    virtual void stopWait() = 0;
    // Playback control has ended or is parked: the engine stops.
    virtual void stopPlaying() = 0;
    // Another list is current, or the same one begins anew.
    virtual void listEntered() = 0;
    // The entry of the background's track that plays now, counted from the track's first;
    // nothing when the background is no track or its entries are not known.
    virtual std::optional<unsigned> playingEntry() const = 0;
    // A number from 0 to n - 1, for a timeout with no list to go to.
    virtual unsigned randomBelow(unsigned n) = 0;
};

// The item a list shows first: a play list's first that plays something, a selection list's
// background; nothing for a list that shows none.
std::optional<VcdPlayItem> FirstItemOf(const VcdList& list);

// Where playback control stands.
enum class PbcPhase {
    Playing,  // an item of the list plays
    Waiting,  // the list's last picture is held for a while
    Holding,  // the list's last picture is held until a key
    Parked,   // stopped by the user on a list; Play begins it again
    Ended,    // an end list, or a list with nowhere to go; Play begins at the first list
};

// Walks a disc's lists as a remote control would: play lists play their items and move on,
// selection lists play their background, take numbers and DEFAULT, and time out; NEXT,
// PREVIOUS and RETURN follow the current list's links. The keys answer false when they do not
// apply here, so that the player does what it does without playback control. Lists that pass
// on to each other for ever without showing anything never reach it: the reader turns such a
// disc's playback control off.
class PbcNavigator {
public:
    // Over a disc with lists: the control's pbc is set.
    PbcNavigator(const VcdControl& control, PbcPlayer& player) : control_(control), pbc_(*control.pbc), player_(player)
    {
    }

    // Begins at a list; false, with nothing done, when there is none at that offset.
    bool start(uint16_t offset);
    bool startAtFirst() { return start(pbc_.firstOffset); }
    // Stands parked at a list without playing it, as a disc that arrives while nothing plays;
    // false, with nothing done, when there is none at that offset.
    bool parkAt(uint16_t offset);

    // The current item has played to its end (or for the list's play time).
    void itemEnded();
    // The wait the navigator started has run out.
    void waitElapsed();

    bool next() { return follow(current().next); }
    bool previous() { return follow(current().previous); }
    bool back() { return follow(current().back); }
    // DEFAULT, which Play and Play/Pause are in a selection list; false where there is none.
    bool choose();
    // The highest number a selection list takes; nothing where numbers do not apply.
    std::optional<unsigned> highestNumber() const;
    // A typed number, confirmed; false when the list has no selection by that number.
    bool choose(unsigned number);
    // A selection list's area of the picture (0 to 255 each way, from the top left): whether
    // one that leads somewhere holds the point, and following it as its number or key would.
    bool hasAreaAt(uint8_t x, uint8_t y) const { return linkAt(x, y).has_value(); }
    bool chooseAt(uint8_t x, uint8_t y);
    // Stop: the list is parked, the engine stops.
    void park();
    // Play while parked or ended: the parked list anew, or the first list.
    bool resume();

    // Whether NEXT and PREVIOUS lead anywhere now.
    bool canGoNext() const { return active() && pbc_.at(current().next); }
    bool canGoPrevious() const { return active() && pbc_.at(current().previous); }
    PbcPhase phase() const { return phase_; }
    uint16_t offset() const { return offset_; }
    const VcdList* list() const { return pbc_.at(offset_); }

private:
    // The links every kind of list has, disabled for those that have none.
    struct Links {
        VcdLink previous, next, back;
    };

    std::optional<VcdLink> linkAt(uint8_t x, uint8_t y) const;
    bool active() const { return phase_ != PbcPhase::Parked && phase_ != PbcPhase::Ended; }
    Links current() const;
    bool follow(VcdLink link);
    void enter(uint16_t offset);
    void playFrom(size_t index);
    void playBackground();
    void wait(uint8_t code);
    void afterWait();
    void jump(VcdLink link);
    void end();

    const VcdControl& control_;
    const VcdPbc& pbc_;
    PbcPlayer& player_;
    PbcPhase phase_ = PbcPhase::Ended;
    uint16_t offset_ = 0;
    size_t index_ = 0;   // the play list's item that plays
    unsigned passes_ = 0;  // the background's passes played
    std::optional<VcdLink> pending_;  // a jump that waits for the background's pass to end
};
