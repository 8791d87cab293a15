#include "tests/test_reelkit_support.h"

#include <optional>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

bool WaitUntil(const std::function<bool()>& condition, int deadlineMs)
{
    // The loop sleeps until something happens, as the player's does; a short timer keeps the
    // condition looked at even when nothing does.
    QTimer look;
    look.start(5);
    const QDeadlineTimer deadline(deadlineMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

std::unique_ptr<TestImageWindow> ShownImageWindow()
{
    auto window = std::make_unique<TestImageWindow>();
    window->resize(320, 240);
    window->show();
    return window;
}

std::unique_ptr<MpvEngine> StartedSoftwareEngine()
{
    MpvEngineOptions options;
    options.picture = MpvEngineOptions::Picture::Software;
    auto engine = std::make_unique<MpvEngine>(options);
    EXPECT_TRUE(engine->init(1));
    return engine;
}

void EngineTest::SetUp()
{
    window = ShownImageWindow();
    engine = StartedSoftwareEngine();
}

void EngineTest::TearDown()
{
    if (engine)
        engine->deInit();
    engine.reset();
    window.reset();
}

uint16_t EngineTest::status()
{
    const std::optional<uint16_t> value = engine->getStatus();
    EXPECT_TRUE(value);
    return value.value_or(99);
}

uint32_t EngineTest::position()
{
    const std::optional<uint32_t> value = engine->getCurrentPosition();
    EXPECT_TRUE(value);
    return value.value_or(0);
}

int32_t EngineTest::rate()
{
    const std::optional<int32_t> value = engine->getRate();
    EXPECT_TRUE(value);
    return value.value_or(0);
}

uint32_t EngineTest::length()
{
    const std::optional<uint32_t> value = engine->getLength();
    EXPECT_TRUE(value);
    return value.value_or(0);
}

uint32_t OpenAnswer(ReelkitEngine& engine, Window* window, const std::string& path, OpenAs as)
{
    std::optional<bool> answer;
    const auto heard = QObject::connect(&engine, &ReelkitEngine::openAnswered, [&](bool opened) { answer = opened; });
    engine.open(window, path, as);
    EXPECT_FALSE(answer.has_value()) << "the answer comes from the event loop: " << path;
    EXPECT_TRUE(WaitUntil([&] { return answer.has_value(); })) << "no answer for " << path;
    QObject::disconnect(heard);
    return answer.value_or(false) ? 1 : 0;
}

void EngineTest::openClip(const std::string& path, Window* into)
{
    ASSERT_EQ(OpenAnswer(*engine, into, path), 1u) << path;
}

bool EngineTest::playTo(uint32_t ms)
{
    if (engine->play() != 1)
        return false;
    return WaitUntil([&] { return position() >= ms; });
}
