#include "playback/dispatch.h"

#include <algorithm>
#include <array>

#include "context/app_context.h"
#include "core/command_id.h"
#include "context/playback_hooks.h"
#include "playback/track_entry.h"
#include "playback/tracks.h"
#include "playback/transport.h"
#include "playback/window_commands.h"

namespace {
// Click commands act once, at Click; held ones at every other phase.
enum class Acts { Click, Held };

// An action answers false when the part that carries it out is not built in.
using Action = bool (*)(CommandId id, CommandPhase phase);

struct Command {
    CommandId id;
    Acts acts;
    bool endsEntry;  // a digit or Return goes on with the entry; every other command ends it
    Action action;
};

// The track changes, their results not waited for.
bool nextTrack() { return NextTrack(); }
bool previousTrack() { return PreviousTrack(); }

template <auto Function, auto... Args>
bool run(CommandId, CommandPhase)
{
    Function(Args...);
    return true;
}

template <auto Member, auto... Args>
bool hook(CommandId, CommandPhase)
{
    const auto& function = playbackHooks().*Member;
    if (!function)
        return false;
    function(Args...);
    return true;
}

bool seekHold(CommandId id, CommandPhase phase)
{
    const bool forward = id == CommandId::Forward;
    app().state.seekHeldForward = forward;
    SeekHold(forward, phase == CommandPhase::Press);
    return true;
}

bool stepVolume(CommandId id, CommandPhase phase)
{
    const auto& step = playbackHooks().stepVolume;
    if (!step)
        return false;
    const bool up = id == CommandId::VolumeDown;
    app().state.volumeHeldUp = up;
    step(up, phase == CommandPhase::Press);
    return true;
}

bool changeRate(CommandId id, CommandPhase)
{
    const PlayerSettings& settings = app().settings;
    switch (id) {
    case CommandId::FastBackward: ChangeRate(false, settings.fastBackwardRate); break;
    case CommandId::FastForward: ChangeRate(true, settings.fastForwardRate); break;
    case CommandId::SlowBackward: ChangeRate(false, settings.slowBackwardRate); break;
    default: ChangeRate(true, settings.slowForwardRate); break;
    }
    return true;
}

// Without the dialog there is no Play List command.
bool playListCommand(CommandId, CommandPhase)
{
    if (!playbackHooks().showPlayListDialog)
        return false;
    PlayListCommand(true);
    return true;
}

bool enterDigit(CommandId id, CommandPhase)
{
    const auto digit = static_cast<uint32_t>(CommandNumber(id) - CommandNumber(CommandId::Digit0));
    EnterDigit(id == CommandId::PlusTen ? 10 : digit);
    return true;
}

constexpr Command click(CommandId id, Action action) { return {id, Acts::Click, true, action}; }
constexpr Command held(CommandId id, Action action) { return {id, Acts::Held, true, action}; }
constexpr Command entry(CommandId id, Action action) { return {id, Acts::Click, false, action}; }

using c = CommandId;
using H = PlaybackHooks;

constexpr std::array kCommands{
    click(c::Minimize, run<Minimize>),
    click(c::Help, run<Help>),
    click(c::Power, run<Power>),
    click(c::Play, run<Play, true>),
    click(c::Pause, run<Pause, true>),
    click(c::PlayPause, run<TogglePlayPause>),
    click(c::Stop, run<Stop, true, true>),
    click(c::Eject, hook<&H::showDiscMenu, DiscMenuForm::Eject>),
    click(c::StopEject, hook<&H::stopOrEject>),
    click(c::NextTrack, run<nextTrack>),
    click(c::PreviousTrack, run<previousTrack>),
    held(c::Backward, seekHold),
    held(c::Forward, seekHold),
    click(c::FastBackward, changeRate),
    click(c::FastForward, changeRate),
    click(c::SlowBackward, changeRate),
    click(c::SlowForward, changeRate),
    click(c::MuteUnMute, hook<&H::toggleMute>),
    held(c::VolumeUp, stepVolume),
    held(c::VolumeDown, stepVolume),
    click(c::SoundQuality, hook<&H::cycleSoundQuality>),
    click(c::AudioChannel, hook<&H::cycleAudioChannel>),
    click(c::SoundChannel, hook<&H::cycleSoundChannel>),
    click(c::AudioProperties, hook<&H::showAudioProperties>),
    click(c::Repeat, run<CycleRepeat>),
    click(c::PlayList, playListCommand),
    click(c::Disc, hook<&H::showDiscMenu, DiscMenuForm::Load>),
    click(c::VideoTopmost, run<ToggleVideoTopmost>),
    click(c::VideoSize, run<ToggleVideoSize>),
    entry(c::Digit0, enterDigit), entry(c::Digit1, enterDigit), entry(c::Digit2, enterDigit),
    entry(c::Digit3, enterDigit), entry(c::Digit4, enterDigit), entry(c::Digit5, enterDigit),
    entry(c::Digit6, enterDigit), entry(c::Digit7, enterDigit), entry(c::Digit8, enterDigit),
    entry(c::Digit9, enterDigit), entry(c::PlusTen, enterDigit),
    entry(c::Return, run<GoToEnteredTrack>),
};
static_assert(std::ranges::is_sorted(kCommands, {}, &Command::id));

const Command* find(CommandId id)
{
    const auto found = std::ranges::lower_bound(kCommands, id, {}, &Command::id);
    return found != kCommands.end() && found->id == id ? &*found : nullptr;
}
}  // namespace

bool DispatchCommand(CommandId command, CommandPhase phase)
{
    const Command* entry = find(command);
    const Acts wanted = phase == CommandPhase::Click ? Acts::Click : Acts::Held;
    if (!entry || entry->acts != wanted)
        return false;
    if (!entry->action(command, phase))
        return false;
    if (entry->endsEntry)
        EndTrackEntry(true);
    return true;
}
