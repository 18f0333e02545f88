#!/usr/bin/env bash
# Sets everything up and runs the whole test suite.
# Usage: scripts/test.sh [preset]   (default: default; asan for the sanitizer build; windows
# for recwright-cli.exe and the data, text and CLI tests built for Windows and run under Wine)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/lib/utf8-locale.sh
preset=${1:-default}
scripts/setup.sh "$preset"
if [ "$preset" = windows ]; then
  # The Linux recwright-cli, which the Windows one must match byte for byte.
  [ -f build/default/CMakeCache.txt ] || cmake --preset default >/dev/null
  cmake --build --preset default --target recwright-cli
fi
ctest --preset "$preset" -j2
