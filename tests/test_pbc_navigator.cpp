// The navigator walking the lists of a Video CD made by vcdxbuild, as a remote control's keys
// and the engine's ends of items drive it.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "components/discbay/vcd_control_reader.h"
#include "disc/pbc_navigator.h"
#include "tests/support/vcd_pbc_image.h"

namespace {
using Kind = PbcImage::Kind;

// Notes each request as a word: "T2" (CD track 2), "E1" (entry 1), "S0" (segment 0), with a
// play time as "S2/2000"; "wait 3000"; "stop"; "L5" (list 5 entered).
class RecordingPbcPlayer : public PbcPlayer {
public:
    explicit RecordingPbcPlayer(const VcdPbc& pbc) : pbc_(pbc) {}

    void playItem(const VcdPlayItem& item, uint32_t limitMs) override
    {
        const std::string kinds = "-TES?";
        std::string word = kinds[static_cast<size_t>(item.kind)] + std::to_string(item.number);
        log.push_back(limitMs ? word + "/" + std::to_string(limitMs) : word);
    }
    void startWait(uint32_t ms) override { log.push_back("wait " + std::to_string(ms)); }
    void stopWait() override {}
    void stopPlaying() override { log.push_back("stop"); }
    void listEntered() override { log.push_back("L" + std::to_string(pbc_.lidAt(navigator->offset()).value_or(0))); }
    std::optional<unsigned> playingEntry() const override { return entry; }
    unsigned randomBelow(unsigned n) override { return n - 1; }

