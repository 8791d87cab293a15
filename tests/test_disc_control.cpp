// A Video CD's control and entry times read off the UI thread, from an image by its sectors
// and from a folder that holds a copy of its files.
#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "components/discbay/vcd_disc.h"
#include "components/discbay/drive_view.h"
#include "disc/disc_control.h"
#include "mpris/mpris_values.h"
#include "tests/support/playback_fixture.h"
#include "tests/support/temp_dir.h"
#include "tests/support/vcd_pbc_image.h"

namespace {

// The disc's files a folder needs for its control and its first track, copied as read.
void CopyFiles(const VcdDisc& disc, const TempDir& folder, const VcdDiscReading& reading)
{
    for (const std::string& path : {std::string("/SVCD/INFO.SVD"), std::string("/SVCD/ENTRIES.SVD"), reading.trackFiles.at(2)}) {
        const std::unique_ptr<VcdFile> file = disc.openFile(path);
        ASSERT_NE(file, nullptr) << path;
        std::string bytes(file->size(), '\0');
        ASSERT_EQ(file->read(0, bytes.data(), bytes.size()), static_cast<int64_t>(bytes.size())) << path;
        folder.write(path.substr(1), bytes);
    }
}

TEST(DiscControlReader, AnswersOffTheUiThreadForTheDiscOfTheMoment)
{
    const PbcImage image(PbcImage::Kind::SuperVideoCd);
    const VcdDiscSource source{VcdDiscSource::Kind::Sectors, image.cue};
    DiscControlReader reader;
    QSignalSpy read(&reader, &DiscControlReader::controlRead);
    QSignalSpy timed(&reader, &DiscControlReader::entryTimesRead);

    reader.read(3, source);
    reader.read(4, source);
    reader.forget(3);
    EXPECT_TRUE(read.isEmpty()) << "the answers come from the event loop";
    // Both readings done, their answers posted.
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(read.count(), 1) << "drive 3's disc left before its answer came";
    EXPECT_EQ(read[0][0].toUInt(), 4u);
    const auto reading = read[0][1].value<DiscControlReader::Reading>();
    ASSERT_TRUE(reading && reading->control && reading->control->pbc) << reading->problem;
    EXPECT_TRUE(timed.isEmpty());

    // Track 1 (CD track 2) has its start and an entry asked for at 1 s, which lands on a
    // group of pictures near it.
    const TempDir folder;
    CopyFiles(*VcdDisc::open(image.cue), folder, *reading);
    reader.readEntryTimes(4, source, reading, 2);
    reader.readEntryTimes(5, {VcdDiscSource::Kind::Folder, folder.path()}, reading, 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timed.count() == 2; }));
    std::map<uint32_t, DiscControlReader::EntryTimes> times;
    for (const QList<QVariant>& answer : timed) {
        EXPECT_EQ(answer[1].toUInt(), 2u);
        times[answer[0].toUInt()] = answer[2].value<DiscControlReader::EntryTimes>();
    }
    ASSERT_EQ(times[4].size(), 2u);
    ASSERT_TRUE(times[4][0] && times[4][1]);
    EXPECT_NEAR(*times[4][0], 0, 0.05);
    EXPECT_GT(*times[4][1], 0.5);
    EXPECT_LT(*times[4][1], 1.5);
    EXPECT_EQ(times[5], times[4]) << "the folder's copy reads as the image";
}

TEST(Chapters, NextGoesToTheFollowingOnePreviousToTheStartOrTheOneBefore)
{
    const std::vector<uint32_t> three{11, 1811, 3011};
    struct Row {
        std::vector<uint32_t> starts;
        uint32_t at;
        std::optional<uint32_t> next, previous;
    };
    const Row rows[] = {
        {three, 500, 1811, std::nullopt},  // in the first chapter, Previous leaves the track
        {three, 1811, 3011, 11},
        {three, 2000, 3011, 11},           // less than 5 s into a chapter: the one before
        {three, 9000, std::nullopt, 3011}, // more: its own start
        {three, 0, 11, std::nullopt},      // before the first entry's picture
        {{11}, 500, std::nullopt, std::nullopt},  // only the track's start: no chapters
        {{}, 500, std::nullopt, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NextChapter(row.starts, row.at), row.next) << row.at;
        EXPECT_EQ(PreviousChapter(row.starts, row.at), row.previous) << row.at;
    }
}

