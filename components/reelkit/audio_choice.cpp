#include "components/reelkit/audio_choice.h"

#include <vector>

bool IsValidAudioChoice(const AudioChoice& choice)
{
    return choice.soundQuality < kSoundQualityLevels && choice.audioChannel < kAudioChannelChoices
           && choice.soundChannel < kSoundChannelChoices;
}

uint32_t SampleRateOfQuality(uint32_t soundQuality)
{
    switch (soundQuality) {
    case 1:
        return 22050;
    case 2:
        return 11025;
    case 3:
        return 8000;
    default:
        return 0;
    }
}

std::string AudioFilterOption(const AudioChoice& choice)
{
    std::vector<std::string> steps;
    const char* pan = nullptr;
    if (choice.audioChannel == 1)
        pan = "pan=stereo|c0=c0|c1=c0";
    else if (choice.audioChannel == 2)
        pan = "pan=stereo|c0=c1|c1=c1";
    else if (choice.soundChannel == 1)
        pan = "pan=stereo|c0=0.5*c0+0.5*c1|c1=0.5*c0+0.5*c1";
    if (pan) {
        steps.emplace_back("aformat=channel_layouts=stereo");
        steps.emplace_back(pan);
    }
    if (const uint32_t rate = SampleRateOfQuality(choice.soundQuality))
        steps.push_back("aresample=" + std::to_string(rate));
    if (steps.empty())
        return {};
    std::string graph;
    for (const std::string& step : steps)
        graph += (graph.empty() ? "" : ",") + step;
    return "lavfi=[" + graph + "]";
}
