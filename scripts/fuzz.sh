#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset) and runs each for SECONDS seconds on a seed
# corpus made from samples/. Exits non-zero if any target finds a crash, a leak or a timeout.
# Usage: scripts/fuzz.sh [SECONDS]   (default 60; FUZZ_TARGETS="csv_import ..." runs only those);
# findings are kept in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

scripts/setup.sh fuzz
bin=build/fuzz/fuzz
findings=build/fuzz/findings
mkdir -p "$findings"
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT

# Each input starts with the kind (0 item, 1 magic, 2 monster); the decoder's second byte is
# the key, the importer's where the text is cut in two; the parted importer's second and third
# how small a text is still parted and the size of the pieces it is given in.
seed() { # target name prefix file
  mkdir -p "$corpus/$1"
  { printf "$3"; cat "$4"; } > "$corpus/$1/$2"
}
seed decode item '\x00\xad' samples/stditem.dat
seed decode magic '\x01\xcb' samples/magic.dat
seed decode monster '\x02\xf1' samples/monster.dat
seed csv_import item '\x00\x80' samples/stditem.csv
seed csv_import magic '\x01\x40' samples/magic.csv
seed csv_import monster '\x02\xc0' samples/monster.csv
seed csv_parting item '\x00\x04\x00' samples/stditem.csv
seed csv_parting magic '\x01\x10\x08' samples/magic.csv
seed csv_parting monster '\x02\x40\x02' samples/monster.csv
seed gbk_names item '\x00' samples/stditem.csv
seed gbk_names monster '\x02' samples/monster.csv
# The worksheet reader: a sheet LibreOffice saved (shared strings), one of ours (inline
# strings), and bare XML of the kind.
seed xlsx_import libreoffice '\x00\x01' tests/sheet/fixtures/stditem-libreoffice.xlsx
build/fuzz/cli/recwright-cli export samples/magic.dat -o "$corpus/magic.xlsx"
seed xlsx_import ours '\x01\x01' "$corpus/magic.xlsx"
rm "$corpus/magic.xlsx"
printf '<sst><si><t>a</t></si></sst>\0<worksheet><sheetData><row r="1"><c t="inlineStr"><is><t>MagID</t></is></c></row><row r="2"><c><v>1</v></c><c t="s"><v>0</v></c><c t="str"><f>1</f><v>1</v></c></row></sheetData></worksheet>' >"$corpus/xml"
seed xlsx_import xml '\x01\x80' "$corpus/xml"
rm "$corpus/xml"

seed record_diff item '\x00\x41' samples/stditem.dat
seed record_diff magic '\x01\x40' samples/magic.dat
seed record_diff monster '\x02\x41' samples/monster.dat

# The query (--where and the find bar) and --set: the kind, then the text.
words() { # target name kind text
  mkdir -p "$corpus/$1"
  printf "$3%s" "$4" > "$corpus/$1/$2"
}
words query conditions '\x00' 'Level>=40 Stdmode=10 Price<500'
words query alternatives '\x00' 'Stdmode=10 | Stdmode=11'
words query parts '\x00' '戒指 Level>=40 ring Price!=3 | 12'
words query monster '\x02' 'hp > 100 MonName'
words set multiply '\x02' 'HP*=1.15'
words set add '\x00' ' Price -= 5'
words set name '\x01' 'Name=火球术'
words set divide '\x00' 'Stdmode/=.5'
words set formula '\x00' 'Price=NeedLevel*120+Stdmode'
words set functions '\x02' 'HP = max(Level*Level*40, HP) * 1.15'
words query compare '\x00' 'Price<NeedLevel*10 Dc2<Dc | HP>=max(Level,3)*-2'
words expression item '\x00' 'NeedLevel*120+Stdmode'
words expression nested '\x00' '-(Price-(Dc2/Dc))*1.15+min(Ac,Ac2,abs(-7))/3'
words expression monster '\x02' 'Level*Level*40 - max(HP, 2147483647*2147483647)'
words expression magic '\x01' 'MaxPower/(Power-Power)+.5'
# The editor's settings file, as it writes one.
mkdir -p "$corpus/settings"
printf '%s\n' '[General]' '' '[frame]' 'resizable=true' 'size=@Size(1100 700)' 'maximized=false' '' \
  '[columns]' 'item\widths=80, 120, 40' 'item\hidden=Stock, Price' '' \
  '[recent]' '1\path=/srv/data/stditem.dat' '1\kind=stditem.dat' '2\path=/srv/data/怪物 备份.dat' \
  '2\kind=monster.dat' 'size=2' >"$corpus/settings/editor.ini"

status=0
for target in ${FUZZ_TARGETS:-decode csv_import csv_parting gbk_names xlsx_import record_diff query set expression settings}; do
  echo "== fuzz_$target for ${seconds}s"
  dict=()
  [ "$target" != xlsx_import ] || dict=(-dict=fuzz/xlsx.dict)
  case $target in query|set|expression) dict=(-dict=fuzz/expression.dict) ;; esac
  if ! "$bin/fuzz_$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$findings/$target-" "$corpus/$target" 2>"$findings/$target.log"; then
    echo "fuzz_$target failed; see $findings/$target.log" >&2
    tail -n 40 "$findings/$target.log" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units' "$findings/$target.log" || true
  fi
done
exit $status