// Both lie on Qt's pool: when it is done, their answers have been posted.
void Settle()
{
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
}

// A Video CD with menus, its image opened as a drive.
class VcdDiscTest : public PlaybackTest {
protected:
    VcdDiscTest()
    {
        records.settings.entryPointsAsChapters = 1;
        engine->length = 10000;
        records.drives.addImage(image.cue);
    }
    uint32_t drive() { return *records.drives.current().driveOf(image.cue); }
    // The disc arrives; its control is read, then the opened track's entry times.
    void arrive()
    {
        playback().LoadDisc(drive(), 0);
        Settle();
        Settle();
    }
    // Where a track's entry points lie, in milliseconds, as the reader gives them.
    std::vector<uint32_t> entries(uint8_t cdTrack)
    {
        const VcdDiscSource source{VcdDiscSource::Kind::Sectors, image.cue};
        std::vector<uint32_t> starts;
        for (const std::optional<double>& time : ReadTrackEntryTimes(source, ReadVcdDisc(source), cdTrack))
            starts.push_back(static_cast<uint32_t>(std::lround(time.value_or(-1) * 1000)));
        return starts;
    }

    const PbcImage image{PbcImage::Kind::VideoCd};
};

// The Video CD's tracks as chapters, the disc loaded as tracks.
class ChaptersTest : public VcdDiscTest {
protected:
    ChaptersTest() { arrive(); }
};

TEST_F(ChaptersTest, NextAndPreviousStepThroughATracksEntryPointsBeforeLeavingIt)
{
    const std::vector<uint32_t> first = entries(2);
    const std::vector<uint32_t> second = entries(3);
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(second.size(), 2u);
    ASSERT_EQ(records.state.currentTrack, 1u);
    struct Step {
        uint32_t at;
        bool next;
        uint32_t track;  // where it is then
        std::optional<uint32_t> seeked;
    };
    const Step steps[] = {
        {500, true, 1, first[1]},                // the next chapter
        {first[1] + 100, true, 2, std::nullopt},  // past the last one: the next track
        {500, true, 2, second[1]},
        {second[1] + 100, false, 2, second[0]},  // within a chapter's first 5 s: the one before
        {500, false, 1, std::nullopt},           // in the first: the previous track
    };
    for (const Step& step : steps) {
        engine->position = step.at;
        Settle();  // a newly opened track's times
        ASSERT_TRUE(playback().DispatchCommand(step.next ? CommandId::NextTrack : CommandId::PreviousTrack,
                                               CommandPhase::Click));
        EXPECT_EQ(records.state.currentTrack, step.track) << step.at;
        if (step.seeked) {
            EXPECT_EQ(engine->position, *step.seeked) << step.at;
        }
    }
    // Without chapters, the tracks step as they always did.
    records.settings.entryPointsAsChapters = 0;
    engine->position = 500;
    ASSERT_TRUE(playback().DispatchCommand(CommandId::NextTrack, CommandPhase::Click));
    EXPECT_EQ(records.state.currentTrack, 2u);
}

