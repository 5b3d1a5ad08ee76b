#!/bin/sh
# The desktop smoke test: the program shows every window under offscreen and saves its
# picture, its search window running a batch against the fake search engine.
#   desktop_smoke.sh ENGINE PROGRAM SCREENSHOT_FOLDER
# Starts the engine on a free port, points the program at it and stops the engine at
# the end, however the program ended.
set -u
engine=$1
program=$2
folder=$3

work=$(mktemp -d)
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT TERM

"$engine" --port 0 >"$work/engine.out" &
pid=$!
base=
tries=0
while [ -z "$base" ] && [ "$tries" -lt 100 ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "desktop_smoke: the fake search engine did not start" >&2
        exit 1
    fi
    sleep 0.1
    base=$(sed -n 's/^orvellin-fake-engine: listening on //p' "$work/engine.out")
    tries=$((tries + 1))
done
if [ -z "$base" ]; then
    echo "desktop_smoke: the fake search engine named no address" >&2
    exit 1
fi

timeout --kill-after=10 110 "$program" --screenshots "$folder" --search-base "$base"
