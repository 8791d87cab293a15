#!/usr/bin/env bash
# Installs what is missing, builds, starts a virtual display and a sound server, runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quintara_install_packages
# QUINTARA_BUILD_DIR lets several work trees of one checkout build side by side.
build_dir="${QUINTARA_BUILD_DIR:-build}"
# QUINTARA_SANITIZE=address,undefined builds the same suite with those sanitizers into a folder
# of its own and runs it; any report fails the test that caused it. The plain build holds the
# warnings: gcc warns falsely on code the sanitizers instrument.
if [ -n "${QUINTARA_SANITIZE:-}" ]; then
  build_dir="${QUINTARA_BUILD_DIR:-build-sanitize}"
  QUINTARA_CMAKE_ARGS=(-DQUINTARA_SANITIZE="$QUINTARA_SANITIZE" -DCMAKE_BUILD_TYPE=Sanitize
    -DCMAKE_CXX_FLAGS_SANITIZE="-O1 -g1" -DQUINTARA_BUILD_BENCH=OFF -DQUINTARA_WERROR=OFF)
  quintara_sanitizer_options
fi
quintara_build "$build_dir"

XDG_RUNTIME_DIR="$(mktemp -d /tmp/quintara-tests-XXXXXX)"
export XDG_RUNTIME_DIR
chmod 700 "$XDG_RUNTIME_DIR"
cleanup() {
  quintara_stop_services
  rm -rf "$XDG_RUNTIME_DIR"
}
trap cleanup EXIT

quintara_start_xvfb
quintara_start_pulseaudio
# Tests choose their own platform; the profile store of the tests lives in the private folder.
export XDG_CONFIG_HOME="$XDG_RUNTIME_DIR/config"

ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)" "$@"
