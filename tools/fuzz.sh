#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz/ with clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, and runs each for SECONDS (60 by default) from
# its seed corpus. New inputs go to build-fuzz/corpus/<target>/, findings to
# build-fuzz/findings/<target>/. Exits nonzero when any target finds something.
#   tools/fuzz.sh [SECONDS] [TARGET…]
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/setup.sh
QUINTARA_PACKAGES+=(clang-14 libclang-rt-14-dev)
quintara_install_packages

seconds="${1:-60}"
shift || true
build_dir="${QUINTARA_FUZZ_BUILD_DIR:-build-fuzz}"
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Fuzz -DCMAKE_CXX_FLAGS_FUZZ="-O1 -g" \
  -DCMAKE_CXX_COMPILER=clang++-14 -DQUINTARA_FUZZ=ON -DQUINTARA_SANITIZE=address,undefined \
  -DQUINTARA_BUILD_BENCH=OFF -DQUINTARA_BUILD_TOOLS=OFF >/dev/null

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for folder in tests/fuzz/corpus/*/; do targets+=("$(basename "$folder")"); done
fi
cmake --build "$build_dir" -j "$(nproc)" --target "${targets[@]/#/fuzz_}"

scratch="$(mktemp -d /tmp/quintara-fuzz-run-XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$scratch/config" XDG_RUNTIME_DIR="$scratch"
chmod 700 "$scratch"
quintara_sanitizer_options
# The allocator's own pauses must not pass for slow inputs: on this machine under load a whole
# quarantine's recycling, and handing freed memory back to the system, each took over a second.
# A smaller quarantine recycles in smaller batches; freed memory stays with the process.
ASAN_OPTIONS+=":quarantine_size_mb=64:allocator_release_to_os_interval_ms=-1"

failed=()
for target in "${targets[@]}"; do
  corpus="$build_dir/corpus/$target"
  findings="$build_dir/findings/$target"
  mkdir -p "$corpus" "$findings"
  log="$build_dir/fuzz-$target.log"
  # A second per input at most; the Video CD sectors need room for a few dozen of them.
  max_len=16384
  [ "$target" = vcd_image ] && max_len=65536
  echo "== $target: $seconds s"
  if ! "$build_dir/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
      -max_len="$max_len" -print_final_stats=1 -artifact_prefix="$findings/" \
      "$corpus" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    failed+=("$target")
    grep -E "ERROR|SUMMARY|Test unit written" "$log" | head -5 || true
  fi
  grep -E "^#[0-9]+[[:space:]]+DONE" "$log" | tail -1 || true
  grep -E "stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)" "$log" | tr '\n' ' '
  echo "corpus: $(find "$corpus" -type f | wc -l) files"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Findings in: ${failed[*]} (see $build_dir/fuzz-<target>.log and $build_dir/findings/)" >&2
  exit 1
fi
