#include "tests/support/scripted_engine.h"

#include <algorithm>
#include <utility>

uint32_t ScriptedEngine::act(const std::string& name, const std::string& argument)
{
    log.push_back(argument.empty() ? name : name + "(" + argument + ")");
    return refuses(name) ? 0 : 1;
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

void ScriptedEngine::open(Window*, const std::string& path)
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

uint32_t ScriptedEngine::close()
{
    act("close");
    isOpen = false;
    openPath.clear();
    status = 0;
    position = 0;
    length = 0;
    return 1;
}

uint32_t ScriptedEngine::getLength(uint32_t* result)
{
    if (refuses("getLength") || !isOpen)
        return 0;
    *result = length;
    return 1;
}

uint32_t ScriptedEngine::play()
{
    if (!act("play") || !isOpen)
        return 0;
    rate = 1000;
    status = 2;
    return 1;
}

uint32_t ScriptedEngine::pause()
{
    if (!act("pause") || !isOpen)
        return 0;
    status = 1;
    return 1;
}

uint32_t ScriptedEngine::stop()
{
    if (!act("stop") || !isOpen)
        return 0;
    status = 0;
    return 1;
}

uint32_t ScriptedEngine::stopAndSeekToStart()
{
    if (!act("stopAndSeekToStart") || !isOpen)
        return 0;
    status = 0;
    position = 0;
    return 1;
}

uint32_t ScriptedEngine::getStatus(uint16_t* result)
{
    if (refuses("getStatus"))
        return 0;
    *result = isOpen ? status : 0;
    return 1;
}

uint32_t ScriptedEngine::getCurrentPosition(uint32_t* result)
{
    if (refuses("getCurrentPosition") || !isOpen)
        return 0;
    *result = position;
    return 1;
}

uint32_t ScriptedEngine::seek(uint32_t to)
{
    if (!act("seek", std::to_string(to)) || !isOpen)
        return 0;
    position = std::min(to, length);
    // As playing to it: the end itself is reported stopped there.
    if (length != 0 && position == length)
        status = 0;
    return 1;
}

uint32_t ScriptedEngine::getRate(int32_t* result)
{
    if (refuses("getRate"))
        return 0;
    *result = rate;
    return 1;
}

uint32_t ScriptedEngine::setRate(int32_t to)
{
    if (!act("setRate", std::to_string(to)) || !isOpen)
        return 0;
    rate = to;
    if (status >= 2)
        status = runningStatus();
    return 1;
}

uint32_t ScriptedEngine::setAudioProperties(Window*, const uint32_t* quality, const uint32_t* audio,
                                            const uint32_t* sound)
{
    const auto text = [](const uint32_t* value) { return value ? std::to_string(*value) : std::string("-"); };
    if (!act("setAudioProperties", text(quality) + "," + text(audio) + "," + text(sound)) || !isOpen)
        return 0;
    if (quality)
        soundQuality = *quality;
    if (audio)
        audioChannel = *audio;
    if (sound)
        soundChannel = *sound;
    return 1;
}

uint32_t ScriptedEngine::getAudioProperties(Window*, uint32_t* quality, uint32_t* audio, uint32_t* sound)
{
    if (refuses("getAudioProperties") || !isOpen)
        return 0;
    if (quality)
        *quality = hasAudio ? soundQuality : 4;
    if (audio)
        *audio = hasAudio ? audioChannel : 3;
    if (sound)
        *sound = hasAudio ? soundChannel : 2;
    return 1;
}