// The disc's lists driving playback, a key, an item's end or the clock at a time. The disc
// arrives with nothing playing: its first menu shows, stopped, and Play begins it.
TEST_F(VcdDiscTest, PlaybackControlWalksTheDiscsListsFromTheKeysTheEndsAndTheClock)
{
    records.settings.playbackControl = 1;
    enum class Act { Arrive, Key, End, Clock };
    using c = CommandId;
    using enum PbcPhase;
    constexpr uint16_t stopped = engine_status::Stopped, playing = engine_status::Playing;
    struct Step {
        Act act;
        CommandId key;  // or the clock's milliseconds
        const char* opened;  // the file the step opens; null for none
        uint32_t track;
        std::optional<PbcPhase> phase;
        uint16_t status;
        std::pair<uint8_t, size_t> at{0, 0};  // the entry of a CD track it starts at
    };
    const auto ms = [](uint32_t value) { return static_cast<CommandId>(value); };
    const Step steps[] = {
        {Act::Arrive, {}, "ITEM0001.DAT", 0, Parked, stopped},  // the menu, not track 1
        {Act::Key, c::Play, "ITEM0001.DAT", 0, Playing, playing},
        {Act::End, {}, nullptr, 0, Waiting, playing},  // the menu's 10 s
        {Act::Key, c::Forward, nullptr, 0, Waiting, playing},  // a still has no time to seek in
        {Act::Key, c::Digit4, nullptr, 0, Waiting, playing},   // 3 selections
        {Act::Clock, ms(9999), nullptr, 0, Waiting, playing},
        {Act::Clock, ms(1), "AVSEQ01.DAT", 1, Playing, playing},  // timed out to list 5
        {Act::Key, c::MenuReturn, "AVSEQ01.DAT", 1, Playing, playing},  // its RETURN: list 7 over track 1
        {Act::Key, c::Digit1, nullptr, 1, Playing, playing},  // list 7 takes no numbers
        {Act::Key, c::PreviousTrack, "ITEM0001.DAT", 1, Playing, playing},  // PREVIOUS: the menu
        {Act::Key, c::Digit2, "AVSEQ01.DAT", 1, Playing, playing, {2, 1}},  // list 3: entry 1
        {Act::End, {}, "AVSEQ02.DAT", 2, Playing, playing},
        {Act::End, {}, "AVSEQ02.DAT", 2, Playing, playing, {3, 1}},  // no wait: list 4, entry 3
        {Act::End, {}, "AVSEQ03.DAT", 3, Playing, playing},
        {Act::End, {}, nullptr, 3, Waiting, playing},
        {Act::Clock, ms(2000), "ITEM0001.DAT", 3, Playing, playing},  // list 4's NEXT: the menu
        {Act::Key, c::Play, "AVSEQ01.DAT", 1, Playing, playing},  // DEFAULT: list 2
        {Act::End, {}, "ITEM0002.DAT", 1, Playing, playing},
        {Act::End, {}, nullptr, 1, Waiting, playing},
        {Act::Clock, ms(3000), "AVSEQ01.DAT", 1, Playing, playing, {2, 1}},  // list 3
        {Act::Key, c::Stop, nullptr, 1, Parked, stopped},
        {Act::Key, c::PlayPause, "AVSEQ01.DAT", 1, Playing, playing, {2, 1}},  // list 3 anew
        {Act::Key, c::NextTrack, "AVSEQ02.DAT", 2, Playing, playing, {3, 1}},  // NEXT: list 4
        {Act::Key, c::MenuReturn, "ITEM0001.DAT", 2, Playing, playing},
        {Act::Key, c::Repeat, nullptr, 2, Playing, playing},  // the repeat mode waits its turn
        {Act::End, {}, nullptr, 2, Waiting, playing},
        {Act::Clock, ms(10000), "AVSEQ01.DAT", 1, Playing, playing},  // list 5's tracks
        {Act::End, {}, "AVSEQ02.DAT", 2, Playing, playing},
        {Act::End, {}, "AVSEQ03.DAT", 3, Playing, playing},
        {Act::End, {}, nullptr, 3, Ended, stopped},  // the end list
        {Act::Key, c::Play, "ITEM0001.DAT", 3, Playing, playing},  // the first list again
        {Act::Key, c::Stop, nullptr, 3, Parked, stopped},
        {Act::Key, c::Digit2, "AVSEQ02.DAT", 2, std::nullopt, stopped},  // a track: linear again
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        const Step& step = steps[i];
        const size_t opens = engine->openedPaths.size();
        const std::vector<std::string> log = engine->log;
        switch (step.act) {
        case Act::Arrive: arrive(); break;
        case Act::Key:
            playback().DispatchCommand(step.key, CommandPhase::Click);
            playback().DispatchCommand(step.key, CommandPhase::Press);
            playback().DispatchCommand(step.key, CommandPhase::Release);
            break;
        case Act::End:
            engine->reachEnd();
            emit engine->endOfFile();
            break;
        case Act::Clock: clock.advance(static_cast<uint64_t>(step.key)); break;
        }
        Settle();
        const PlayerState& state = records.state;
        if (step.opened) {
            ASSERT_EQ(engine->openedPaths.size(), opens + 1) << i;
            EXPECT_TRUE(engine->openedPaths.back().ends_with(step.opened)) << i << ": " << engine->openedPaths.back();
        } else {
            EXPECT_EQ(engine->openedPaths.size(), opens) << i;
        }
        if (step.key == c::Forward) {
            EXPECT_EQ(engine->log, log) << "a key the still has no use for does nothing";
        }
        const bool still = engine->openPath.ends_with("DAT") && engine->openPath.find("ITEM") != std::string::npos;
        EXPECT_EQ(state.trackNumberHidden, still) << i;
        if (!still) {
            EXPECT_EQ(state.currentTrack, step.track) << i;
        }
        EXPECT_EQ(playback().pbcPhase(), step.phase) << i;
        EXPECT_EQ(state.status, step.status) << i;
        EXPECT_FALSE(state.entryActive) << i;
        if (step.opened) {
            const uint32_t start = step.at.first != 0 ? entries(step.at.first)[step.at.second] : 0;
            EXPECT_EQ(state.position, start) << i;
        }
    }
    EXPECT_EQ(engine->openedPaths.front().find("AVSEQ"), std::string::npos) << "track 1 never opened first";

    // Arriving while a track plays, the disc plays its first list at once; when it leaves, it
    // takes playback control with it, timers and all.
    ASSERT_TRUE(playback().DispatchCommand(c::Play, CommandPhase::Click));
    arrive();
    EXPECT_EQ(playback().pbcPhase(), Playing);
    EXPECT_TRUE(engine->openPath.ends_with("ITEM0001.DAT"));
    EXPECT_EQ(records.state.status, playing);
    engine->reachEnd();
    emit engine->endOfFile();
    ASSERT_TRUE(mainTimers.isRunning(main_timer::PbcWait));
    playback().LoadDisc(drive(), 1);
    EXPECT_FALSE(playback().pbcPhase());
    EXPECT_FALSE(mainTimers.isRunning(main_timer::PbcWait));
}

