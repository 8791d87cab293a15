#include "playback/app_command.h"

#include "core/app_windows.h"
#include "playback/playback.h"

#include <array>
#include <optional>
#include <utility>

#include "core/player_ids.h"
#include "core/window.h"
#include "core/command_id.h"

namespace {
constexpr uint32_t kFirstAppCommand = 8;

// Application commands 8..14, in order.
constexpr std::array<CommandId, 7> kCommands{
    CommandId::MuteUnMute,     // APPCOMMAND_VOLUME_MUTE
    CommandId::VolumeUp,       // APPCOMMAND_VOLUME_DOWN: 31 lowers the volume
    CommandId::VolumeDown,     // APPCOMMAND_VOLUME_UP: 32 raises it
    CommandId::NextTrack,      // APPCOMMAND_MEDIA_NEXTTRACK
    CommandId::PreviousTrack,  // APPCOMMAND_MEDIA_PREVIOUSTRACK
    CommandId::Stop,           // APPCOMMAND_MEDIA_STOP
    CommandId::PlayPause,      // APPCOMMAND_MEDIA_PLAY_PAUSE
};

// The player's command for an application command; nothing for one it does not handle.
std::optional<CommandId> commandFor(intptr_t lParam)
{
    const uint32_t appCommand = AppCommandOf(lParam);
    if (appCommand < kFirstAppCommand || appCommand - kFirstAppCommand >= kCommands.size())
        return std::nullopt;
    return kCommands[appCommand - kFirstAppCommand];
}
}  // namespace

bool Playback::AppCommand_Post(uintptr_t wParam, intptr_t lParam)
{
    Window* main = windows_.main;
    if (!commandFor(lParam) || !main)
        return false;
    // Handled from the queue, never inside the key's own delivery.
    main->post({msg::MultimediaKey, wParam, lParam});
    return true;
}

bool Playback::AppCommand_Run(uintptr_t /*wParam*/, intptr_t lParam)
{
    const std::optional<CommandId> command = commandFor(lParam);
    if (!command)
        return false;
    for (const CommandPhase phase : {CommandPhase::Press, CommandPhase::Release, CommandPhase::Click})
        DispatchCommand(*command, phase);
    return true;
}
