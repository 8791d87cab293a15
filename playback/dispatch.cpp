#include <algorithm>
#include <array>

#include "audio/audio.h"
#include "core/command_id.h"
#include "core/player_settings.h"
#include "core/player_state.h"
#include "playback/playback.h"

// The commands and what each does; it reaches the private members it acts on.
struct Playback::CommandTable {
    // Click commands act once, at Click; held ones at every other phase.
    enum class Acts { Click, Held };
    // An action answers false when the part that carries it out is not there.
    using Action = bool (*)(Playback& playback, CommandId id, CommandPhase phase);

    struct Command {
        CommandId id;
        Acts acts;
        bool endsEntry;  // a digit or Return goes on with the entry; every other command ends it
        Action action;
    };

    // The track changes, their results not waited for.
    static bool nextTrack(Playback& p, CommandId, CommandPhase) { return p.NextCommand(), true; }
    static bool previousTrack(Playback& p, CommandId, CommandPhase) { return p.PreviousCommand(), true; }

    template <auto Member, auto... Args>
    static bool run(Playback& p, CommandId, CommandPhase)
    {
        (p.*Member)(Args...);
        return true;
    }

    template <auto Member>
    static bool toAudio(Playback& p, CommandId, CommandPhase)
    {
        (p.audio_.*Member)();
        return true;
    }

    static bool seekHold(Playback& p, CommandId id, CommandPhase phase)
    {
        // A still has no time to move through.
        if (p.inStill())
            return true;
        const bool forward = id == CommandId::Forward;
        p.state_.seekHeldForward = forward;
        p.SeekHold(forward, phase == CommandPhase::Press);
        return true;
    }

    static bool stepVolume(Playback& p, CommandId id, CommandPhase phase)
    {
        p.audio_.StepVolume(id == CommandId::VolumeDown, phase == CommandPhase::Press);
        return true;
    }

    static bool changeRate(Playback& p, CommandId id, CommandPhase)
    {
        const PlayerSettings& settings = p.settings_;
        if (p.inStill())
            return true;
        switch (id) {
        case CommandId::FastBackward: p.ChangeRate(false, settings.fastBackwardRate); break;
        case CommandId::FastForward: p.ChangeRate(true, settings.fastForwardRate); break;
        case CommandId::SlowBackward: p.ChangeRate(false, settings.slowBackwardRate); break;
        default: p.ChangeRate(true, settings.slowForwardRate); break;
        }
        return true;
    }

    // Without a way to choose a play list there is no Play List command.
    static bool playListCommand(Playback& p, CommandId, CommandPhase)
    {
        if (!p.chooser_)
            return false;
        p.PlayListCommand(true);
        return true;
    }

    static bool enterDigit(Playback& p, CommandId id, CommandPhase)
    {
        const auto digit = static_cast<uint32_t>(CommandNumber(id) - CommandNumber(CommandId::Digit0));
        p.EnterDigit(id == CommandId::PlusTen ? 10 : digit);
        return true;
    }

    static constexpr Command click(CommandId id, Action action) { return {id, Acts::Click, true, action}; }
    static constexpr Command held(CommandId id, Action action) { return {id, Acts::Held, true, action}; }
    static constexpr Command entry(CommandId id, Action action) { return {id, Acts::Click, false, action}; }

    static const Command* find(CommandId id);
};

namespace {
using c = CommandId;
using P = Playback;
}  // namespace

const Playback::CommandTable::Command* Playback::CommandTable::find(CommandId id)
{
    static constexpr std::array kCommands{
        click(c::Minimize, run<&P::Minimize>),
        click(c::Help, run<&P::Help>),
        click(c::Power, run<&P::Power>),
        click(c::Play, run<&P::PlayCommand>),
        click(c::Pause, run<&P::Pause, true>),
        click(c::PlayPause, run<&P::PlayPauseCommand>),
        click(c::Stop, run<&P::StopCommand, false>),
        click(c::Eject, run<&P::ShowDiscMenu, DiscMenuForm::Eject>),
        click(c::StopEject, run<&P::StopCommand, true>),
        click(c::NextTrack, nextTrack),
        click(c::PreviousTrack, previousTrack),
        held(c::Backward, seekHold),
        held(c::Forward, seekHold),
        click(c::FastBackward, changeRate),
        click(c::FastForward, changeRate),
        click(c::SlowBackward, changeRate),
        click(c::SlowForward, changeRate),
        click(c::MuteUnMute, toAudio<&Audio::ToggleMute>),
        held(c::VolumeUp, stepVolume),
        held(c::VolumeDown, stepVolume),
        click(c::SoundQuality, toAudio<&Audio::CycleSoundQuality>),
        click(c::AudioChannel, toAudio<&Audio::CycleAudioChannel>),
        click(c::SoundChannel, toAudio<&Audio::CycleSoundChannel>),
        click(c::AudioProperties, toAudio<&Audio::ShowAudioProperties>),
        click(c::Repeat, run<&P::CycleRepeat>),
        click(c::PlayList, playListCommand),
        click(c::Disc, run<&P::ShowDiscMenu, DiscMenuForm::Load>),
        click(c::MenuReturn, run<&P::MenuReturn>),
        click(c::VideoTopmost, run<&P::ToggleVideoTopmost>),
        click(c::VideoSize, run<&P::ToggleVideoSize>),
        entry(c::Digit0, enterDigit), entry(c::Digit1, enterDigit), entry(c::Digit2, enterDigit),
        entry(c::Digit3, enterDigit), entry(c::Digit4, enterDigit), entry(c::Digit5, enterDigit),
        entry(c::Digit6, enterDigit), entry(c::Digit7, enterDigit), entry(c::Digit8, enterDigit),
        entry(c::Digit9, enterDigit), entry(c::PlusTen, enterDigit),
        entry(c::Return, run<&P::GoToEnteredTrack>),
    };
    static_assert(std::ranges::is_sorted(kCommands, {}, &Command::id));
    const auto found = std::ranges::lower_bound(kCommands, id, {}, &Command::id);
    return found != kCommands.end() && found->id == id ? &*found : nullptr;
}

bool Playback::DispatchCommand(CommandId command, CommandPhase phase)
{
    const CommandTable::Command* entry = CommandTable::find(command);
    using Acts = CommandTable::Acts;
    const Acts wanted = phase == CommandPhase::Click ? Acts::Click : Acts::Held;
    if (!entry || entry->acts != wanted)
        return false;
    if (!entry->action(*this, command, phase))
        return false;
    if (entry->endsEntry)
        EndTrackEntry(true);
    return true;
}