// Only a disc arriving starts its lists. Whatever else replaces the play list leaves them for
// linear playback, timers and all; the dialog's Cancel changes nothing.
TEST_F(VcdDiscTest, AnythingButADiscThatReplacesThePlayListLeavesTheLists)
{
    records.settings.playbackControl = 1;
    const TempDir folder;
    const std::string clip = folder.write("clip.mpg", "");
    const auto dialog = [&](bool ok) {
        return [&, ok] {
            choosePlayList([ok](Window*) { return ok; });
            playback().PlayListCommand(true);
        };
    };
    const struct {
        const char* what;
        std::function<void()> replace;
        const char* opened;  // null for nothing
    } replacements[] = {
        {"the dialog's Cancel", dialog(false), nullptr},
        {"the dialog's OK", dialog(true), "AVSEQ01.DAT"},
        {"files opened, dropped or handed over", [&] { playback().PlayFiles({clip}); }, "clip.mpg"},
    };
    for (const auto& replacement : replacements) {
        playback().DispatchCommand(CommandId::Stop, CommandPhase::Click);
        arrive();
        ASSERT_TRUE(playback().DispatchCommand(CommandId::Play, CommandPhase::Click));
        Settle();
        engine->reachEnd();
        emit engine->endOfFile();  // the menu waits
        ASSERT_EQ(playback().pbcPhase(), PbcPhase::Waiting) << replacement.what;
        const size_t opens = engine->openedPaths.size();
        replacement.replace();
        Settle();
        EXPECT_EQ(playback().pbcPhase().has_value(), !replacement.opened) << replacement.what;
        EXPECT_EQ(mainTimers.isRunning(main_timer::PbcWait), !replacement.opened) << replacement.what;
        if (!replacement.opened) {
            EXPECT_EQ(engine->openedPaths.size(), opens) << replacement.what;
            continue;
        }
        EXPECT_TRUE(engine->openPath.ends_with(replacement.opened)) << replacement.what << ": " << engine->openPath;
        EXPECT_EQ(records.state.currentTrack, 1u) << replacement.what;
        EXPECT_FALSE(records.state.trackNumberHidden) << replacement.what;
        EXPECT_EQ(records.state.status, engine_status::Playing) << replacement.what;
    }
}

