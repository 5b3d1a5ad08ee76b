#!/bin/sh
# The desktop program under offscreen against the fake search engine: a picture of
# every window in FOLDER, and a one-group batch in the search window.
#   desktop_smoke.sh ENGINE PROGRAM FOLDER
set -eu
engine=$1
program=$2
folder=$3
log=$(mktemp)
"$engine" --port 0 --results 30 >"$log" &
engine_pid=$!
trap 'kill "$engine_pid" 2>/dev/null || true; wait "$engine_pid" 2>/dev/null || true; rm -f "$log"' EXIT
for _ in $(seq 1 100); do
    grep -q "listening on" "$log" && break
    sleep 0.1
done
base=$(sed -n 's/^.*listening on //p' "$log")
if [ -z "$base" ]; then
    echo "desktop_smoke: the fake engine did not start" >&2
    exit 1
fi
"$program" --screenshots "$folder" --search-base "$base"
