#!/usr/bin/env bash
# Builds every libFuzzer target with clang and runs each for a bounded time
# (seconds per target, default 30) from its committed seed corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
targets=$(ls fuzz/*_fuzz.cpp 2>/dev/null | xargs -r -n1 basename | sed 's/\.cpp$//')
[ -n "$targets" ] || { echo "no fuzz targets"; exit 0; }
tools/configure.sh fuzz >/dev/null
cmake --build build-fuzz
for target in $targets; do
  work="build-fuzz/corpus-run/$target"
  mkdir -p "$work"
  seeds="fuzz/corpus/$target"
  [ -d "$seeds" ] || seeds=""
  echo "== fuzzing $target for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1 build-fuzz/bin/"$target" -max_total_time="$seconds" \
    -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 "$work" $seeds 2>&1 | tail -n 12
done