    const PbcNavigator* navigator = nullptr;
    std::vector<std::string> log;
    std::optional<unsigned> entry;

private:
    const VcdPbc& pbc_;
};

// Each input is a word: "end" (the item played), "time" (the wait ran out), "next", "prev",
// "back", "default", a number, "stop", "play", "entry<n>" (entry n of the background plays),
// "at<x>,<y>" (a click on the picture, 0 to 255 each way).
void Drive(PbcNavigator& navigator, RecordingPbcPlayer& player, const std::string& inputs)
{
    std::istringstream words(inputs);
    for (std::string word; words >> word;) {
        if (word == "end")
            navigator.itemEnded();
        else if (word == "time")
            navigator.waitElapsed();
        else if (word == "next")
            navigator.next();
        else if (word == "prev")
            navigator.previous();
        else if (word == "back")
            navigator.back();
        else if (word == "default")
            navigator.choose();
        else if (word == "stop")
            navigator.park();
        else if (word == "play")
            navigator.resume();
        else if (word.starts_with("at"))
            navigator.chooseAt(static_cast<uint8_t>(std::stoul(word.substr(2))),
                               static_cast<uint8_t>(std::stoul(word.substr(word.find(',') + 1))));
        else if (word.starts_with("entry"))
            player.entry = std::stoul(word.substr(5));
        else
            navigator.choose(static_cast<unsigned>(std::stoul(word)));
    }
}

struct Walk {
    const char* what;
    Kind disc;
    uint16_t lid;  // where it begins
    const char* inputs;
    std::vector<std::string> wanted;
    PbcPhase phase;
};

// The Video CD's lists: 1 the menu (still; 1, 2, 3 lead to 2, 3, 4; default 2; timeout 5
// after 10 s); 2 track 1 and a still, 3 s, then 3; 3 entry 1 and track 2, then 4 at once; 4
// entry 3 and track 3, 2 s, then 1; 5 the three tracks, then the end list 6; 7 a
// multi-default menu over track 1 without numbers, looping for ever; 8 a motion segment for
// 2 s, held for ever; 9 a menu without default or timeout list (the recording player's chance
// is always the last selection); 10 and 11 a silent picture and one with sound, each looping
// for ever, 1 leading to the menu. The Super Video CD's menu numbers its selections from 2, plays its still
// three times, jumps when a pass ends and times out after 70 s to list 2.
const Walk kWalks[] = {
    {"the menu's still is held for its wait, then the timeout list plays", Kind::VideoCd, 1, "end time",
     {"L1", "S0", "wait 10000", "L5", "T2"}, PbcPhase::Playing},
    {"a number chooses its list at once", Kind::VideoCd, 1, "2", {"L1", "S0", "L3", "E1"}, PbcPhase::Playing},
    {"a number outside the selections does nothing", Kind::VideoCd, 1, "end 4 0", {"L1", "S0", "wait 10000"},
     PbcPhase::Waiting},
    {"default follows the default link", Kind::VideoCd, 1, "default", {"L1", "S0", "L2", "T2"}, PbcPhase::Playing},
    {"a play list plays its items, holds the last for its wait and moves on", Kind::VideoCd, 2, "end end time",
     {"L2", "T2", "S1", "wait 3000", "L3", "E1"}, PbcPhase::Playing},
    {"a wait of 0 moves on at once", Kind::VideoCd, 3, "end end", {"L3", "E1", "T3", "L4", "E3"}, PbcPhase::Playing},
    {"the end list ends, and play begins at the first list", Kind::VideoCd, 5, "end end end play",
     {"L5", "T2", "T3", "T4", "L6", "stop", "L1", "S0"}, PbcPhase::Playing},
    {"next, previous and return follow the list's links", Kind::VideoCd, 3, "next prev back",
     {"L3", "E1", "L4", "E3", "L3", "E1", "L1", "S0"}, PbcPhase::Playing},
    {"a disabled link does nothing", Kind::VideoCd, 5, "prev", {"L5", "T2"}, PbcPhase::Playing},
    {"stop parks the list, its links rest, and play begins it anew", Kind::VideoCd, 3, "end stop next play",
     {"L3", "E1", "T3", "stop", "L3", "E1"}, PbcPhase::Playing},
    {"multi-default chooses by the entry that plays", Kind::VideoCd, 7, "entry1 default",
     {"L7", "T2", "L4", "E3"}, PbcPhase::Playing},
    {"numbers are off in a multi-default list without them", Kind::VideoCd, 7, "1", {"L7", "T2"}, PbcPhase::Playing},
    {"a click in a selection's area chooses it, before a key's area under it", Kind::VideoCd, 7, "at200,200 at10,10",
     {"L7", "T2", "L3", "E1"}, PbcPhase::Playing},
    {"a click in a key's area follows the key's link", Kind::VideoCd, 7, "at1,1", {"L7", "T2", "L1", "S0"},
     PbcPhase::Playing},
    {"a background looping for ever plays again at its end", Kind::VideoCd, 7, "end end",
     {"L7", "T2", "T2", "T2"}, PbcPhase::Playing},
    {"a play time ends each item; a wait for ever holds", Kind::VideoCd, 8, "end", {"L8", "S2/2000"},
     PbcPhase::Holding},
    {"without a default, default does nothing; without a timeout list, chance chooses", Kind::VideoCd, 9,
     "default end time", {"L9", "S1", "wait 1000", "L3", "E1"}, PbcPhase::Playing},
    {"a silent picture looping for ever is held, and still takes its numbers", Kind::VideoCd, 10, "end end 1",
     {"L10", "S0", "L1", "S0"}, PbcPhase::Playing},
    {"a picture with sound looping for ever plays its sound again", Kind::VideoCd, 11, "end end",
     {"L11", "S3", "S3", "S3"}, PbcPhase::Playing},
    {"numbers begin at the first selection's; a delayed jump waits for the pass to end", Kind::SuperVideoCd, 1,
     "1 2 end",
     {"L1", "S0", "L2", "T2/30000"}, PbcPhase::Playing},
    {"the background plays its loop count, then the long wait runs", Kind::SuperVideoCd, 1, "end end end",
     {"L1", "S0", "S0", "S0", "wait 70000"}, PbcPhase::Waiting},
};

// Where a list lies; a rejected list is in no table of list ids.
uint16_t OffsetOf(const VcdPbc& pbc, uint16_t lid)
{
    for (const auto& [offset, list] : pbc.lists)
        if (pbc.lidAt(offset) == lid)
            return offset;
    ADD_FAILURE() << "no list " << lid;
    return 0;
}

TEST(PbcNavigator, WalksTheListsOfADiscAsItsAuthorMeantThem)
{
    std::map<Kind, VcdDiscReading> readings;
    for (Kind kind : {Kind::VideoCd, Kind::SuperVideoCd}) {
        const PbcImage image(kind);
        readings[kind] = ReadVcdDisc({VcdDiscSource::Kind::Sectors, image.cue});
        ASSERT_TRUE(readings[kind].control && readings[kind].control->pbc) << readings[kind].problem;
    }
    for (const Walk& walk : kWalks) {
        const VcdPbc& pbc = *readings[walk.disc].control->pbc;
        RecordingPbcPlayer player(pbc);
        PbcNavigator navigator(*readings[walk.disc].control, player);
        player.navigator = &navigator;
        ASSERT_TRUE(navigator.start(OffsetOf(pbc, walk.lid))) << walk.what;
        Drive(navigator, player, walk.inputs);
        EXPECT_EQ(player.log, walk.wanted) << walk.what;
        EXPECT_EQ(navigator.phase(), walk.phase) << walk.what;
    }
}
}  // namespace
