#!/usr/bin/env bash
# Makes the packages in build/packages: the .deb of the editor and recwright-cli (from the
# default build) and the .zip of recwright-cli.exe and the README (from the windows build),
# building each first where needed, then checks the .deb (scripts/check-deb.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
out=build/packages
mkdir -p "$out"
scripts/setup.sh default
cpack --config build/default/CPackConfig.cmake -B "$out" >/dev/null
scripts/setup.sh windows
cpack --config build/windows/CPackConfig.cmake -B "$out" >/dev/null
rm -rf "$out/_CPack_Packages"
ls -l "$out"
scripts/check-deb.sh "$out"/recwright_*.deb
# The .zip: the program and its README, nothing else.
listing=$(cmake -E tar tf "$out"/recwright-cli-*-windows-x64.zip | sort)
zipdir=$(basename "$out"/recwright-cli-*-windows-x64.zip .zip)
expected=$(printf '%s\n' "$zipdir/README.md" "$zipdir/recwright-cli.exe")
if [ "$listing" != "$expected" ]; then
  echo "package.sh: the .zip holds"; echo "$listing"; echo "instead of"; echo "$expected"
  exit 1
fi
echo "package.sh: the .zip holds recwright-cli.exe and README.md"
