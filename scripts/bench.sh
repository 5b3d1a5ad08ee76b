#!/usr/bin/env bash
# Runs every benchmark of the build folder given as $1 (default: build), then the
# download comparison against aria2c and wget (bench/download_compare.sh).
set -eu
build=${1:-build}
status=0
for bench in "$build"/bin/bench_*; do
  [ -x "$bench" ] || continue
  echo "== $(basename "$bench")"
  "$bench" || status=1
done
echo "== download_compare"
"$(dirname "$0")/../bench/download_compare.sh" "$build" || status=1
exit $status
