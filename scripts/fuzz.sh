#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build folder $1 for $2 seconds each, starting from
# the seed corpus in tests/fuzz/corpus; new inputs go to $1/corpus/<target>.
set -eu
build=${1:-build-fuzz}
seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for target in decode_redirect extraction; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  echo "== fuzz_$target for ${seconds}s"
  if "$build/bin/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -max_len=65536 -print_final_stats=1 "$corpus" "$root/tests/fuzz/corpus/$target" \
       >"$build/fuzz_$target.log" 2>&1; then
    grep -E "^Done|stat::number_of_executed_units" "$build/fuzz_$target.log" || true
  else
    status=1
    tail -40 "$build/fuzz_$target.log"
  fi
done
exit $status
