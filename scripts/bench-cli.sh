#!/usr/bin/env bash
# Times recwright-cli export and import of a generated item file (1,000,000 records, 184 MB,
# by default) and their peak memory, the import beside reading its CSV and writing the table's
# bytes in the same run, and checks that the round trip gives the file back; then
# times diff of that file and a new version of it (1% of the records changed, 0.1% removed,
# 0.1% added).
# Usage: scripts/bench-cli.sh [COUNT]   (BUILD_DIR=... to use another build of the default preset)
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-1000000}
build=${BUILD_DIR:-build/default}

[ -f "$build/CMakeCache.txt" ] || BUILD_DIR= scripts/setup.sh default
cmake --build "$build" --target recwright-cli make_item_file >/dev/null
cli="$build/cli/recwright-cli"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/bench/data/make_item_file" "$count" "$work/stditem.dat"
size=$(stat -c %s "$work/stditem.dat")
cat "$work/stditem.dat" >/dev/null # in the page cache, as a file just used would be

measure() { # label, command...
  local label=$1
  shift
  sync # the previous step's writes are not this one's to wait for
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@"
  read -r seconds user system kilobytes <"$work/time"
  awk -v l="$label" -v s="$seconds" -v u="$user" -v y="$system" -v k="$kilobytes" -v f="$size" \
    'BEGIN { printf "%-8s %6.2f s (user %.2f, system %.2f)   peak %5d MB (%.2f x file size)\n", l, s, u, y, k / 1024, k * 1024 / f }'
  last_seconds=$seconds
}

echo "item file: $count records, $((size / 1000000)) MB; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "transparent huge pages: $(cat /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null || echo unknown)"
measure export "$cli" export "$work/stditem.dat" -o "$work/items.csv"
export_seconds=$last_seconds
echo "csv:       $(($(stat -c %s "$work/items.csv") / 1000000)) MB"
# The reference: the same file to the same CSV by a struct-based Python script.
measure python python3 bench/cli/export_items.py "$work/stditem.dat" "$work/reference.csv"
cmp "$work/items.csv" "$work/reference.csv" && echo "reference: the same CSV"
awk -v e="$export_seconds" -v p="$last_seconds" 'BEGIN { printf "export:   %.1f x the reference (target: at least 12 x)\n", p / e }'
rm -f "$work/reference.csv"
mkdir -p "$work/copy"
# The limit an import stands beside: reading the CSV and writing the table's bytes, flushed to
# the disk as an import's are, with nothing made in between.
measure limit sh -c 'cat "$0" >/dev/null && dd if="$1" of="$2" bs=1M conv=fsync status=none' \
  "$work/items.csv" "$work/stditem.dat" "$work/copy/limit.dat"
limit_seconds=$last_seconds
rm -f "$work/copy/limit.dat"
measure import "$cli" import "$work/items.csv" -o "$work/copy/stditem.dat"
awk -v i="$last_seconds" -v l="$limit_seconds" \
  'BEGIN { printf "import:   %.2f of the 0.8 s target, %.1f x the limit\n", i / 0.8, i / l }'
cmp "$work/stditem.dat" "$work/copy/stditem.dat" && echo "round trip: identical"

mkdir -p "$work/new"
"$build/bench/data/make_item_file" "$count" "$work/new/stditem.dat" edited
cat "$work/new/stditem.dat" >/dev/null
# diff answers 1 when the tables differ, as these do.
measure diff sh -c '"$0" diff "$1" "$2" -o "$3"; [ $? -eq 1 ]' "$cli" "$work/stditem.dat" "$work/new/stditem.dat" "$work/diff.txt"
echo "diff:      $(tail -n 1 "$work/diff.txt")"
