#!/usr/bin/env bash
# recwright-cli for Windows (under Wine) against the Linux build: each sample exported in each
# encoding, to a file and to standard output, and imported back, gives the same bytes from
# both; so do worksheets, info, diff and update. Exit 77 (skipped) when there is no Linux build to compare with.
# Usage: same-bytes.sh LINUX_CLI WINDOWS_CLI SAMPLES_DIR EMULATOR...
set -euo pipefail
linux=$1 windows=$2 samples=$3
shift 3
if [ ! -x "$linux" ]; then
  echo "no Linux build of recwright-cli at $linux (cmake --build --preset default): skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
same() { # what, file from Linux, file from Windows
  if cmp -s "$2" "$3"; then
    echo "same: $1"
  else
    echo "DIFFERENT: $1"
    cmp "$2" "$3" || true
    failures=$((failures + 1))
  fi
}
# Runs the same command line with each build, standard output and status into files.
both() { # name, arguments...
  local name=$1
  shift
  set +e
  "$linux" "${@//@SIDE@/linux}" >"$work/linux-$name.out" 2>"$work/linux-$name.err"
  echo $? >"$work/linux-$name.status"
  "${emulator[@]}" "$windows" "${@//@SIDE@/windows}" >"$work/windows-$name.out" 2>"$work/windows-$name.err"
  echo $? >"$work/windows-$name.status"
  set -e
  same "$name: exit status" "$work/linux-$name.status" "$work/windows-$name.status"
  same "$name: output" "$work/linux-$name.out" "$work/windows-$name.out"
}
emulator=("$@")

for table in stditem magic monster; do
  kind=${table#std}
  for encoding in utf-8 utf-8-bom gbk; do
    both "$table-$encoding-export" export "$samples/$table.dat" --encoding "$encoding" -o "$work/@SIDE@-$table-$encoding.csv"
    same "$table $encoding CSV" "$work/linux-$table-$encoding.csv" "$work/windows-$table-$encoding.csv"
    both "$table-$encoding-stdout" export "$samples/$table.dat" --encoding "$encoding"
    both "$table-$encoding-import" import "$work/@SIDE@-$table-$encoding.csv" --kind "$kind" --encoding "$encoding" -o "$work/@SIDE@-$table.dat"
    same "$table $encoding imported" "$work/linux-$table.dat" "$work/windows-$table.dat"
    same "$table $encoding as the sample" "$samples/$table.dat" "$work/windows-$table.dat"
  done
  both "$table-info" info "$samples/$table.dat"
done
# Worksheets: each build's export holds the same parts with the same XML, but for the moment it
# was made (docProps/core.xml); each build imports either export back to the sample's bytes.
for table in stditem magic monster; do
  kind=${table#std}
  both "$table-xlsx-export" export "$samples/$table.dat" -o "$work/@SIDE@-$table.xlsx"
  for side in linux windows; do
    mkdir -p "$work/$side-$table-parts"
    (cd "$work/$side-$table-parts" && cmake -E tar xf "../$side-$table.xlsx")
    sed -i -e 's|<dcterms:created[^<]*</dcterms:created>||' -e 's|<dcterms:modified[^<]*</dcterms:modified>||' \
      "$work/$side-$table-parts/docProps/core.xml"
  done
  if diff -r "$work/linux-$table-parts" "$work/windows-$table-parts" >/dev/null; then
    echo "same: $table worksheet's parts"
  else
    echo "DIFFERENT: $table worksheet's parts"
    diff -r "$work/linux-$table-parts" "$work/windows-$table-parts" | head -n 20 || true
    failures=$((failures + 1))
  fi
  for from in linux windows; do
    both "$table-xlsx-import-$from" import "$work/$from-$table.xlsx" --kind "$kind" -o "$work/@SIDE@-$table-from-$from.dat"
    same "$table worksheet from $from imported" "$work/linux-$table-from-$from.dat" "$work/windows-$table-from-$from.dat"
    same "$table worksheet from $from as the sample" "$samples/$table.dat" "$work/windows-$table-from-$from.dat"
  done
done

# A table with changes, and a comparison of it with the sample, as text and as CSV.
sed -e '2s/,[0-9]*,/,7,/' "$work/linux-stditem-utf-8.csv" >"$work/changed.csv"
"$linux" import "$work/changed.csv" -o "$work/stditem.dat" >/dev/null
both diff diff "$samples/stditem.dat" "$work/stditem.dat"
both diff-csv diff "$samples/stditem.dat" "$work/stditem.dat" --csv

# Records changed by a query: what update shows, and the table it writes.
both update-dry-run update "$samples/monster.dat" --where 'Level>=40 | 兔' --set 'HP*=1.2' --set 'EXP/=3' --dry-run
set +e
"$linux" update "$samples/monster.dat" --where 'Level>=40' --set 'HP*=1.2' -o "$work/linux-updated.dat" >/dev/null 2>&1
"${emulator[@]}" "$windows" update "$samples/monster.dat" --where 'Level>=40' --set 'HP*=1.2' -o "$work/windows-updated.dat" >/dev/null 2>&1
set -e
same "monster updated" "$work/linux-updated.dat" "$work/windows-updated.dat"

echo "$failures failed"
[ "$failures" -eq 0 ]
