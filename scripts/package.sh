#!/usr/bin/env bash
# Makes the packages in build/packages: the .deb of the editor and recwright-cli (from the
# default build) and the .zip of recwright.exe with its Qt, recwright-cli.exe, the README and the
# licences (from the windows build), building each first where needed, then checks both
# (scripts/check-deb.sh; scripts/check-zip.sh, which runs the editor from the .zip under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/utf8-locale.sh
. scripts/lib/packages.sh
# CPack's .deb generator runs file(1) on what it packs.
ensure_packages file
out=build/packages
rm -rf "$out"
mkdir -p "$out"
scripts/setup.sh default
cpack --config build/default/CPackConfig.cmake -B "$out" >/dev/null
scripts/setup.sh windows
cpack --config build/windows/CPackConfig.cmake -B "$out" >/dev/null
rm -rf "$out/_CPack_Packages"
ls -l "$out"
scripts/check-deb.sh "$out"/recwright_*.deb
scripts/check-zip.sh "$out"/recwright-*-windows-x64.zip
