#pragma once

#include "core/command_id.h"

// What playback and the audio show on the control panel: the busy cursor while a track opens
// and the check buttons (mute, video topmost). The panel implements it while it exists; the
// owner hands it in when the panel is made and takes it back when it goes. Declared on the
// audio's floor, the lowest that speaks to the panel.
class PanelFeedback {
public:
    virtual bool beginBusyCursor() = 0;
    virtual bool endBusyCursor() = 0;
    virtual bool setButtonChecked(CommandId command, bool checked) = 0;

protected:
    ~PanelFeedback() = default;
};
