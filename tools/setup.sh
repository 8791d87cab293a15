# Shared by run.sh and test.sh: installs what is missing (Debian packages only) and builds.

QUINTARA_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqt6opengl6-dev libmpv-dev libpulse-dev libudev-dev libcdio-dev libiso9660-dev
  libgtest-dev libgmock-dev
  ffmpeg vcdimager dbus xvfb xauth x11-utils libxcb-xtest0-dev imagemagick pulseaudio pulseaudio-utils
  desktop-file-utils appstream lintian playerctl weston qt6-wayland at-spi2-core python3-pyatspi
)

quintara_install_packages() {
  local missing=()
  for package in "${QUINTARA_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Further cmake arguments of quintara_build; later ones win.
QUINTARA_CMAKE_ARGS=()

# Builds the given targets (everything when none is named) into the build folder $1.
quintara_build() {
  local build_dir="$1"
  shift
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUINTARA_SANITIZE= \
    "${QUINTARA_CMAKE_ARGS[@]}" >/dev/null
  local targets=()
  [ $# -gt 0 ] && targets=(--target "$@")
  cmake --build "$build_dir" -j "$(nproc)" "${targets[@]}"
}

QUINTARA_XVFB_PID=""
QUINTARA_PULSE_PID=""

# Stops what quintara_start_xvfb and quintara_start_pulseaudio started.
quintara_stop_services() {
  [ -n "$QUINTARA_PULSE_PID" ] && kill "$QUINTARA_PULSE_PID" 2>/dev/null || true
  [ -n "$QUINTARA_XVFB_PID" ] && kill "$QUINTARA_XVFB_PID" 2>/dev/null || true
}

# Starts Xvfb on a free display and exports DISPLAY; the caller stops it.
quintara_start_xvfb() {
  local display
  for display in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    QUINTARA_XVFB_PID=$!
    for _ in $(seq 1 50); do
      if xdpyinfo -display ":$display" >/dev/null 2>&1; then
        export DISPLAY=":$display"
        return 0
      fi
      sleep 0.1
    done
    kill "$QUINTARA_XVFB_PID" 2>/dev/null || true
  done
  echo "Could not start a virtual display" >&2
  return 1
}

# Starts a private PulseAudio daemon with a null sink in $XDG_RUNTIME_DIR.
quintara_start_pulseaudio() {
  pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n \
    --load=module-native-protocol-unix --load="module-null-sink sink_name=quintara_null" \
    --log-target=stderr >"$XDG_RUNTIME_DIR/pulseaudio.log" 2>&1 &
  QUINTARA_PULSE_PID=$!
  for _ in $(seq 1 50); do
    pactl info >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Could not start PulseAudio (see $XDG_RUNTIME_DIR/pulseaudio.log)" >&2
  return 1
}

# Makes a few short VCD-style clips (MPEG-1 video, MP2 sound) under $1 once, for a player
# started without files.
quintara_make_demo_clips() {
  local folder="$1" pattern
  mkdir -p "$folder"
  local i=1
  for pattern in testsrc2 smptebars mandelbrot; do
    local clip="$folder/demo-$i.mpg"
    if [ ! -s "$clip" ]; then
      ffmpeg -loglevel error -y -f lavfi -i "$pattern=size=352x240:rate=25" \
        -f lavfi -i "sine=frequency=$((300 + 110 * i)):sample_rate=44100" -t 8 \
        -c:v mpeg1video -b:v 1150k -c:a mp2 -b:a 224k -ac 2 -f mpeg "$clip"
    fi
    i=$((i + 1))
  done
}

# The sanitizers' settings for the sanitized suite and the fuzzers: every report stops the
# program; only the suppressions under tests/ (libraries underneath, each with why) are heard.
quintara_sanitizer_options() {
  export ASAN_OPTIONS="detect_leaks=1:check_initialization_order=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$PWD/tests/ubsan.supp"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
}

# A benchmark's own home, runtime folder, virtual display and silent sound server, all gone when
# the script ends; its scratch folder is $work.
quintara_bench_sandbox() {
  work="$(mktemp -d /tmp/quintara-bench-XXXXXX)"
  export XDG_RUNTIME_DIR="$work/run"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
  mkdir -p "$XDG_CONFIG_HOME"
  trap 'quintara_stop_services; rm -rf "$work"' EXIT
  quintara_start_xvfb
  quintara_start_pulseaudio
}
