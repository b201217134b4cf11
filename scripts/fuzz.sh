#!/usr/bin/env bash
# Builds the libFuzzer target over the store reader with clang and runs it for a bounded time
# from the committed seed corpus. Any crash, sanitizer report or broken property fails.
# Usage: scripts/fuzz.sh [SECONDS]   (default 45)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-45}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
work=$(mktemp -d /tmp/quippet-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus"
# New inputs go to the scratch corpus; the committed seeds are only read.
if ! build/fuzz/fuzz/fuzz_store_reader -max_total_time="$seconds" -max_len=4096 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" \
  "$work/corpus" fuzz/corpus >"$work/log" 2>&1; then
  tail -n 60 "$work/log"
  for crash in "$work"/crash-* "$work"/leak-* "$work"/timeout-* "$work"/oom-*; do
    [ -e "$crash" ] && { echo "== input $crash:"; od -c "$crash" | head -n 20; }
  done
  echo "FAIL: the store reader fuzzer found a problem" >&2
  exit 1
fi
grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec)' "$work/log" || true
