// A disc from its loading to the end of its last track, with everything real but the clock
// of the position poll: the player's own parts, libmpv decoding generated clips, a folder
// bound as a CD-ROM drive.

#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/player_records.h"
#include "app/wiring.h"
#include "app/main_window.h"
#include "components/discbay/drive_table.h"
#include "core/command_id.h"
#include "tests/support/function_host.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/manual_timers.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_clips.h"
#include "tests/support/vcd_image.h"

namespace {

constexpr int kDeadlineMs = 20000;

// A VCD-style clip of the given length in tenths of a second, so each track is known by its
// length.
std::string makeClip(const TempDir& dir, const std::string& name, int tenths)
{
    const std::string duration = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
    const std::string path = dir.file(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (!RunFfmpeg({"-f", "lavfi", "-i", "testsrc=size=352x240:rate=25:duration=" + duration, "-f", "lavfi", "-i",
                    "sine=frequency=440:sample_rate=44100:duration=" + duration, "-ac", "2", "-c:v", "mpeg1video",
                    "-b:v", "1150k", "-c:a", "mp2", "-b:a", "224k", "-f", "mpeg", path}))
        return {};
    return path;
}

struct Disc {
    TempDir dir;
    std::vector<std::string> clips;
    Disc()
    {
        // The third file is noise: the player drops it and goes on.
        clips = {makeClip(dir, "disc/MPEGAV/AVSEQ01.DAT", 10), makeClip(dir, "disc/MPEGAV/AVSEQ02.DAT", 14),
                 makeClip(dir, "disc/MPEGAV/AVSEQ04.DAT", 18)};
        dir.write("disc/MPEGAV/AVSEQ03.DAT", std::string(64 * 1024, '\x5a'));
    }
};

const Disc& disc()
{
    static const Disc made;
    return made;
}

constexpr uintptr_t kDriveX = 'X' - 'A';

class DiscEndToEnd : public testing::Test {
protected:
    PlayerRecords records;  // first made, last gone
    FunctionHost host;  // outlives the main window
    void SetUp() override
    {
        for (const std::string& clip : disc().clips)
            ASSERT_FALSE(clip.empty()) << "ffmpeg could not make a clip";
        records.windows.instance = dir_.write("bin/quintara", "");
        // The shipped skin, but no video window: the picture costs time and is not what this
        // test is about. The first section of a name wins, so the one written first counts.
        std::filesystem::copy(QUINTARA_SOURCE_DIR "/resources/skin", dir_.file("bin/skin"),
                              std::filesystem::copy_options::recursive);
        std::ifstream shipped(QUINTARA_SOURCE_DIR "/resources/Quintara.CFG");
        std::stringstream config;
        config << "[Initiation]\nRC Path=skin\nUse Default Video Window=1\n[Drives]\nX: = " << disc().dir.file("disc") << "\n"
               << "Y: = " << dir_.file("y") << "\n"
               << shipped.rdbuf();
        // Y: holds two of the disc's tracks from the start, so that it is no news.
        std::filesystem::create_directories(dir_.file("y/MPEGAV"));
        for (const size_t clip : {0, 1})
            std::filesystem::copy_file(disc().clips[clip], dir_.file("y/MPEGAV/AVSEQ0" + std::to_string(clip + 1) + ".DAT"));
        dir_.write("bin/Quintara.CFG", config.str());
        InstallDesktopComponents(records);
        WirePlayerLogic(records, windows_);
        host.onPost = [this](const Message& message) { queue_.push_back(message); };
        host.onPostQuit = [](int) {};
        host.onComplain = [](std::string_view line) { ADD_FAILURE() << line; };
        parts_.emplace(records, windows_);
        window_ = std::make_unique<MainWindow>(MainWindowLinksOf(records), timers_, host, *parts_);
        timers_.setTick([this](TimerId id) { window_->timerTick(id); });
        ASSERT_EQ(window_->create(), 0);
        ASSERT_TRUE(window_->engineStarted());
    }

    void TearDown() override
    {
        window_->destroy();
        window_.reset();
        windows_.release();
    }

    void send(const Message& message)
    {
        window_->handle(message);
        runQueue();
    }

    void runQueue()
    {
        while (!queue_.empty()) {
            const Message message = queue_.front();
            queue_.pop_front();
            window_->handle(message);
        }
    }

    // Lets the player run in real time, polling the position every 20 ms instead of every
    // second, and notes each track as it starts playing and each restart of a track.
    bool runUntil(const std::function<bool()>& done)
    {
        QElapsedTimer clock;
        clock.start();
        // An open under way is part of what the player is doing.
        while (!done() || records.turns.waiting()) {
            if (clock.elapsed() > kDeadlineMs)
                return false;
            QTest::qWait(20);
            runQueue();
            if (timers_.isRunning(main_timer::PositionPoll))
                timers_.fire(main_timer::PositionPoll);
            runQueue();
            note();
        }
        return true;
    }

    void note()
    {
        const PlayerState& state = records.state;
        if (state.status == 2 && (played.empty() || state.currentTrack != playedTrack_ || state.position + 300 < lastPosition_))
            played.push_back((state.length + 50) / 100);
        playedTrack_ = state.status == 2 ? state.currentTrack : playedTrack_;
        lastPosition_ = state.position;
    }

    // Loads the disc of X: and plays it, as "quintara X: /Play" does.
    void loadAndPlay()
    {
        send({msg::SecondStart, second_start::LoadDrive, static_cast<intptr_t>(kDriveX)});
        send({msg::SecondStart, second_start::Play, 0});
    }

    std::vector<uint32_t> played;  // the lengths (in tenths) of the tracks as they started

private:
    TempDir dir_;

protected:
    const std::string yFolder_ = dir_.file("y");

private:
    ManualClock clock_;
    ManualTimers timers_{clock_};
    std::deque<Message> queue_;

protected:
    OwnedWindows windows_;
    std::optional<PlayerParts> parts_;  // outlives the main window
    std::unique_ptr<MainWindow> window_;

private:
    uint32_t playedTrack_ = 0;
    uint32_t lastPosition_ = 0;
};

TEST_F(DiscEndToEnd, WithoutRepeatItPlaysEveryGoodTrackInOrderAndStopsOnTheFirst)
{
    loadAndPlay();
    ASSERT_TRUE(runUntil([&] { return played.size() == 3 && records.state.status == 0; }));
    EXPECT_EQ(played, (std::vector<uint32_t>{10, 14, 18}));
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(records.state.trackCount, 3u);
    ASSERT_EQ(records.playList.list()->entries.size(), 3u);
    EXPECT_EQ(records.playList.list()->entries[2].path, disc().clips[2]) << "the noise is dropped";
    // It stays there.
    QTest::qWait(300);
    runQueue();
    EXPECT_EQ(records.state.status, 0);
    EXPECT_EQ(records.state.currentTrack, 1u);
}

TEST_F(DiscEndToEnd, RepeatAllGoesOnFromTheFirstTrack)
{
    window_->parts().dispatchCommand(CommandId::Repeat, CommandPhase::Click);
    ASSERT_EQ(records.state.repeatMode, RepeatMode::List);
    loadAndPlay();
    ASSERT_TRUE(runUntil([&] { return played.size() == 4; }));
    EXPECT_EQ(played, (std::vector<uint32_t>{10, 14, 18, 10}));
    EXPECT_EQ(records.state.currentTrack, 1u);
}

TEST_F(DiscEndToEnd, RepeatTrackPlaysTheSameTrackAgain)
{
    window_->parts().dispatchCommand(CommandId::Repeat, CommandPhase::Click);
    window_->parts().dispatchCommand(CommandId::Repeat, CommandPhase::Click);
    ASSERT_EQ(records.state.repeatMode, RepeatMode::Track);
    loadAndPlay();
    ASSERT_TRUE(runUntil([&] { return played.size() == 3; }));
    EXPECT_EQ(played, (std::vector<uint32_t>{10, 10, 10}));
    EXPECT_EQ(records.state.currentTrack, 1u);
}

// What a file manager hands over for an inserted disc: its mount folder, here the root of X:.
// A second start passes its files to the running player the same way.
TEST_F(DiscEndToEnd, ADiscFolderNamedOnTheCommandLinePlaysAsItsDrivesDisc)
{
    window_->playFiles({disc().dir.file("disc")});
    ASSERT_TRUE(runUntil([&] { return played.size() == 3 && records.state.status == 0; }));
    EXPECT_EQ(played, (std::vector<uint32_t>{10, 14, 18}));
    ASSERT_EQ(records.playList.list()->entries.size(), 3u);
    EXPECT_EQ(records.playList.list()->entries[2].path, disc().clips[2]);
    EXPECT_EQ(records.drives.current().driveOf(records.playList.list()->entries[0].path), std::optional<uint32_t>(kDriveX))
        << "the tracks are the drive's, as at insertion";

    window_->playFiles({disc().dir.file("disc/")});
    ASSERT_TRUE(runUntil([&] { return played.size() == 4 && records.state.status == 2; }));
    EXPECT_EQ(played.back(), 10u);
    EXPECT_EQ(records.state.currentTrack, 1u);
    EXPECT_EQ(records.state.trackCount, 4u) << "the whole disc again, its noise not yet reached";
}

TEST_F(DiscEndToEnd, ABoundFolderRemovedWhileItsTrackPlaysLeavesTheRestPlaying)
{
    // Y:'s two tracks, then X:'s three good ones.
    window_->playFiles({yFolder_ + "/MPEGAV", disc().dir.file("disc/MPEGAV")});
    runQueue();
    ASSERT_EQ(records.playList.list()->entries.size(), 6u);
    ASSERT_TRUE(runUntil([&] { return records.state.status == 2 && records.state.currentTrack == 1; }));
    std::filesystem::remove_all(yFolder_);
    ASSERT_TRUE(runUntil([&] { return records.playList.list()->entries.size() == 4; })) << "the drive's entries go";
    ASSERT_TRUE(runUntil([&] { return records.state.status == 2 && records.state.currentTrack == 1; }));
    EXPECT_EQ(records.playList.list()->entries.front().path, disc().clips[0]);
    played.clear();
    // It goes on with what is left, to the end of the list.
    ASSERT_TRUE(runUntil([&] { return played.size() == 3 && records.state.status == 0; }));
    EXPECT_EQ(played, (std::vector<uint32_t>{10, 14, 18}));
}

TEST_F(DiscEndToEnd, ADiscImageNamedOnTheCommandLinePlaysItsTracksThroughTheReader)
{
    const VcdImage& image = VcdImage::get();
    window_->playFiles({image.cue});
    ASSERT_TRUE(runUntil([&] { return played.size() == 3 && records.state.status == 0; }));
    std::vector<uint32_t> made;
    for (const VcdImage::Clip& clip : image.clips)
        made.push_back(static_cast<uint32_t>(clip.seconds * 10));
    EXPECT_EQ(played, made);
    EXPECT_EQ(records.state.currentTrack, 1u);
    ASSERT_EQ(records.playList.list()->entries.size(), 3u);
    EXPECT_EQ(records.playList.list()->entries[2].path, image.trackPath(3));
}

}  // namespace
