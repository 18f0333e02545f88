#!/usr/bin/env bash
# Makes the fixture of tests/sheet: an item file of invented records whose names a
# spreadsheet would read as something else, exported by recwright-cli to .xlsx and then
# opened and saved again by LibreOffice Calc, as a person editing the sheet would. The test
# imports the saved sheet and expects the item file back, byte for byte.
# Needs LibreOffice (soffice), which the build does not: it is run once, by hand, and its two
# files are kept in the repository.
# Usage: scripts/make-sheet-fixture.sh   (BUILD_DIR=... to use another build of the default preset)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/default}
out=tests/sheet/fixtures
command -v soffice >/dev/null || { echo "soffice (LibreOffice Calc) is needed" >&2; exit 1; }
cmake --build "$build" --target recwright-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$out/stditem.dat" <<'PY'
import struct, sys
names = [
    "007", "1e5", "=1+1", "3/4", "晨露药剂", "TRUE", "#N/A", "50%", "1,000", "-0", "2024-01-02",
    " 前后有空格 ", "a\tb", "a\x01b", "c\rd", "", "_x0041_", "&<>\"'", "0x1F", "+1", "1.50",
]
# GBK bytes that are no text: a lead byte before an ASCII control, a lone lead byte at the end.
raw_names = [n.encode("gbk") for n in names] + [b"\x81\x7f", b"ab\xb3"]
key = 173
records = []
for i, name in enumerate(raw_names):
    r = bytearray(184)
    struct.pack_into("<i", r, 0, 100 + i)
    for k in range(29):
        value = (i * 37 + k * 11) % 400 - 50
        if i == 3 and k == 0: value = -2147483648
        if i == 4 and k == 1: value = 2147483647
        struct.pack_into("<i", r, 36 + 4 * k, value)
    r[4 + i % 32] = 0xA0 + i  # a hidden byte in use
    r[152] = len(name)
    r[153:153 + len(name)] = name
    if i == 5: r[153 + len(name) + 2] = 0x7A  # a stale byte after the name's end
    records.append(bytes(r))
data = struct.pack("<i", len(records)) + b"".join(records)
# The count stays plain; the records are enciphered.
open(sys.argv[1], "wb").write(data[:4] + bytes(b ^ key for b in data[4:]))
PY

cli="$build/cli/recwright-cli"
"$cli" export "$out/stditem.dat" -o "$work/stditem.xlsx"
mkdir "$work/saved"
soffice --headless --calc --convert-to xlsx:"Calc MS Excel 2007 XML" --outdir "$work/saved" "$work/stditem.xlsx" >/dev/null
cp "$work/saved/stditem.xlsx" "$out/stditem-libreoffice.xlsx"
"$cli" import "$out/stditem-libreoffice.xlsx" -o "$work/stditem.dat"
cmp "$out/stditem.dat" "$work/stditem.dat" && echo "The saved sheet imports back to the same file."
