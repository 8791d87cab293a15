#!/usr/bin/env bash
# CPU seconds per second of playback and peak memory of the media engine, side by side with
# Debian's mpv (--vo=x11) and, where it runs headless, smplayer, on a virtual display with the
# sound going to a null sink. Each player shows the picture at 640x480.
#
#   bench/engine_cpu.sh [SECONDS]        (default 20; QUINTARA_BUILD_DIR as for test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh

seconds="${1:-20}"
build_dir="${QUINTARA_BUILD_DIR:-build}"
quintara_install_packages
[ -f "$build_dir/build.ninja" ] || cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target quintara_engine_play >/dev/null

# The peers are installed by the benchmark only.
missing=()
for package in mpv smplayer time; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || true
fi

quintara_bench_sandbox

# Clips a little longer than the run, so that every player plays the whole time.
clip_seconds=$((seconds + 5))
ffmpeg -hide_banner -loglevel error -nostdin -y \
  -f lavfi -i "testsrc2=size=352x240:rate=30000/1001:duration=$clip_seconds" \
  -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$clip_seconds" \
  -ac 2 -target ntsc-vcd -aspect 4:3 "$work/vcd.mpg"
ffmpeg -hide_banner -loglevel error -nostdin -y \
  -f lavfi -i "testsrc2=size=1280x720:rate=30:duration=$clip_seconds" \
  -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$clip_seconds" \
  -c:v libx264 -preset medium -pix_fmt yuv420p -b:v 3M -c:a aac -ac 2 "$work/hd.mp4"

# measure NAME CLIP COMMAND...: runs the command under /usr/bin/time and prints one line.
measure() {
  local name="$1" clip="$2"
  shift 2
  local log="$work/$name.log"
  if ! /usr/bin/time -f "%e %U %S %M" -o "$work/time" "$@" >"$log" 2>&1; then
    # A player stopped by timeout still reports; any other failure skips the line.
    if ! grep -q . "$work/time" 2>/dev/null; then
      printf '%-10s %-8s %s\n' "$name" "$clip" "did not run (see below)"; tail -3 "$log"; return 0
    fi
  fi
  local elapsed user system rss dropped
  read -r elapsed user system rss < <(tail -1 "$work/time")
  dropped="$(grep -o 'dropped=[0-9]*' "$log" | tail -1 | cut -d= -f2 || true)"
  awk -v n="$name" -v c="$clip" -v u="$user" -v s="$system" -v r="$rss" -v t="$seconds" -v d="${dropped:-?}" \
    'BEGIN { printf "%-10s %-8s %8.3f %10.1f %8s\n", n, c, (u + s) / t, r / 1024, d }'
}

# measure_tree NAME CLIP COMMAND...: for a player that plays through a child process (smplayer
# runs mpv or mplayer), whose CPU time /usr/bin/time would lose when the parent is stopped:
# the whole process tree is read from /proc at the end of the run, then stopped. The run gets
# three more seconds for the child to start; CPU is divided by the whole run.
descendants() {
  local parent="$1" child
  echo "$parent"
  for child in $(ps -o pid= --ppid "$parent" 2>/dev/null); do descendants "$child"; done
}
measure_tree() {
  local name="$1" clip="$2"
  shift 2
  local run=$((seconds + 3)) ticks=0 hwm=0 pid
  "$@" >"$work/$name.log" 2>&1 &
  local top=$!
  sleep "$run"
  for pid in $(descendants "$top"); do
    [ -r "/proc/$pid/stat" ] || continue
    ticks=$((ticks + $(awk '{ print $14 + $15 + $16 + $17 }' "/proc/$pid/stat")))
    hwm=$((hwm + $(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")))
  done
  for pid in $(descendants "$top" | tac); do kill "$pid" 2>/dev/null || true; done
  wait "$top" 2>/dev/null || true
  if [ "$ticks" -eq 0 ]; then
    printf '%-10s %-8s %s\n' "$name" "$clip" "did not run"; return 0
  fi
  awk -v n="$name" -v c="$clip" -v k="$ticks" -v hz="$(getconf CLK_TCK)" -v r="$hwm" -v t="$run" \
    'BEGIN { printf "%-10s %-8s %8.3f %10.1f %8s\n", n, c, k / hz / t, r / 1024, "?" }'
}

printf '%-10s %-8s %8s %10s %8s\n' player clip "cpu-s/s" "peak MiB" dropped
for clip in vcd.mpg hd.mp4; do
  measure quintara "$clip" "$build_dir/quintara_engine_play" "$work/$clip" "$seconds"
  if command -v mpv >/dev/null; then
    measure mpv "$clip" mpv --no-config --vo=x11 --ao=pulse --geometry=640x480 --no-keepaspect-window \
      --length="$seconds" --script="$PWD/bench/mpv_drops.lua" --really-quiet "$work/$clip"
  fi
  if command -v smplayer >/dev/null; then
    measure_tree smplayer "$clip" smplayer -size 640 480 -close-at-end "$work/$clip"
  fi
done