// What the desktop's media controls read while the disc's lists play: the list and its item,
// the links as Next and Previous, a play time's end at the poll, a hold for ever as a pause.
TEST_F(VcdDiscTest, TheMediaControlsTellTheListItsItemAndItsLinks)
{
    records.settings.playbackControl = 1;
    const MprisLinks links{records.state, records.settings, records.components, records.turns,
                           records.windows, records.playList, records.playback, records.audio};
    const auto run = [&](std::initializer_list<CommandId> keys) {
        for (const CommandId key : keys)
            playback().DispatchCommand(key, CommandPhase::Click);
        Settle();
    };
    struct Seen {
        std::string trackId, title, status;
        QVariant trackNumber;
        bool canGoNext, canGoPrevious, canSeek;
    };
    const auto seen = [&] {
        const MprisValues values = CurrentMprisValues(links, 0);
        return Seen{values.metadata["mpris:trackid"].value<QDBusObjectPath>().path().toStdString(),
                    values.metadata["xesam:title"].toString().toStdString(), values.playbackStatus.toStdString(),
                    values.metadata.value("xesam:trackNumber"), values.canGoNext, values.canGoPrevious,
                    values.canSeek};
    };
    const auto item = [&](const char* path) {
        return std::string("/com/halvex/Quintara/Pbc/") + path;
    };
    using c = CommandId;

    arrive();  // parked at the menu: Next and Previous step the tracks
    Seen now = seen();
    EXPECT_EQ(now.trackId, item("L1/I1000"));
    EXPECT_EQ(now.title, "Menu (list 1)");
    EXPECT_EQ(now.status, "Stopped");
    EXPECT_FALSE(now.trackNumber.isValid());
    EXPECT_TRUE(now.canGoNext);
    EXPECT_FALSE(now.canSeek);
    EXPECT_EQ(CurrentMprisValues(links, 0).metadata["xesam:album"].toString(), "PBCTEST");

    run({c::Play});
    now = seen();
    EXPECT_EQ(now.status, "Playing");
    EXPECT_TRUE(now.canGoNext);
    EXPECT_FALSE(now.canGoPrevious) << "the menu has no PREVIOUS";

    // List 3, from entry 1 (the disc's second), typed before the menu's picture has ended:
    // that end, which comes while the entry's time is read, is the picture's and not the entry's.
    playback().DispatchCommand(c::Digit2, CommandPhase::Click);
    engine->reachEnd();
    emit engine->endOfFile();
    Settle();
    EXPECT_EQ(engine->openedPaths.size(), 3u) << "the menu twice, then track 1";
    EXPECT_TRUE(engine->openPath.ends_with("AVSEQ01.DAT")) << engine->openPath;
    now = seen();
    EXPECT_EQ(now.trackId, item("L3/I101"));
    EXPECT_EQ(now.title, "Track 1 from entry 2");
    EXPECT_EQ(now.trackNumber, QVariant(1));
    EXPECT_TRUE(now.canGoPrevious && now.canSeek);

    // Through list 5 and the RETURN links to list 8: a motion picture for its play time of 2 s,
    // then held for ever.
    run({c::MenuReturn});
    engine->reachEnd();
    emit engine->endOfFile();
    clock.advance(10000);
    Settle();
    run({c::MenuReturn, c::MenuReturn});
    now = seen();
    ASSERT_EQ(now.trackId, item("L8/I1002"));
    EXPECT_EQ(now.title, "Picture (list 8)");
    engine->status = engine_status::Playing;
    engine->position = 1990;
    clock.advance(1000);
    EXPECT_EQ(playback().pbcPhase(), PbcPhase::Playing);
    engine->position = 2000;
    clock.advance(1000);
    EXPECT_EQ(playback().pbcPhase(), PbcPhase::Holding) << "the poll ends the item at its play time";
    EXPECT_EQ(seen().status, "Paused");

    // List 9 has ten selections: a 1 waits for a second digit, blinking as a track number
    // does, and 10 chooses the tenth (list 3).
    run({c::MenuReturn});
    ASSERT_EQ(seen().trackId, item("L9/I1001"));
    // Without a default, Play and Play/Pause act on the picture itself.
    const size_t opens = engine->openedPaths.size();
    run({c::PlayPause});
    EXPECT_EQ(seen().status, "Paused");
    run({c::Play});
    EXPECT_EQ(seen().status, "Playing");
    EXPECT_EQ(engine->openedPaths.size(), opens);
    EXPECT_EQ(seen().trackId, item("L9/I1001"));
    run({c::Digit1});
    EXPECT_TRUE(records.state.entryActive);
    EXPECT_EQ(records.state.enteredNumber, 1u);
    EXPECT_EQ(seen().trackId, item("L9/I1001")) << "nothing chosen yet";
    run({c::Digit0});
    EXPECT_FALSE(records.state.entryActive);
    EXPECT_EQ(seen().trackId, item("L3/I101"));
}

