#!/usr/bin/env bash
# Times the editor as a person uses it, in the real window on a virtual display: File > Open
# of a generated item file of 1,000,000 records (184 MB), from Return in the file dialog until
# the record list has been painted with the new table; then sorts by a click on a numeric
# column's header and on the name's, from the mouse button let go until the list has been
# painted in the new order. The editor measures both itself (RECWRIGHT_RESPONSE_LOG); the
# limit beside them is read + decipher of a file of that size into one buffer of large pages,
# measured in the same run by table_bench.
# Usage: scripts/bench-window.sh [RUNS]   (BUILD_DIR=... to use another build of the default preset)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/packages.sh
runs=${1:-3}
build=$(cd "${BUILD_DIR:-build/default}" && pwd)

ensure_packages xvfb xauth xdotool openbox x11-utils fonts-wqy-microhei
cmake --build "$build" --target recwright make_item_file table_bench >/dev/null

. scripts/lib/display.sh
work=$(mktemp -d)
display=$(free_display)
export DISPLAY=":$display"
unset WAYLAND_DISPLAY

"$build/bench/data/make_item_file" 1000000 "$work/stditem.dat"
cat "$work/stditem.dat" >/dev/null # in the page cache, as a file just used would be

echo "transparent huge pages: $(cat /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null || echo unknown)"
limit_ms=$("$build/bench/table/table_bench" --benchmark_filter='BM_ReadLimit/' --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
  awk -F, '/_median"/ { printf "%.1f", $3 }')
echo "limit (read + decipher into large pages): $limit_ms ms"
# The same once, after the machine has idled as before each Open below: memory untouched for a
# while is slow to get on a virtual machine, and the Open cannot be faster than this.
sleep "${IDLE_SECONDS:-8}"
cold_ms=$("$build/bench/table/table_bench" --benchmark_filter='BM_ReadLimit/' --benchmark_min_time=0 \
  --benchmark_format=csv 2>/dev/null | awk -F, '/BM_ReadLimit/ { printf "%.1f", $3 }')
echo "limit after idling (one pass, fresh memory): $cold_ms ms"

start_display "$display" 1600x1000

log=$work/response.log
# Waits until the log has more than n lines, and prints the last one's milliseconds.
next_response() { # n
  for _ in $(seq 300); do
    [ "$(wc -l <"$log")" -gt "$1" ] && { tail -n 1 "$log" | sed 's/.*: \([0-9.]*\) ms/\1/'; return 0; }
    sleep 0.1
  done
  fail "no response logged"
}
report() { # label ms target_ms [limit_ms]
  awk -v l="$1" -v m="$2" -v t="$3" -v lim="${4:-$limit_ms}" \
    'BEGIN { printf "%-14s %7.1f ms   %.2f of the %d ms target   %.1f x the limit\n", l, m, m / t, t, m / lim }'
}

for run in $(seq "$runs"); do
  : >"$log"
  (cd "$work" && exec env QT_QPA_PLATFORM=xcb RECWRIGHT_RESPONSE_LOG=1 "$build/shell/recwright" 2>>"$log") &
  pids+=($!)
  frame=$(xdotool search --sync --onlyvisible --name 'Vellmar')
  xdotool windowactivate --sync "$frame" >/dev/null 2>&1 || true
  sleep 1
  xdotool key --window "$frame" --clearmodifiers alt+f
  sleep 0.5
  xdotool key --clearmodifiers o
  for _ in $(seq 100); do xdotool search --onlyvisible --name '^(Open|打开)' >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 0.5
  xdotool type --delay 40 stditem.dat
  # Idle a while first, as a person picking the file is: the memory the load then gets has
  # not been used for some seconds, which on a virtual machine makes its first touch slow.
  sleep "${IDLE_SECONDS:-8}"
  before=$(wc -l <"$log")
  xdotool key Return
  report "open" "$(next_response "$before")" 350 "$cold_ms"
  sleep 1
  # The header: below the menu bar; columns ItemID (70 px), ItemName (120), Stdmode (70), ...
  for click in "Stdmode 225 300" "Weight 365 300" "ItemName 130 500" "Shape 295 300" "ItemName 130 500"; do
    read -r name x target <<<"$click"
    before=$(wc -l <"$log")
    xdotool mousemove --window "$frame" "$x" 34 click 1
    report "sort $name" "$(next_response "$before")" "$target"
    sleep 0.5
  done
  kill "${pids[-1]}" 2>/dev/null || true
  wait "${pids[-1]}" 2>/dev/null || true
  unset 'pids[-1]'
done
