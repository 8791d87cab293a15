#!/usr/bin/env bash
# How long the UI thread stands still when the track changes and while a video plays, on a
# virtual display with a null sound sink:
#   quintara_bench_track_change   the media engine alone, a 1 ms timer beating on its thread;
#   quintara_bench_player_answer  the real player, its MPRIS properties read from outside.
# The clips (MPEG-1 352x240, 25 fps, MP2) and the Video CD image (vcdimager) are made once
# under the build's bench-media/, so that runs before and after a change play the same.
#
#   bench/ui_still.sh [--changes N]      (default 50; QUINTARA_BUILD_DIR as for test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh

build_dir="${QUINTARA_BUILD_DIR:-build}"
quintara_install_packages
[ -f "$build_dir/build.ninja" ] || cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir" --target quintara quintara_bench_track_change quintara_bench_player_answer >/dev/null

media="$build_dir/bench-media"
mkdir -p "$media"
files=()
i=1
for pattern in testsrc testsrc2 smptebars rgbtestsrc; do
  clip="$media/clip-$i.mpg"
  # Long enough for the playing phases, which play the first.
  [ -s "$clip" ] || ffmpeg -hide_banner -loglevel error -nostdin -y \
    -f lavfi -i "$pattern=size=352x240:rate=25:duration=30" \
    -f lavfi -i "sine=frequency=$((300 + 110 * i)):sample_rate=44100:duration=30" \
    -c:v mpeg1video -b:v 1150k -c:a mp2 -b:a 224k -ac 2 -f mpeg "$clip"
  files+=("$clip")
  i=$((i + 1))
done
if [ ! -s "$media/vcd/disc.cue" ]; then
  rm -rf "$media/vcd" && mkdir -p "$media/vcd"
  for i in 1 2 3 4; do
    ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i "testsrc=size=352x288:rate=25:duration=10" \
      -f lavfi -i "sine=frequency=$((300 + 110 * i)):sample_rate=44100:duration=10" -ac 2 -target pal-vcd \
      "$media/vcd/track-$i.mpg"
  done
  (cd "$media/vcd" && vcdimager --quiet -t vcd2 -l BENCH -c disc.cue -b disc.bin track-{1,2,3,4}.mpg >/dev/null)
fi

quintara_bench_sandbox

"$build_dir/bench/quintara_bench_track_change" "$@" "$media/vcd/disc.cue" "${files[@]}"
echo
"$build_dir/bench/quintara_bench_player_answer" "$@" "$media/vcd/disc.cue" "${files[@]}"
