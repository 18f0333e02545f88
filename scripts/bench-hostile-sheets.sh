#!/usr/bin/env bash
# Times recwright-cli's import of workbooks made to cost a reader time or memory (one XML token
# of 128 MB, 16 million nested elements, 60,000 sheets and relationships, and as many sheets as
# the workbook's parts may hold; then each shape just within the reader's limits), each beside
# the import of a real workbook of 100,000 item records in the same run, with its peak memory
# and what the program said.
# Usage: scripts/bench-hostile-sheets.sh   (BUILD_DIR=... another build of the default preset;
# LIMIT_SECONDS=... how long a case may run before it is stopped, 300 by default)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/default}
limit=${LIMIT_SECONDS:-300}

[ -f "$build/CMakeCache.txt" ] || BUILD_DIR= scripts/setup.sh default
cmake --build "$build" --target recwright-cli make_item_file make_hostile_workbook >/dev/null
cli="$build/cli/recwright-cli"
make="$build/bench/sheet/make_hostile_workbook"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# seconds, peak MB, exit status and the first line said, of one import.
measure() { # label, workbook
  local label=$1 book=$2 status=0
  sync
  /usr/bin/time -f '%e %M' -o "$work/time" timeout "$limit" "$cli" import "$book" -o "$work/stditem.dat" \
    >/dev/null 2>"$work/said" || status=$?
  # time says first when the command failed; its figures are the last line.
  read -r seconds kilobytes < <(tail -n 1 "$work/time") || { seconds=$limit; kilobytes=0; }
  [ "$status" -eq 124 ] && seconds=">$limit"
  printf '%-34s %7s s  %6d MB  exit %3d  %s\n' "$label ($(($(stat -c %s "$book") / 1024)) KB)" "$seconds" \
    $((kilobytes / 1024)) "$status" "$(head -c 150 "$work/said" | head -n 1)"
  last_seconds=$seconds
}

"$build/bench/data/make_item_file" 100000 "$work/items.dat"
"$cli" export "$work/items.dat" --kind item -o "$work/real.xlsx"
measure "limit: 100,000 real records" "$work/real.xlsx"
real_seconds=$last_seconds

# The sheets at the size limits: the workbook's relationships just under the 16 MB a small
# part may unpack to. Then each shape just within what the reader takes.
for case in "token 134217728" "nesting 16777216" "sheets 60000" "sheets 105000" \
  "token 1000000" "nesting 250" "sheets 10000"; do
  set -- $case
  "$make" "$1" "$2" "$work/$1.xlsx"
  measure "$1 $2" "$work/$1.xlsx"
  awk -v s="$last_seconds" -v r="$real_seconds" 'BEGIN { if (s ~ /^[0-9.]+$/) printf "%34s %.3f x the limit\n", "", s / r }'
done
