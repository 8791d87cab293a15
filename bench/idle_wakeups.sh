#!/usr/bin/env bash
# The idle player's wake-ups: starts it on the offscreen platform with nothing to play, lets it
# settle, then counts each thread's context switches (every wake-up is one) over a while.
#   bench/idle_wakeups.sh [PLAYER] [SECONDS]     (PLAYER defaults to build/quintara)
set -euo pipefail
player="${1:-build/quintara}"
seconds="${2:-20}"
runtime="$(mktemp -d /tmp/quintara-idle-XXXXXX)"
chmod 700 "$runtime"
XDG_RUNTIME_DIR="$runtime" XDG_CONFIG_HOME="$runtime/config" QT_QPA_PLATFORM=offscreen "$player" >/dev/null 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -rf "$runtime"' EXIT
sleep 5

switches() {
  for task in /proc/"$pid"/task/*; do
    awk -v tid="${task##*/}" -v name="$(cat "$task/comm")" \
      '/^voluntary_ctxt_switches/ { v = $2 } /^nonvoluntary_ctxt_switches/ { n = $2 } END { print tid, name, v + n }' \
      "$task/status"
  done
}
before="$(switches)"
sleep "$seconds"
after="$(switches)"
join <(sort <<<"$before") <(sort <<<"$after") | awk -v pid="$pid" -v s="$seconds" '
  { rate = ($5 - $3) / s; total += rate
    printf "%-8s %-16s %6.2f /s%s\n", $1, $2, rate, ($1 == pid ? "  (UI thread)" : "") }
  END { printf "all threads      %6.2f /s over %d s\n", total, s }'