// The second volume of an album after its first starts at the list the first asks for; the
// first again starts at its own beginning. The second is a Super Video CD, whose lists play
// as a Video CD's do.
TEST_F(VcdDiscTest, AnotherVolumeOfTheAlbumStartsAtListTwoAndASuperVideoCdPlaysItsLists)
{
    records.settings.playbackControl = 1;
    const PbcImage second(PbcImage::Kind::SuperVideoCd);
    records.drives.addImage(second.cue);
    const uint32_t secondDrive = *records.drives.current().driveOf(second.cue);
    const struct {
        uint32_t drive;
        const char* opened;
        uint16_t lid;
    } arrivals[] = {
        {drive(), "/SEGMENT/ITEM0001.DAT", 1},
        {secondDrive, "/MPEG2/AVSEQ01.MPG", 2},
        {drive(), "/SEGMENT/ITEM0001.DAT", 1},
    };
    for (const auto& arrival : arrivals) {
        playback().LoadDisc(arrival.drive, 0);
        Settle();
        EXPECT_TRUE(engine->openPath.ends_with(arrival.opened)) << engine->openPath;
        ASSERT_TRUE(playback().pbcNow());
        EXPECT_EQ(playback().pbcNow()->lid, arrival.lid) << arrival.opened;
        if (arrival.drive != secondDrive)
            continue;
        // List 2: track 1 and the menu's picture, 30 s each, then held for its long wait; RETURN to the
        // menu, whose numbers begin at 2 and whose jumps wait for the picture's pass to end.
        const auto key = [&](CommandId command) {
            playback().DispatchCommand(command, CommandPhase::Click);
            Settle();
        };
        key(CommandId::Play);
        EXPECT_TRUE(engine->openPath.ends_with("/MPEG2/AVSEQ01.MPG")) << engine->openPath;
        engine->position = 29000;
        clock.advance(1000);
        EXPECT_TRUE(engine->openPath.ends_with("/MPEG2/AVSEQ01.MPG"));
        engine->position = 30000;
        clock.advance(1000);
        EXPECT_TRUE(engine->openPath.ends_with("/SEGMENT/ITEM0001.MPG")) << engine->openPath;
        EXPECT_TRUE(records.state.trackNumberHidden);
        engine->reachEnd();
        emit engine->endOfFile();
        EXPECT_EQ(playback().pbcPhase(), PbcPhase::Waiting);
        EXPECT_EQ(records.state.status, engine_status::Playing);
        key(CommandId::MenuReturn);
        EXPECT_EQ(playback().pbcNow()->lid, 1);
        key(CommandId::Digit3);
        EXPECT_EQ(playback().pbcNow()->lid, 1) << "a delayed jump";
        engine->reachEnd();
        emit engine->endOfFile();
        Settle();
        EXPECT_EQ(playback().pbcNow()->lid, 3);
        EXPECT_TRUE(engine->openPath.ends_with("/MPEG2/AVSEQ01.MPG")) << engine->openPath;
        EXPECT_GT(records.state.position, 500u) << "from the track's second entry";
    }
}

}  // namespace
