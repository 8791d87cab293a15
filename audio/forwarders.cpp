#include <memory>

#include "audio/audio.h"
#include "context/app_context.h"

Audio& AppAudio()
{
    AppContext& context = app();
    if (!context.audio)
        context.audio = std::make_shared<Audio>(context.components, context.settings, context.state, context.windows,
                                                context.modalLoops);
    return *context.audio;
}
