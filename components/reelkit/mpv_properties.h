#pragma once

// The libmpv option, property and command names the engine uses, in one place so that a
// misspelt name (which libmpv only reports at run time) is caught by looking here.
namespace mpvname {

// Options set once when the engine starts.
inline constexpr const char* Idle = "idle";
inline constexpr const char* KeepOpen = "keep-open";
inline constexpr const char* KeepOpenPause = "keep-open-pause";
inline constexpr const char* AudioOutput = "ao";
inline constexpr const char* AudioFallbackToNull = "audio-fallback-to-null";
inline constexpr const char* AudioClientName = "audio-client-name";
inline constexpr const char* PulseBuffer = "pulse-buffer";
inline constexpr const char* LogFile = "log-file";
inline constexpr const char* LoadScripts = "load-scripts";
inline constexpr const char* Ytdl = "ytdl";
inline constexpr const char* LoadStatsOverlay = "load-stats-overlay";
inline constexpr const char* LoadOsdConsole = "load-osd-console";
inline constexpr const char* LoadAutoProfiles = "load-auto-profiles";
inline constexpr const char* InputDefaultBindings = "input-default-bindings";
inline constexpr const char* InputVoKeyboard = "input-vo-keyboard";
inline constexpr const char* OsdLevel = "osd-level";
inline constexpr const char* SubAuto = "sub-auto";
inline constexpr const char* AudioFileAuto = "audio-file-auto";
inline constexpr const char* HrSeekFramedrop = "hr-seek-framedrop";
inline constexpr const char* HrSeekDemuxerOffset = "hr-seek-demuxer-offset";

// Options changed per file.
inline constexpr const char* VideoOutput = "vo";
inline constexpr const char* HardwareDecoding = "hwdec";
inline constexpr const char* AudioFilters = "af";

// Properties.
inline constexpr const char* Pause = "pause";
inline constexpr const char* Speed = "speed";
inline constexpr const char* TimePos = "time-pos";
inline constexpr const char* Duration = "duration";
inline constexpr const char* EofReached = "eof-reached";
inline constexpr const char* TrackList = "track-list";
inline constexpr const char* ContainerFps = "container-fps";
inline constexpr const char* AudioOutRate = "audio-out-params/samplerate";
inline constexpr const char* CurrentVideoOutput = "current-vo";
inline constexpr const char* FrameDropCount = "frame-drop-count";
inline constexpr const char* DecoderFrameDropCount = "decoder-frame-drop-count";

// Commands and their arguments.
inline constexpr const char* LoadFile = "loadfile";
inline constexpr const char* ImageDisplayDuration = "image-display-duration";
inline constexpr const char* Stop = "stop";
inline constexpr const char* Seek = "seek";
inline constexpr const char* SeekAbsoluteExact = "absolute+exact";

// Option values.
inline constexpr const char* VideoOutputRenderApi = "libmpv";
inline constexpr const char* VideoOutputNone = "null";
inline constexpr const char* HardwareDecodingAuto = "auto-safe";
inline constexpr const char* HardwareDecodingOff = "no";

}  // namespace mpvname
