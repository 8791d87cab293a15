#!/usr/bin/env bash
# Installs what is missing, builds and starts the player with the given words and files
# (generated demo clips when none are given).
# Without a display it runs on a virtual one and saves screenshots under build/screenshots.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quintara_install_packages
quintara_build build quintara

# Without files or words, the player shows something: generated demo clips.
if [ $# -eq 0 ]; then
  quintara_make_demo_clips build/demo
  set -- build/demo/demo-1.mpg build/demo/demo-2.mpg build/demo/demo-3.mpg
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/quintara "$@"
fi

trap quintara_stop_services EXIT
quintara_start_xvfb
# A machine without a display seldom has a sound server: the sound goes to a silent one.
if ! pactl info >/dev/null 2>&1; then
  if [ -z "${XDG_RUNTIME_DIR:-}" ] || [ ! -w "$XDG_RUNTIME_DIR" ]; then
    XDG_RUNTIME_DIR="$(mktemp -d /tmp/quintara-run-XXXXXX)"
    chmod 700 "$XDG_RUNTIME_DIR"
    export XDG_RUNTIME_DIR
  fi
  quintara_start_pulseaudio || true
fi
mkdir -p build/screenshots
echo "No display: running on the virtual display $DISPLAY for ${QUINTARA_DEMO_SECONDS:-10} seconds."
build/quintara "$@" &
player=$!
sleep "${QUINTARA_DEMO_SECONDS:-10}"
shot="build/screenshots/quintara-$(date +%Y%m%d-%H%M%S).png"
import -window root "$shot" && echo "Screenshot: $shot"
build/quintara Close
status=0
wait "$player" || status=$?
echo "The player ended with status $status (18 is an orderly shut-down)."
