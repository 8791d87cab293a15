#!/usr/bin/env bash
# Installs what is missing, builds, starts a virtual display and a sound server, runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh

quintara_install_packages
# QUINTARA_BUILD_DIR lets several work trees of one checkout build side by side.
build_dir="${QUINTARA_BUILD_DIR:-build}"
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
