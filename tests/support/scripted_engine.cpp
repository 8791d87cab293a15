#include "tests/support/scripted_engine.h"

#include <algorithm>
#include <utility>

bool ScriptedEngine::act(const std::string& name, const std::string& argument)
{
    log.push_back(argument.empty() ? name : name + "(" + argument + ")");
    return !refuses(name);
}

uint16_t ScriptedEngine::runningStatus() const
{
    if (rate == 1000)
        return 2;
    return rate > 0 ? 3 : 4;
}

void ScriptedEngine::reachEnd()
{
    status = 0;
    position = length;
}

int ScriptedEngine::count(const std::string& entry) const
{
    return static_cast<int>(std::ranges::count(log, entry));
}

void ScriptedEngine::open(Window*, const std::string& path, OpenAs)
{
    if (answerLater) {
        awaited_ = path;
        return;
    }
    emit openAnswered(take(path));
}

void ScriptedEngine::answerOpen()
{
    if (awaited_)
        emit openAnswered(take(*std::exchange(awaited_, std::nullopt)));
}

bool ScriptedEngine::take(const std::string& path)
{
    if (!act("open", path) || failingPaths.contains(path))
        return false;
    openedPaths.push_back(path);
    isOpen = true;
    openPath = path;
    status = 0;
    position = 0;
    rate = 1000;
    const auto known = lengths.find(path);
    length = known == lengths.end() ? defaultLength : known->second;
    return true;
}

bool ScriptedEngine::close()
{
    act("close");
    isOpen = false;
    openPath.clear();
    status = 0;
    position = 0;
    length = 0;
    return true;
}

std::optional<uint32_t> ScriptedEngine::getLength()
{
    if (refuses("getLength") || !isOpen)
        return {};
    return length;
}

bool ScriptedEngine::play()
{
    if (!act("play") || !isOpen)
        return false;
    rate = 1000;
    status = 2;
    return true;
}

bool ScriptedEngine::pause()
{
    if (!act("pause") || !isOpen)
        return false;
    status = 1;
    return true;
}

bool ScriptedEngine::stop()
{
    if (!act("stop") || !isOpen)
        return false;
    status = 0;
    return true;
}

bool ScriptedEngine::stopAndSeekToStart()
{
    if (!act("stopAndSeekToStart") || !isOpen)
        return false;
    status = 0;
    position = 0;
    return true;
}

std::optional<uint16_t> ScriptedEngine::getStatus()
{
    if (refuses("getStatus"))
        return {};
    return isOpen ? status : uint16_t{0};
}

std::optional<uint32_t> ScriptedEngine::getCurrentPosition()
{
    if (refuses("getCurrentPosition") || !isOpen)
        return {};
    return position;
}

bool ScriptedEngine::seek(uint32_t to)
{
    if (!act("seek", std::to_string(to)) || !isOpen)
        return false;
    position = std::min(to, length);
    // As playing to it: the end itself is reported stopped there.
    if (length != 0 && position == length)
        status = 0;
    return true;
}

std::optional<int32_t> ScriptedEngine::getRate()
{
    if (refuses("getRate"))
        return {};
    return rate;
}

bool ScriptedEngine::setRate(int32_t to)
{
    if (!act("setRate", std::to_string(to)) || !isOpen)
        return false;
    rate = to;
    if (status >= 2)
        status = runningStatus();
    return true;
}

bool ScriptedEngine::setAudioProperties(Window*, const AudioWish& wish)
{
    const auto text = [](std::optional<uint32_t> value) { return value ? std::to_string(*value) : std::string("-"); };
    if (!act("setAudioProperties", text(wish.soundQuality) + "," + text(wish.audioChannel) + "," +
                                       text(wish.soundChannel)) ||
        !isOpen)
        return false;
    soundQuality = wish.soundQuality.value_or(soundQuality);
    audioChannel = wish.audioChannel.value_or(audioChannel);
    soundChannel = wish.soundChannel.value_or(soundChannel);
    return true;
}

std::optional<AudioChoice> ScriptedEngine::getAudioProperties(Window*)
{
    if (refuses("getAudioProperties") || !isOpen)
        return {};
    return hasAudio ? AudioChoice{soundQuality, audioChannel, soundChannel} : kNoAudio;
}
