#!/usr/bin/env bash
# Compares `orvellin download --slots 6` with `aria2c -j6` (six parallel downloads) and
# `wget` (one file after another) on the same generated files, served by an nginx of its
# own on a free port of 127.0.0.1. Two scenarios: 6 files of 200 MB and 600 files of
# 64 KB. Every command runs three times in turn (the median is reported), the downloads
# are deleted after every run, and each run's wall time, CPU time (user + system) and
# peak resident memory come from GNU time. Everything it makes lives in one temporary
# folder that is removed at the end, whatever happens.
#
# Usage: bench/download_compare.sh [BUILD_DIR]   (default: build)
# Smaller trial runs: BENCH_RUNS, BENCH_LARGE_MB, BENCH_SMALL_COUNT (defaults 3, 200, 600);
# BENCH_TMPDIR chooses where the temporary folder goes (default $TMPDIR or /tmp).
#
# Exit: 0 when every run downloaded every file (whether the aims are met is printed, not
# judged), 1 when a run failed or the server could not start.
# shellcheck disable=SC2317  # the clean-up functions run from the traps
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
case $build in /*) ;; *) build=$root/$build ;; esac
orvellin=$build/bin/orvellin

runs=${BENCH_RUNS:-3}
large_count=6
large_mb=${BENCH_LARGE_MB:-200}
small_count=${BENCH_SMALL_COUNT:-600}
small_kb=64
# Bounds: one run, and the whole script (checked before every run).
run_limit=300
total_limit=3600

if [ ! -x "$orvellin" ]; then
  echo "download_compare: $orvellin is missing (make build)" >&2
  exit 1
fi
"$root/scripts/deps.sh" "$root/scripts/bench-packages.txt"
for tool in nginx aria2c wget /usr/bin/time timeout; do
  command -v "$tool" >/dev/null || { echo "download_compare: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d "${BENCH_TMPDIR:-${TMPDIR:-/tmp}}/orvellin-dlbench.XXXXXX")
nginx_pid=
stop_nginx() {
  [ -n "$nginx_pid" ] || return 0
  kill -TERM "$nginx_pid" 2>/dev/null || true
  for _ in $(seq 50); do
    kill -0 "$nginx_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -KILL "$nginx_pid" 2>/dev/null || true
  wait "$nginx_pid" 2>/dev/null || true
  nginx_pid=
}
# The timed run in progress: timeout, which passes a TERM on to its whole process group.
timed_pid=
stop_run() {
  [ -n "$timed_pid" ] || return 0
  kill -TERM "$timed_pid" 2>/dev/null || true
  wait "$timed_pid" 2>/dev/null || true
  timed_pid=
}
cleanup() {
  stop_run
  stop_nginx
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
started=$SECONDS
cd "$work"

# Room for the served files and one run's downloads, with a margin.
need_kb=$(((2 * large_count * large_mb + 2 * small_count * small_kb / 1024 + 256) * 1024))
free_kb=$(df -Pk "$work" | awk 'NR == 2 { print $4 }')
if [ "$free_kb" -lt "$need_kb" ]; then
  echo "download_compare: $((need_kb / 1024)) MB needed in $work, $((free_kb / 1024)) MB free" >&2
  exit 1
fi

# --- the files and the server ------------------------------------------------------------

files=$work/files
mkdir -p "$files/large" "$files/small" "$work/nginx/tmp" "$work/results"
for i in $(seq -f '%02g' "$large_count"); do
  head -c "$((large_mb * 1024 * 1024))" /dev/urandom >"$files/large/f$i.bin"
done
head -c "$((small_count * small_kb * 1024))" /dev/urandom >"$work/small.all"
split -a 4 -d -b "$((small_kb * 1024))" --additional-suffix=.bin "$work/small.all" "$files/small/f"
rm -f "$work/small.all"
token=$RANDOM$RANDOM$RANDOM
echo "$token" >"$files/ready.txt"

# One process (no master, so nothing to leave behind), logging only errors, writing
# nothing outside the temporary folder; it never reads the system's configuration.
write_config() {
  local port=$1 dir=$work/nginx
  cat >"$dir/nginx.conf" <<EOF
daemon off;
master_process off;
pid $dir/nginx.pid;
error_log $dir/error.log warn;
events { worker_connections 256; }
http {
    access_log off;
    client_body_temp_path $dir/tmp/body;
    proxy_temp_path $dir/tmp/proxy;
    fastcgi_temp_path $dir/tmp/fastcgi;
    uwsgi_temp_path $dir/tmp/uwsgi;
    scgi_temp_path $dir/tmp/scgi;
    default_type application/octet-stream;
    sendfile on;
    tcp_nopush on;
    tcp_nodelay on;
    keepalive_requests 100000;
    server {
        listen 127.0.0.1:$port;
        root $files;
    }
}
EOF
}

# Tries random free ports until our own server answers with the token.
start_nginx() {
  local port
  for _ in $(seq 20); do
    port=$((20000 + (RANDOM * 32768 + RANDOM) % 40000))
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
      continue # taken
    fi
    write_config "$port"
    nginx -p "$work/nginx/" -c "$work/nginx/nginx.conf" -e "$work/nginx/error.log" \
      </dev/null >>"$work/nginx/output.log" 2>&1 &
    nginx_pid=$!
    for _ in $(seq 50); do
      kill -0 "$nginx_pid" 2>/dev/null || break
      if [ "$(wget -q -O - --tries=1 --timeout=2 "http://127.0.0.1:$port/ready.txt" 2>/dev/null)" = "$token" ]; then
        base=http://127.0.0.1:$port
        return 0
      fi
      sleep 0.1
    done
    stop_nginx
  done
  echo "download_compare: nginx did not start; its log:" >&2
  cat "$work/nginx/error.log" "$work/nginx/output.log" >&2 || true
  return 1
}
start_nginx || exit 1

for i in $(seq -f '%02g' "$large_count"); do echo "$base/large/f$i.bin"; done >"$work/large.list"
for f in "$files"/small/f*.bin; do echo "$base/small/$(basename "$f")"; done >"$work/small.list"

# --- one run -----------------------------------------------------------------------------

out=$work/out
failed=0

# run SCENARIO NAME EXPECTED_COUNT EXPECTED_BYTES COMMAND... : appends one line
# "wall cpu peak_kb [transfer own_cpu]" to results/SCENARIO.NAME.
run() {
  local scenario=$1 name=$2 count=$3 bytes=$4
  shift 4
  if [ $((SECONDS - started)) -gt "$total_limit" ]; then
    echo "download_compare: over the bound of $total_limit s, stopping" >&2
    exit 1
  fi
  rm -rf "$out"
  mkdir -p "$out"
  sync
  local status=0 log=$work/log.txt
  rm -f "$work/time.txt"
  # In the background, so that a signal to this script is handled at once.
  timeout -k 5 "$run_limit" /usr/bin/time -o "$work/time.txt" -f '%e %U %S %M' \
    "$@" </dev/null >"$log" 2>&1 &
  timed_pid=$!
  wait "$timed_pid" || status=$?
  timed_pid=
  [ -s "$work/time.txt" ] || echo "0 0 0 0" >"$work/time.txt"
  local got_count got_bytes figures extra=""
  got_count=$(find "$out" -type f | wc -l)
  got_bytes=$(find "$out" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')
  figures=$(tail -n 1 "$work/time.txt" | awk '{ printf "%s %.2f %s", $1, $2 + $3, $4 }')
  if [ "$name" = orvellin ]; then
    extra=$(sed -n 's/^传输：\([0-9.]*\) s  CPU：\([0-9.]*\) s$/\1 \2/p' "$log")
    if [ -z "$extra" ] && [ "$status" -eq 0 ]; then
      status=99 # no summary line
    fi
  fi
  if [ "$status" -ne 0 ] || [ "$got_count" -ne "$count" ] || [ "$got_bytes" -ne "$bytes" ]; then
    echo "   $name: FAILED (exit $status, $got_count of $count files, $got_bytes of $bytes bytes); its output:" >&2
    tail -n 5 "$log" | sed 's/^/     /' >&2
    failed=1
  fi
  echo "$figures $extra" >>"$work/results/$scenario.$name"
  echo "$name $figures $extra" | awk '{ printf "     %-9s wall %6.2f s  cpu %6.2f s  peak %6.1f MB%s\n",
    $1, $2, $3, $4 / 1024, (NF > 4) ? sprintf("  transfer phase %s s", $5) : "" }'
  rm -rf "$out"
}

# scenario NAME LIST COUNT BYTES_EACH
scenario() {
  local name=$1 list=$2 count=$3 each=$4 round
  # The same warm page cache for every command.
  cat "$files/$name"/* >/dev/null
  for round in $(seq "$runs"); do
    echo "   run $round of $runs"
    run "$name" orvellin "$count" $((count * each)) \
      "$orvellin" download --list "$list" --folder "$out" --slots 6 --max-size 100000
    run "$name" aria2c "$count" $((count * each)) \
      aria2c -j6 -x1 -i "$list" -d "$out" --console-log-level=warn --summary-interval=0
    run "$name" wget "$count" $((count * each)) \
      wget -nv -i "$list" -P "$out"
  done
}

# median SCENARIO NAME FIELD: the median of one column over the runs.
median() {
  awk -v f="$3" '{ print $f }' "$work/results/$1.$2" | sort -g |
    awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "nan" }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "nan" }'; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

table() {
  local s=$1 name
  printf '   %-9s %9s %9s %9s\n' command "wall s" "cpu s" "peak MB"
  for name in orvellin aria2c wget; do
    printf '   %-9s %9s %9s %9s\n' "$name" "$(median "$s" "$name" 1)" "$(median "$s" "$name" 2)" \
      "$(mb "$(median "$s" "$name" 3)")"
  done
  printf '   orvellin: transfer phase %s s, own CPU %s s (its summary line; its wall time also\n' \
    "$(median "$s" orvellin 4)" "$(median "$s" orvellin 5)"
  echo "   holds its start-up and the wait for its first one-second tick)"
}

# verdict VALUE AIM: met when VALUE is at most AIM.
verdict() { awk -v v="$1" -v aim="$2" 'BEGIN { print (v != "nan" && v <= aim) ? "met" : "missed" }'; }

# The aim holds for every run, so the largest peak is judged.
memory_aim() {
  local s=$1 peak
  peak=$(awk '$3 > m { m = $3 } END { printf "%.1f", m / 1024 }' "$work/results/$s.orvellin")
  echo "   orvellin's largest peak memory: $peak MB (aim: under 150 MB):" \
    "$(awk -v v="$peak" 'BEGIN { print (v < 150) ? "met" : "missed" }')"
  echo "   peak memory of every run (MB):"
  local name
  for name in orvellin aria2c wget; do
    printf '     %-9s %s\n' "$name" "$(awk '{ printf "%.1f ", $3 / 1024 }' "$work/results/$s.$name")"
  done
}

# --- the two scenarios -------------------------------------------------------------------

echo "download comparison: nginx on $base, median of $runs runs; orvellin runs with"
echo "--max-size 100000 so that no file is skipped as too large"
echo "== $large_count files of $large_mb MB"
scenario large "$work/large.list" "$large_count" $((large_mb * 1024 * 1024))
table large
transfer=$(median large orvellin 4)
vs_wget=$(ratio "$transfer" "$(median large wget 1)")
vs_aria=$(ratio "$transfer" "$(median large aria2c 1)")
faster=$(awk -v a="$vs_wget" -v b="$vs_aria" 'BEGIN { print (a > b) ? a : b }')
echo "   orvellin's transfer phase / wget's wall time:   $vs_wget"
echo "   orvellin's transfer phase / aria2c's wall time: $vs_aria"
echo "   against the faster one: $faster (aim: at most 1.25): $(verdict "$faster" 1.25)"
memory_aim large

echo "== 1 file of $large_mb MB over one connection (orvellin --method 1) against wget"
head -n 1 "$work/large.list" >"$work/one.list"
cat "$(ls "$files/large"/* | head -n 1)" >/dev/null
for round in $(seq "$runs"); do
  echo "   run $round of $runs"
  run one orvellin 1 $((large_mb * 1024 * 1024)) \
    "$orvellin" download --list "$work/one.list" --folder "$out" --method 1 --max-size 100000
  run one wget 1 $((large_mb * 1024 * 1024)) wget -nv -i "$work/one.list" -P "$out"
done
one_vs_wget=$(ratio "$(median one orvellin 4)" "$(median one wget 1)")
echo "   orvellin's transfer phase / wget's wall time: $one_vs_wget (aim: at most 1.25):" \
  "$(verdict "$one_vs_wget" 1.25)"
echo "   peak memory (MB): orvellin $(mb "$(median one orvellin 3)"), wget $(mb "$(median one wget 3)")"
rm -rf "$files/large"

echo "== $small_count files of $small_kb KB"
scenario small "$work/small.list" "$small_count" $((small_kb * 1024))
table small
per_file() { awk -v c="$1" -v n="$small_count" 'BEGIN { printf "%.3f", c * 1000 / n }'; }
o_cpu=$(median small orvellin 2)
w_cpu=$(median small wget 2)
echo "   CPU per file: orvellin $(per_file "$o_cpu") ms, wget $(per_file "$w_cpu") ms," \
  "aria2c $(per_file "$(median small aria2c 2)") ms"
echo "   orvellin's CPU per file / wget's: $(ratio "$o_cpu" "$w_cpu")" \
  "(GNU time counts CPU in steps of 10 ms)"
memory_aim small
echo "   Note: orvellin starts at most one transfer per free slot per second (the download"
echo "   tick, a rule of the program), so its wall time for $small_count small files is set by"
echo "   that rule, not by the speed of its code; compare its CPU time, not its wall time."

exit "$failed"
