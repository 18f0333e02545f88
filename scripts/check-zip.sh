#!/usr/bin/env bash
# Checks the Windows .zip before it can be handed out: it holds the two programs, Qt's DLLs and
# plugins laid out as Qt looks for them, the MinGW runtime, the README and the licence texts (the
# program's own, the GPL version 3, among them, word for word as LICENSE);
# unpacked into a fresh Wine prefix (nothing else installed there), recwright-cli.exe reads the
# samples and recwright.exe opens, edits and saves one (scripts/windows-session.sh, which takes
# docs/editor-windows.png).
# Usage: scripts/check-zip.sh FILE.zip
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/utf8-locale.sh
zip=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
fail() { echo "check-zip.sh: $*" >&2; exit 1; }

top=$(basename "$zip" .zip)
listing=$(cmake -E tar tf "$zip")
for file in recwright.exe recwright-cli.exe README.md Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6Charts.dll \
            platforms/qwindows.dll styles/qwindowsvistastyle.dll \
            libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
            licences/recwright-GPL-3.0-or-later.txt licences/qt6-base-LGPL-3.0-only.txt licences/qt6-base-SOURCE.txt licences/qt6-base-copyright \
            licences/qt6-charts-GPL-3.0-only.txt licences/qt6-charts-SOURCE.txt licences/qt6-charts-copyright \
            licences/libxlsxwriter-copyright licences/libzip-copyright licences/expat-copyright licences/zlib-copyright; do
  grep -qx -- "$top/$file" <<<"$listing" || fail "$file is missing"
done

unpacked=$(mktemp -d)
trap 'env WINEPREFIX="$unpacked/wine" /usr/lib/wine/wineserver -k 2>/dev/null || true; rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$zip")
cmp -s "$unpacked/$top/licences/recwright-GPL-3.0-or-later.txt" LICENSE || fail "the program's licence is not LICENSE"
size=$(du -sm "$unpacked/$top" | cut -f1)
scripts/lib/wine-prefix.sh "$unpacked/wine"
cli() { env -u DISPLAY WINEPREFIX="$unpacked/wine" WINEDEBUG=-all /usr/lib/wine/wine64 "$unpacked/$top/recwright-cli.exe" "$@"; }
cli --version | grep -q . || fail "recwright-cli.exe does not start"
cli info samples/stditem.dat samples/magic.dat samples/monster.dat >/dev/null || fail "recwright-cli.exe cannot read the samples"
cli export samples/stditem.dat -o "$unpacked/items.xlsx" || fail "recwright-cli.exe cannot write a worksheet"
scripts/windows-session.sh "$unpacked/$top"
echo "check-zip.sh: $(basename "$zip"): $size MB unpacked; both programs run from it in a fresh Wine prefix"
