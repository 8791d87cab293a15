#pragma once

#include <QWidget>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "core/window.h"
#include "components/reelkit/mpv_engine.h"
#include "tests/support/manual_timers.h"
#include "tests/support/test_clips.h"

// The image window as the player makes it: a widget that is also one of its windows.
class TestImageWindow : public QWidget, public Window {
public:
    TestImageWindow() : timers_(clock_) {}
    void post(const Message&) override {}
    TimerHost& timers() override { return timers_; }

private:
    ManualClock clock_;
    ManualTimers timers_;
};

// The longest a test waits for libmpv to decode what it asked for.
constexpr int kDecodeDeadlineMs = 8000;

// Runs the event loop until the condition holds or the deadline passes; answers the condition.
bool WaitUntil(const std::function<bool()>& condition, int deadlineMs = kDecodeDeadlineMs);

// Asks the engine to open the file and runs the event loop until it answers: 1 opened,
// 0 refused; a test fails when the answer comes inside open() or not in time.
uint32_t OpenAnswer(ReelkitEngine& engine, Window* window, const std::string& path, OpenAs as = OpenAs::File);

// An image window of 320x240 (the clips' 4:3), shown.
std::unique_ptr<TestImageWindow> ShownImageWindow();
// A real engine on the software picture, started.
std::unique_ptr<MpvEngine> StartedSoftwareEngine();

// A real engine on the software picture and an image window of 320x240.
class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    uint16_t status();
    uint32_t position();
    int32_t rate();
    uint32_t length();
    // Opens a clip in the window, failing the test when it is refused.
    void openClip(const std::string& path, Window* window);
    void openClip(const std::string& path) { openClip(path, window.get()); }
    // Plays until the position has reached at least ms.
    bool playTo(uint32_t ms);

    const TestClips& clips = TestClips::get();
    std::unique_ptr<TestImageWindow> window;
    std::unique_ptr<MpvEngine> engine;
};
